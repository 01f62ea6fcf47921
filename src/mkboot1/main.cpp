// mkboot1 FOLDER [OUTPUT]: packs a folder of boot files into the "Boot.1" that xpboot installs.
#include <windows.h>

#include <string>

#include "mkboot1/pack_folder.h"

namespace {

// To a console as Unicode; redirected, in the ANSI code page as Windows programs do.
void Print(DWORD stream, const std::wstring& text) {
  HANDLE out = ::GetStdHandle(stream);
  DWORD mode = 0;
  std::wstring line = text + L"\r\n";
  DWORD written = 0;
  if (::GetConsoleMode(out, &mode)) {
    ::WriteConsoleW(out, line.c_str(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  int n = ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), n,
                        nullptr, nullptr);
  ::WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

constexpr const wchar_t* kUsage =
    L"用法 (usage): mkboot1 文件夹 [Boot.1的路径]\r\n"
    L"  把文件夹打包为xpboot使用的Boot.1。文件夹的顶层必须有 bootmgr、ntldr、NTDETECT.COM 和 BOOT.INI。\r\n"
    L"  Packs FOLDER into the Boot.1 that xpboot installs (default: Boot.1 in the current folder).\r\n"
    L"  The folder must hold bootmgr, ntldr, NTDETECT.COM and BOOT.INI at its top level.";

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || argc > 3 || std::wstring(argv[1]) == L"/?" || std::wstring(argv[1]) == L"--help") {
    Print(STD_ERROR_HANDLE, kUsage);
    return 2;
  }
  std::wstring output = argc == 3 ? argv[2] : L"Boot.1";
  xpboot::PackReport report = xpboot::PackFolder(argv[1], output);
  for (const std::wstring& warning : report.warnings) Print(STD_ERROR_HANDLE, L"警告 (warning): " + warning);
  if (!report.ok) {
    Print(STD_ERROR_HANDLE, L"错误 (error): " + report.error);
    return 1;
  }
  Print(STD_OUTPUT_HANDLE, L"已写入 (written): " + output + L" — " + std::to_wstring(report.files) +
                               L" 个文件 (files), " + std::to_wstring(report.folders) +
                               L" 个文件夹 (folders)");
  return 0;
}
