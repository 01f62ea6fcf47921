// Reading a ZIP archive entry by entry over minizip's unzip side: an entry's information by
// its index, with Windows attributes and file times, and a file entry written to a path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace xpboot {

// Failure codes of GetEntryInfo and ExtractEntry; 0 is success.
// A file cannot be opened or created: the archive, or the output file.
inline constexpr std::uint32_t kZipCannotOpenFile = 0x200;
// Reading, decompressing or writing the entry's data failed, its data do not match its
// recorded CRC-32 or size, or it is encrypted.
inline constexpr std::uint32_t kZipDataError = 0x400;
// The archive is damaged at this entry: it cannot be reached, its records cannot be read or
// disagree, or it uses a compression method other than stored or deflate.
inline constexpr std::uint32_t kZipDamagedEntry = 0x700;
// The entry's local extra field cannot be read.
inline constexpr std::uint32_t kZipBadExtraField = 0x800;
// No reader, or an index out of range.
inline constexpr std::uint32_t kZipBadArgument = 0x10000;

inline constexpr std::size_t kZipNameSize = 260;

struct EntryInfo {
  std::int32_t index;           // from 0, in central-directory order
  char name[kZipNameSize];      // as the archive stores it, no code-page conversion
  std::uint32_t attributes;     // Windows file attributes
  FILETIME accessTime;          // all zero when the archive records no usable time
  FILETIME creationTime;
  FILETIME modificationTime;
  std::uint32_t compressedSize;
  std::uint32_t uncompressedSize;
};

// One open archive; the archive file stays open, shared for reading only, until CloseReader.
struct ZipReader;

// Opens the archive and reads its central directory; null when either fails.
ZipReader* OpenReader(const char* archivePath);

// The information of entry `index`. Index -1 asks for the number of entries alone: it comes
// back in out->index, every other field zero. Asking again for the same index costs nothing.
std::uint32_t GetEntryInfo(ZipReader* reader, int index, EntryInfo* out);

// Writes entry `index` to outputPath, replacing an existing file, and gives it the entry's
// file times. A relative output path gets its missing directories made under the directory
// that was current when the reader was opened. A directory entry makes a directory.
std::uint32_t ExtractEntry(ZipReader* reader, int index, const char* outputPath);

// Closes an entry still open for reading, the archive and its file. Null is accepted.
void CloseReader(ZipReader* reader);

struct ZipReaderCloser {
  void operator()(ZipReader* reader) const noexcept { CloseReader(reader); }
};
using UniqueZipReader = std::unique_ptr<ZipReader, ZipReaderCloser>;

}  // namespace xpboot
