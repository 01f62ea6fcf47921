#include "app/startup.h"

#include <windows.h>

#include "host/ansi_path.h"

namespace xpboot {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string_view full(path, n < sizeof path ? n : 0);
  std::size_t cut = FindLastBackslash(full);  // a GBK trail byte 0x5C is not a separator
  return cut == std::string_view::npos ? std::string() : std::string(full.substr(0, cut));
}

void EnterProgramFolder() {
  std::string folder = ProgramFolder();
  if (!folder.empty()) ::SetCurrentDirectoryA(folder.c_str());
}

std::string FatalErrorText(const char* message) {
  return std::string("运行时出错!\r\n\r\n") + "错误信息：" + message + "\r\n";
}

void ShowFatalError(const char* message) {
  ::MessageBoxA(nullptr, FatalErrorText(message).c_str(), "错误", MB_ICONERROR);
}

}  // namespace xpboot
