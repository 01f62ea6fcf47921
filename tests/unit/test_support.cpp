#include "test_support.h"

#include "standin_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>

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

void ForceRemoveTree(const std::string& path) { sandbox::RemoveTree(path); }

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

namespace {

std::string AttributeText(DWORD a) {
  std::string text = (a & FILE_ATTRIBUTE_DIRECTORY) ? "D " : "F ";
  text += (a & FILE_ATTRIBUTE_READONLY) ? 'R' : '-';
  text += (a & FILE_ATTRIBUTE_HIDDEN) ? 'H' : '-';
  text += (a & FILE_ATTRIBUTE_SYSTEM) ? 'S' : '-';
  return text;
}

void AddToSnapshot(const std::string& full, const std::string& key, TreeSnapshot& snapshot) {
  DWORD a = ::GetFileAttributesA(full.c_str());
  if (a & FILE_ATTRIBUTE_DIRECTORY) {
    snapshot[key] = AttributeText(a);
    for (const std::string& name : ListNames(full)) {
      AddToSnapshot(full + "\\" + name, key + "\\" + name, snapshot);
    }
  } else {
    snapshot[key] = AttributeText(a) + " " + ReadTextFile(full);
  }
}

bool IsOutsideTheBootFiles(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name == "windows" || name == "program files" || name == "program files (x86)" ||
         name == "programdata" || name == "users" || name.rfind("xpboot-", 0) == 0;
}

}  // namespace

TreeSnapshot SnapshotTree(const std::string& root) {
  TreeSnapshot snapshot;
  for (const std::string& name : ListNames(root)) AddToSnapshot(root + "\\" + name, name, snapshot);
  return snapshot;
}

TreeSnapshot SnapshotDriveC() {
  TreeSnapshot snapshot;
  for (const std::string& name : ListNames("C:")) {
    if (!IsOutsideTheBootFiles(name)) AddToSnapshot("C:\\" + name, name, snapshot);
  }
  return snapshot;
}

TreeSnapshot Subtree(const TreeSnapshot& snapshot, const std::string& folder) {
  TreeSnapshot inside;
  std::string prefix = folder + "\\";
  for (const auto& [path, value] : snapshot) {
    if (path.rfind(prefix, 0) == 0) inside[path.substr(prefix.size())] = value;
  }
  return inside;
}

TreeSnapshot WithoutReadOnly(TreeSnapshot snapshot) {
  for (auto& [path, value] : snapshot) value[2] = '-';  // "F RHS": the read-only place
  return snapshot;
}

std::string DescribeDifferences(const TreeSnapshot& expected, const TreeSnapshot& actual) {
  std::string text;
  auto brief = [](const std::string& value) { return value.substr(0, 60); };
  for (const auto& [path, value] : expected) {
    auto it = actual.find(path);
    if (it == actual.end()) {
      text += "missing: " + path + " [" + brief(value) + "]\n";
    } else if (it->second != value) {
      text += "changed: " + path + " [" + brief(value) + "] -> [" + brief(it->second) + "]\n";
    }
  }
  for (const auto& [path, value] : actual) {
    if (expected.find(path) == expected.end()) text += "extra: " + path + " [" + brief(value) + "]\n";
  }
  return text;
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

std::string UnixPathOf(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (convert == nullptr) return {};
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* unixPath = convert(wide.c_str());
  if (unixPath == nullptr) return {};
  std::string result = unixPath;
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return result;
}

std::string TestProgramFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full = path;
  return full.substr(0, full.find_last_of('\\'));
}

}  // namespace xpboot::test
