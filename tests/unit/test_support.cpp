#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace xpboot::test {

namespace {
constexpr const char* kScratchRoot = "C:\\xpboot-tests";
}

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  ::CreateDirectoryA(kScratchRoot, nullptr);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name()
                                     : std::string("scratch");
  std::replace(name.begin(), name.end(), '/', '_');
  path_ = std::string(kScratchRoot) + "\\" + name + "-" + std::to_string(::GetCurrentProcessId()) +
          "-" + std::to_string(counter++);
  ForceRemoveTree(path_);
  if (!::CreateDirectoryA(path_.c_str(), nullptr)) {
    ADD_FAILURE() << "cannot create scratch folder " << path_;
  }
}

ScratchDir::~ScratchDir() { ForceRemoveTree(path_); }

void ForceRemoveTree(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    for (const std::string& name : ListNames(path)) ForceRemoveTree(path + "\\" + name);
    ::RemoveDirectoryA(path.c_str());
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    ::RemoveDirectoryA(path.c_str());
  } else {
    ::DeleteFileA(path.c_str());
  }
}

void WriteTextFile(const std::string& path, const std::string& content, DWORD attributes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path;
  DWORD written = 0;
  ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(file);
  if (attributes != 0) ::SetFileAttributesA(path.c_str(), attributes);
}

std::string ReadTextFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  ::CloseHandle(file);
  return content;
}

void MakeDirectory(const std::string& path) {
  ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr)) << "cannot create " << path;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
  DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

std::vector<std::string> ListNames(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

void PumpMessagesFor(DWORD milliseconds) {
  DWORD start = ::GetTickCount();
  for (;;) {
    DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= milliseconds) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

std::string TestProgramFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full = path;
  return full.substr(0, full.find_last_of('\\'));
}

}  // namespace xpboot::test
