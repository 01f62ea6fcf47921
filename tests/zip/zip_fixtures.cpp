#include "zip_fixtures.h"

#include <algorithm>
#include <cstdio>

#include <gtest/gtest.h>

#include "test_support.h"

namespace xpboot::test {

std::string Fixture(const std::string& name) { return TestProgramFolder() + "\\zip_fixtures\\" + name; }

std::string TreeFile(const std::string& relative) {
  std::string path = Fixture("tree\\" + relative);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

FILETIME FileTimeFromUnix(std::int64_t seconds) {
  auto intervals = static_cast<std::uint64_t>((seconds + 11644473600LL) * 10000000LL);
  return FILETIME{static_cast<DWORD>(intervals), static_cast<DWORD>(intervals >> 32)};
}

FILETIME FixtureDosTime() {
  SYSTEMTIME noon{2013, 1, 0, 1, 12, 0, 0, 0};
  FILETIME time{};
  ::SystemTimeToFileTime(&noon, &time);
  return time;
}

FileTimes ReadFileTimes(const std::string& path) {
  FileTimes times;
  HANDLE file = ::CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return times;
  ::GetFileTime(file, &times.creation, &times.access, &times.modification);
  ::CloseHandle(file);
  return times;
}

namespace {
void CollectTree(const std::string& dir, const std::string& prefix, std::vector<std::string>& out) {
  for (const std::string& name : ListNames(dir)) {
    out.push_back(prefix + name);
    if (IsDirectory(dir + "\\" + name)) CollectTree(dir + "\\" + name, prefix + name + "\\", out);
  }
}
}  // namespace

std::vector<std::string> ListTree(const std::string& dir) {
  std::vector<std::string> out;
  CollectTree(dir, "", out);
  std::sort(out.begin(), out.end());
  return out;
}

DWORD KeptAttributes(const std::string& path) {
  DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return attributes;
  return attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                       FILE_ATTRIBUTE_DIRECTORY);
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string& folder) {
  ::GetCurrentDirectoryA(sizeof previous_, previous_);
  if (!::SetCurrentDirectoryA(folder.c_str())) ADD_FAILURE() << "cannot make " << folder << " current";
}

CurrentDirectoryScope::~CurrentDirectoryScope() { ::SetCurrentDirectoryA(previous_); }

std::uint64_t Ticks(const FILETIME& time) {
  return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

std::string Describe(const FILETIME& time) {
  SYSTEMTIME t{};
  if (!::FileTimeToSystemTime(&time, &t)) return "<no time>";
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

}  // namespace xpboot::test
