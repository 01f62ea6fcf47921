#include "standin_layout.h"

#include <windows.h>

#include "boot/boot_file_set.h"

namespace xpboot::sandbox {
namespace {

constexpr const char* kMark =
    "xpboot stand-in file: made by the project's sandbox, not a real Windows boot file.\r\n";

struct StandInFile {
  const char* path;  // below the root
  DWORD attributes;
};

constexpr const char* kFolders[] = {
    "\\Boot", "\\Boot\\zh-CN", "\\Boot\\en-US", "\\Boot\\Fonts", "\\Boot\\Resources",
    "\\Boot\\Resources\\zh-CN",  // stays empty: the copy must bring empty folders too
};

constexpr StandInFile kFiles[] = {
    {"\\bootmgr", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY},
    {"\\Boot\\BCD", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    {"\\Boot\\BCD.LOG", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    {"\\Boot\\bootstat.dat", FILE_ATTRIBUTE_SYSTEM},
    {"\\Boot\\memtest.exe", FILE_ATTRIBUTE_NORMAL},
    {"\\Boot\\STAND-IN.txt", FILE_ATTRIBUTE_NORMAL},
    {"\\Boot\\zh-CN\\bootmgr.exe.mui", FILE_ATTRIBUTE_NORMAL},
    {"\\Boot\\en-US\\bootmgr.exe.mui", FILE_ATTRIBUTE_NORMAL},
    {"\\Boot\\Fonts\\chs_boot.ttf", FILE_ATTRIBUTE_HIDDEN},
    {"\\Boot\\Resources\\bootres.dll", FILE_ATTRIBUTE_READONLY},
};

bool WriteStandIn(const std::string& path, DWORD attributes) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // The name goes into the content too, so that a file copied to the wrong place shows.
  std::string content = std::string(kMark) + "name: " + path + "\r\n";
  DWORD written = 0;
  bool ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
            written == content.size();
  ::CloseHandle(file);
  return ok && ::SetFileAttributesA(path.c_str(), attributes);
}

}  // namespace

bool CreateStandInBootLayout(const std::string& root) {
  bool ok = true;
  for (const char* folder : kFolders) {
    std::string path = root + folder;
    if (!::CreateDirectoryA(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
      ok = false;
    }
  }
  for (const StandInFile& file : kFiles) ok = WriteStandIn(root + file.path, file.attributes) && ok;
  return ok;
}

namespace {

// Works in UTF-16 so that names the ANSI code page cannot spell go as well.
void RemoveTreeW(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::DeleteFileW(path.c_str());
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") RemoveTreeW(path + L"\\" + name);
      } while (::FindNextFileW(find, &data));
      ::FindClose(find);
    }
  }
  ::RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path) {
  int n = ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), static_cast<int>(path.size()), wide.data(), n);
  RemoveTreeW(wide);
}

void RemoveBootFiles() {
  for (const char* path : {paths::kBootFolder, paths::kBootFolderBackup, paths::kBootManager,
                           paths::kBootManagerBackup}) {
    RemoveTree(path);
  }
  for (const char* path : paths::kLoaderFiles) RemoveTree(path);
}

}  // namespace xpboot::sandbox
