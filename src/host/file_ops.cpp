#include "host/file_ops.h"

#include <windows.h>

#include <string>
#include <vector>

#include "host/ansi_path.h"
#include "host/handles.h"

namespace xpboot {

bool RenamePath(const char* source, const char* target) {
  return ::MoveFileA(source, target) != FALSE;
}

bool DeleteOneFile(const char* path) { return ::DeleteFileA(path) != FALSE; }

bool PathExists(const char* path) {
  WIN32_FIND_DATAA data;
  UniqueFindHandle find(::FindFirstFileA(path, &data));
  return find.valid();
}

namespace {

bool IsDirectoryLink(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

struct Entry {
  std::string path;
  DWORD attributes;
};

// The whole listing is taken before anything is deleted, so that deleting does not
// disturb the enumeration. A directory that cannot be listed counts as empty.
std::vector<Entry> ListDirectory(const std::string& dir) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAA data;
  UniqueFindHandle find(::FindFirstFileA((dir + "\\*.*").c_str(), &data));
  if (!find) return entries;
  do {
    // Every name that begins with a dot stays: ".", ".." and hidden Unix-style names alike.
    if (data.cFileName[0] == '.') continue;
    entries.push_back({dir + "\\" + data.cFileName, data.dwFileAttributes});
  } while (::FindNextFileA(find.get(), &data));
  return entries;
}

void EmptyDirectory(const std::string& dir) {
  for (const Entry& entry : ListDirectory(dir)) {
    if (IsDirectoryLink(entry.attributes)) {
      ::RemoveDirectoryA(entry.path.c_str());  // the link goes, its target stays
    } else if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      EmptyDirectory(entry.path);
      ::RemoveDirectoryA(entry.path.c_str());
    } else {
      ::DeleteFileA(entry.path.c_str());
    }
  }
}

}  // namespace

bool DeleteDirectoryTree(const char* path) {
  if (path == nullptr) return false;
  while (*path == ' ') ++path;
  std::string dir(path);
  if (dir.empty() || NamesVolumeRoot(dir)) return false;

  DWORD attributes = ::GetFileAttributesA(dir.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && IsDirectoryLink(attributes)) {
    return ::RemoveDirectoryA(dir.c_str()) != FALSE;
  }
  EmptyDirectory(dir);
  return ::RemoveDirectoryA(dir.c_str()) != FALSE;
}

}  // namespace xpboot
