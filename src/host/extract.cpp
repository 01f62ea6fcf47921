#include "host/extract.h"

#include <windows.h>

#include <string_view>

#include "host/ansi_path.h"
#include "host/handles.h"

namespace xpboot {

namespace {

bool Exists(const char* path) { return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// A directory entry's output path ends in a backslash, behind which the system finds no file:
// the test looks at the path without it, so that a file in the way is found too.
bool ExistsAsDirectoryEntry(std::string path) {
  if (EndsWithBackslash(path) && path.size() > 1) path.pop_back();
  return Exists(path.c_str());
}

// ".." climbs out of its folder; Windows drops trailing dots and spaces from a name, so
// ".. " and "..." may climb as well. Any level of dots and spaces with two dots is refused.
bool MayClimb(std::string_view level) {
  std::size_t dots = 0;
  for (char c : level) {
    if (c == '.') {
      ++dots;
    } else if (c != ' ') {
      return false;
    }
  }
  return dots >= 2;
}

// Whether the entry name, joined to the target directory, could name a place outside it:
// a level that climbs, a name that starts at a root, or a drive prefix such as "D:".
bool LeavesTarget(std::string_view name) {
  if (name.empty()) return false;
  if (IsSeparator(name[0]) || (name.size() > 1 && name[1] == ':')) return true;
  std::size_t levelStart = 0;
  for (std::size_t i = 0; i < name.size(); i += CharLengthAt(name, i)) {
    if (!IsSeparator(name[i])) continue;
    if (MayClimb(name.substr(levelStart, i - levelStart))) return true;
    levelStart = i + 1;
  }
  return MayClimb(name.substr(levelStart));
}

// The state of one call of ExtractArchive: progress, and whether a handler asked to stop.
class Extraction {
 public:
  explicit Extraction(const ExtractProgressHandler& onProgress) : onProgress_(onProgress) {}

  void SetTotal(int total) { total_ = static_cast<std::uint32_t>(total); }

  void EntryDone(int index) {
    current_ = static_cast<std::uint32_t>(index);
    ReportProgress();
  }

  bool stopRequested() const { return stopRequested_; }

  // The closing report: 100 after entries were counted, 0 before.
  int Finish(int result) {
    current_ = total_;
    ReportProgress();
    return result;
  }

 private:
  // Raises ExtractProgress with the share of entries done.
  void ReportProgress() {
    int percent = total_ == 0 ? 0 : static_cast<int>(static_cast<double>(current_) / total_ * 100.0);
    if (onProgress_ && !onProgress_(percent)) stopRequested_ = true;
  }

  const ExtractProgressHandler& onProgress_;
  std::uint32_t total_ = 0;
  std::uint32_t current_ = 0;
  bool stopRequested_ = false;
};

}  // namespace

void EnsureTrailingSeparator(std::string& text) {
  if (!EndsWithBackslash(text)) text += '\\';
}

bool CreateDirectoryPath(const char* path) {
  std::string levels(path != nullptr ? path : "");
  EnsureTrailingSeparator(levels);
  for (std::size_t i = 0; i < levels.size(); i += CharLengthAt(levels, i)) {
    if (levels[i] != '\\') continue;
    std::string prefix = levels.substr(0, i + 1);
    if (!Exists(prefix.c_str()) && !::CreateDirectoryA(prefix.c_str(), nullptr)) return false;
  }
  return true;
}

bool ProbeArchiveHeader(const char* path) {
  constexpr DWORD kProbeSize = 32;
  constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50;
  UniqueFileHandle file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  unsigned char header[kProbeSize];
  DWORD got = 0;
  if (!::ReadFile(file.get(), header, kProbeSize, &got, nullptr) || got < kProbeSize) return false;
  auto at = [&header](std::size_t offset) {
    return header[offset] | header[offset + 1] << 8 | header[offset + 2] << 16 |
           static_cast<std::uint32_t>(header[offset + 3]) << 24;
  };
  // Offset 24: the upper half of the first entry's size and the length of its name.
  return at(0) == kLocalHeaderSignature && static_cast<std::int32_t>(at(24)) >= 1;
}

int CountEntries(ZipReader* reader) {
  if (reader == nullptr) return -1;
  EntryInfo info;
  int count = 0;
  while (GetEntryInfo(reader, count, &info) == 0) ++count;
  return count;
}

int ExtractArchive(const char* archivePath, const char* targetDirectory, const ExtractProgressHandler& onProgress) {
  if (archivePath == nullptr || *archivePath == '\0' || targetDirectory == nullptr || *targetDirectory == '\0') {
    return -1;
  }
  Extraction extraction(onProgress);
  if (!Exists(archivePath)) return extraction.Finish(-1);
  if (!Exists(targetDirectory) && !CreateDirectoryPath(targetDirectory)) return extraction.Finish(0);
  if (!ProbeArchiveHeader(archivePath)) return extraction.Finish(0);
  UniqueZipReader reader(OpenReader(archivePath));
  if (!reader) return extraction.Finish(0);
  int total = CountEntries(reader.get());
  if (total < 0) return extraction.Finish(0);
  extraction.SetTotal(total);

  std::string target(targetDirectory);
  EnsureTrailingSeparator(target);
  for (int index = 0;; ++index) {
    EntryInfo entry;
    if (GetEntryInfo(reader.get(), index, &entry) != 0) return extraction.Finish(1);
    if (LeavesTarget(entry.name)) return extraction.Finish(0);
    std::string output = target;
    for (const char* c = entry.name; *c != '\0'; ++c) output += *c == '/' ? '\\' : *c;

    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Whatever is already there, folder or file, is accepted as it is.
      if (!ExistsAsDirectoryEntry(output) && !CreateDirectoryPath(output.c_str())) return extraction.Finish(0);
    } else {
      // An existing read-only, hidden or system file could not be replaced otherwise.
      ::SetFileAttributesA(output.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (ExtractEntry(reader.get(), index, output.c_str()) != 0) return extraction.Finish(0);
      ::SetFileAttributesA(output.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    extraction.EntryDone(index);
    if (extraction.stopRequested()) return 1;
  }
}

}  // namespace xpboot
