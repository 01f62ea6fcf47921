// The archives that scripts/make_zip_fixtures.py writes into the build folder, and helpers
// that look at what an extraction left on disk.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace xpboot::test {

// Times that the fixture script gives its files (seconds since 1970, UTC).
inline constexpr std::int64_t kTreeModified = 1357041600;  // 2013-01-01 12:00:00
inline constexpr std::int64_t kTreeAccessed = 1388577600;  // 2014-01-01 12:00:00

// Path of an archive (or of anything else) in the fixture folder.
std::string Fixture(const std::string& name);
// Path of a file of the tree from which the `zip` archives were made; '/' separates levels.
std::string TreeFile(const std::string& relative);

FILETIME FileTimeFromUnix(std::int64_t seconds);
// The DOS date and time 2013-01-01 12:00:00 as the reader takes them: unshifted, as UTC.
FILETIME FixtureDosTime();

struct FileTimes {
  FILETIME creation{};
  FILETIME access{};
  FILETIME modification{};
};
FileTimes ReadFileTimes(const std::string& path);

// Everything below a folder as relative paths ("a", "a\b", "a\b\f.txt"), sorted.
std::vector<std::string> ListTree(const std::string& dir);

// The attribute bits that survive on this file system (see Wine's notes): read-only,
// hidden, system and directory.
DWORD KeptAttributes(const std::string& path);

// Makes a folder the current directory until the end of the scope.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::string& folder);
  ~CurrentDirectoryScope();
  CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
  CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;

 private:
  char previous_[MAX_PATH] = {};
};

// A file time as one number, to compare and print.
std::uint64_t Ticks(const FILETIME& time);
std::string Describe(const FILETIME& time);

}  // namespace xpboot::test
