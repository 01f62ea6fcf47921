#include "host/zip_reader.h"

#include <unzip.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "host/ansi_path.h"
#include "host/extract.h"
#include "host/handles.h"

namespace xpboot {

namespace {

// The archive file as minizip sees it. minizip reads headers one byte per call and jumps
// between the central directory at the end of the file and the local headers at its start,
// so two read-ahead windows serve the small reads; reads of whole data blocks go straight
// to the file.
class ArchiveFile {
 public:
  ArchiveFile(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}

  unsigned long Read(void* buffer, unsigned long size) {
    if (size == 0) return 0;
    for (Window& window : windows_) {
      // Written so that no sum can wrap: minizip may seek anywhere a damaged archive says.
      if (position_ >= window.start && position_ - window.start <= window.length &&
          size <= window.length - (position_ - window.start)) {
        std::memcpy(buffer, window.bytes + (position_ - window.start), size);
        window.lastUse = ++useCounter_;
        position_ += size;
        return size;
      }
    }
    DWORD got = 0;
    if (size >= kDirectReadSize) {
      got = ReadAt(position_, buffer, size);
    } else {
      Window& window = windows_[0].lastUse <= windows_[1].lastUse ? windows_[0] : windows_[1];
      window.start = position_;
      window.length = ReadAt(position_, window.bytes, sizeof window.bytes);
      window.lastUse = ++useCounter_;
      got = std::min<DWORD>(window.length, size);
      std::memcpy(buffer, window.bytes, got);
    }
    position_ += got;
    return got;
  }

  // Like fseek: any position at or after the start of the file is accepted.
  long Seek(std::uint64_t offset, int origin) {
    switch (origin) {
      case ZLIB_FILEFUNC_SEEK_SET: position_ = offset; break;
      case ZLIB_FILEFUNC_SEEK_CUR: position_ += offset; break;  // wraps for negative moves
      case ZLIB_FILEFUNC_SEEK_END: position_ = size_ + offset; break;
      default: return -1;
    }
    return 0;
  }

  std::uint64_t Tell() const { return position_; }
  bool failed() const { return failed_; }

 private:
  static constexpr DWORD kWindowSize = 64 * 1024;
  // minizip fetches entry data in blocks of this size; a window would only add a copy.
  static constexpr unsigned long kDirectReadSize = 16 * 1024;
  static constexpr std::uint64_t kPointerUnknown = ~std::uint64_t{0};

  struct Window {
    std::uint64_t start = 0;
    DWORD length = 0;
    std::uint64_t lastUse = 0;
    char bytes[kWindowSize];
  };

  // Reads what there is of [offset, offset + size); short only at the end of the file.
  // The handle's file pointer is moved only when the read does not go on from the last one:
  // positional reads (OVERLAPPED offsets) cost Wine a server round trip each.
  DWORD ReadAt(std::uint64_t offset, void* buffer, DWORD size) {
    if (offset >= size_) return 0;
    size = static_cast<DWORD>(std::min<std::uint64_t>(size, size_ - offset));
    if (offset != filePointer_) {
      LARGE_INTEGER to{};
      to.QuadPart = static_cast<LONGLONG>(offset);
      if (!::SetFilePointerEx(file_, to, nullptr, FILE_BEGIN)) {
        failed_ = true;
        filePointer_ = kPointerUnknown;
        return 0;
      }
      filePointer_ = offset;
    }
    DWORD total = 0;
    while (total < size) {
      DWORD got = 0;
      if (!::ReadFile(file_, static_cast<char*>(buffer) + total, size - total, &got, nullptr)) {
        failed_ = true;
        filePointer_ = kPointerUnknown;
        return total;
      }
      if (got == 0) break;
      total += got;
    }
    filePointer_ += total;
    return total;
  }

  HANDLE file_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;     // where minizip reads next
  std::uint64_t filePointer_ = 0;  // where the handle's file pointer stands
  bool failed_ = false;
  std::uint64_t useCounter_ = 0;
  Window windows_[2];
};

// minizip's file functions over ArchiveFile. The file is opened and closed by the reader,
// so "open" hands back the ArchiveFile that unzOpen2_64 passes as the file name.
voidpf OpenArchiveFile(voidpf, const void* file, int) { return const_cast<void*>(file); }
uLong ReadArchiveFile(voidpf, voidpf file, void* buffer, uLong size) {
  return static_cast<ArchiveFile*>(file)->Read(buffer, size);
}
uLong WriteArchiveFile(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T TellArchiveFile(voidpf, voidpf file) { return static_cast<ArchiveFile*>(file)->Tell(); }
long SeekArchiveFile(voidpf, voidpf file, ZPOS64_T offset, int origin) {
  return static_cast<ArchiveFile*>(file)->Seek(offset, origin);
}
int CloseArchiveFile(voidpf, voidpf) { return 0; }
int ArchiveFileError(voidpf, voidpf file) { return static_cast<ArchiveFile*>(file)->failed() ? 1 : 0; }

constexpr DWORD kNormalDirectory = FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY;

// Windows attributes from the entry's external attributes. The upper half holds a Unix mode
// when the archive was made on Unix, the lower byte DOS attributes when made on DOS or
// Windows; both are read whatever the archive says its maker was.
DWORD AttributesFromExternal(std::uint32_t external) {
  constexpr std::uint32_t kUnixDirectory = 1u << 30;
  constexpr std::uint32_t kUnixOwnerWrite = 1u << 23;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  if ((external & kUnixDirectory) || (external & FILE_ATTRIBUTE_DIRECTORY)) attributes = kNormalDirectory;
  if (external & FILE_ATTRIBUTE_ARCHIVE) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if (external & FILE_ATTRIBUTE_HIDDEN) attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (!(external & kUnixOwnerWrite) || (external & FILE_ATTRIBUTE_READONLY)) {
    attributes |= FILE_ATTRIBUTE_READONLY;
  }
  if (external & FILE_ATTRIBUTE_SYSTEM) attributes |= FILE_ATTRIBUTE_SYSTEM;
  return attributes;
}

std::uint32_t ReadLittleEndian32(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// Seconds since 1970-01-01 00:00 UTC, as the extended time stamp records them (signed).
FILETIME FileTimeFromUnixSeconds(std::int32_t seconds) {
  constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
  constexpr std::int64_t kIntervalsPerSecond = 10000000;
  auto intervals = static_cast<std::uint64_t>((seconds + kSecondsFrom1601To1970) * kIntervalsPerSecond);
  return FILETIME{static_cast<DWORD>(intervals), static_cast<DWORD>(intervals >> 32)};
}

// The extended time stamp ("UT") of the local extra field replaces the DOS-derived times it
// carries. Only the first such block counts. A time is taken only when its four bytes lie
// inside both the block and the field: a block cut short must not lend bytes of the next one.
void ApplyExtendedTimestamp(const unsigned char* field, std::size_t length, EntryInfo& info) {
  if (length <= 4) return;
  for (std::size_t block = 0; block + 4 < length;) {
    std::size_t dataSize = field[block + 2] | field[block + 3] << 8;
    if (field[block] == 'U' && field[block + 1] == 'T') {
      std::size_t end = std::min(length, block + 4 + dataSize);
      if (block + 5 > end) return;
      unsigned flags = field[block + 4];
      FILETIME* times[] = {&info.modificationTime, &info.accessTime, &info.creationTime};
      std::size_t at = block + 5;
      for (unsigned bit = 0; bit < 3; ++bit) {
        if (!(flags & (1u << bit))) continue;
        if (at + 4 > end) return;
        *times[bit] = FileTimeFromUnixSeconds(static_cast<std::int32_t>(ReadLittleEndian32(field + at)));
        at += 4;
      }
      return;
    }
    block += dataSize + 4;
  }
}

bool IsZero(const FILETIME& time) { return time.dwLowDateTime == 0 && time.dwHighDateTime == 0; }

constexpr std::uint32_t kEncryptedFlag = 1;
constexpr uLong kStored = 0;
constexpr uLong kDeflated = Z_DEFLATED;

}  // namespace

struct ZipReader {
  ZipReader(HANDLE archive, std::uint64_t size) : file(archive), data(archive, size) {}

  UniqueFileHandle file;
  ArchiveFile data;
  unzFile zip = nullptr;
  int entryCount = 0;
  // minizip's current entry; kPositionUnknown after a failed step, so the next one restarts.
  static constexpr int kPositionUnknown = INT_MAX;
  int currentEntry = 0;
  int openEntry = -1;  // the entry open for reading through minizip, -1 for none
  int cachedIndex = -1;
  EntryInfo cached{};
  std::uint32_t cachedFlags = 0;
  std::uint64_t cachedUncompressedSize = 0;
  std::string baseDirectory;  // current directory at OpenReader, ending in a backslash
  unsigned char extraField[65535];
  char transfer[16384];  // entry data on their way from minizip to WriteFile

  void CloseOpenEntry() {
    if (openEntry == -1) return;
    unzCloseCurrentFile(zip);
    openEntry = -1;
  }

  // Steps forward from minizip's current entry, restarting at the first one to go back.
  bool MoveTo(int index) {
    if (index < currentEntry) {
      currentEntry = 0;
      if (unzGoToFirstFile(zip) != UNZ_OK) {
        currentEntry = kPositionUnknown;
        return false;
      }
    }
    while (currentEntry < index) {
      if (unzGoToNextFile(zip) != UNZ_OK) {
        currentEntry = kPositionUnknown;
        return false;
      }
      ++currentEntry;
    }
    return true;
  }
};

ZipReader* OpenReader(const char* archivePath) {
  if (archivePath == nullptr) return nullptr;
  // A current directory that does not fit MAX_PATH leaves no base: no levels are made then.
  char current[MAX_PATH] = {};
  DWORD length = ::GetCurrentDirectoryA(sizeof current, current);
  std::string base;
  if (length > 0 && length < sizeof current) {
    base.assign(current, length);
    EnsureTrailingSeparator(base);
  }

  UniqueFileHandle file(::CreateFileA(archivePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return nullptr;

  std::unique_ptr<ZipReader> reader(new (std::nothrow) ZipReader(file.get(), static_cast<std::uint64_t>(size.QuadPart)));
  if (!reader) return nullptr;
  file.release();  // the reader owns it now
  reader->baseDirectory = std::move(base);
  zlib_filefunc64_def functions{OpenArchiveFile, ReadArchiveFile, WriteArchiveFile, TellArchiveFile,
                                SeekArchiveFile, CloseArchiveFile, ArchiveFileError, nullptr};
  reader->zip = unzOpen2_64(&reader->data, &functions);
  if (reader->zip == nullptr) return nullptr;
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(reader->zip, &global) != UNZ_OK) {
    unzClose(reader->zip);
    return nullptr;
  }
  reader->entryCount = static_cast<int>(std::min<ZPOS64_T>(global.number_entry, INT_MAX));
  return reader.release();
}

void CloseReader(ZipReader* reader) {
  if (reader == nullptr) return;
  reader->CloseOpenEntry();
  unzClose(reader->zip);
  delete reader;  // closes the archive file
}

std::uint32_t GetEntryInfo(ZipReader* reader, int index, EntryInfo* out) {
  if (reader == nullptr || out == nullptr || index < -1 || index >= reader->entryCount) return kZipBadArgument;
  reader->CloseOpenEntry();
  if (index == -1) {
    *out = EntryInfo{};
    out->index = reader->entryCount;
    return 0;
  }
  if (index == reader->cachedIndex) {
    *out = reader->cached;
    return 0;
  }
  if (!reader->MoveTo(index)) return kZipDamagedEntry;

  EntryInfo info{};
  unz_file_info64 record{};
  if (unzGetCurrentFileInfo64(reader->zip, &record, info.name, sizeof info.name, nullptr, 0, nullptr, 0) !=
      UNZ_OK) {
    return kZipDamagedEntry;
  }
  // A longer name does not fit the entry's information: minizip would hand back a cut one.
  if (record.size_filename >= sizeof info.name) return kZipDamagedEntry;
  // minizip would pass bzip2 entries through undecompressed; only stored and deflate are read.
  if (record.compression_method != kStored && record.compression_method != kDeflated) return kZipDamagedEntry;
  // Opening the entry raw checks its local header against the central record and locates
  // the local extra field, without starting a decompressor.
  if (unzOpenCurrentFile2(reader->zip, nullptr, nullptr, 1) != UNZ_OK) return kZipDamagedEntry;
  reader->openEntry = index;
  int extraLength = unzGetLocalExtrafield(reader->zip, nullptr, 0);
  if (extraLength < 0) return kZipBadExtraField;
  if (extraLength > 0 &&
      unzGetLocalExtrafield(reader->zip, reader->extraField, static_cast<unsigned>(extraLength)) != extraLength) {
    return kZipBadExtraField;
  }

  info.index = index;
  info.attributes = AttributesFromExternal(static_cast<std::uint32_t>(record.external_fa));
  // The DOS date and time are taken as they are, with no shift from local time to UTC.
  // A date the system rejects leaves the times zero: the file then keeps the time it is written.
  FILETIME dosTime{};
  if (::DosDateTimeToFileTime(HIWORD(record.dosDate), LOWORD(record.dosDate), &dosTime)) {
    info.accessTime = info.creationTime = info.modificationTime = dosTime;
  }
  ApplyExtendedTimestamp(reader->extraField, static_cast<std::size_t>(extraLength), info);
  info.compressedSize = static_cast<std::uint32_t>(record.compressed_size);
  info.uncompressedSize = static_cast<std::uint32_t>(record.uncompressed_size);

  reader->cached = info;
  reader->cachedIndex = index;
  reader->cachedFlags = static_cast<std::uint32_t>(record.flag);
  reader->cachedUncompressedSize = record.uncompressed_size;
  *out = info;
  return 0;
}

namespace {

// The directory part of a relative output path, its levels made under the base directory.
// Paths that are absolute or climb with ".." are left alone.
void CreateLevelsUnderBase(const std::string& base, std::string_view outputPath) {
  if (base.empty()) return;
  std::size_t lastSeparator = std::string_view::npos;
  for (std::size_t i = 0; i < outputPath.size(); i += CharLengthAt(outputPath, i)) {
    if (outputPath[i] == '/' || outputPath[i] == '\\') lastSeparator = i;
  }
  if (lastSeparator == std::string_view::npos) return;
  std::string_view directory = outputPath.substr(0, lastSeparator);
  if (directory.empty() || directory[0] == '/' || directory[0] == '\\') return;
  if (directory.size() > 1 && directory[1] == ':') return;
  if (directory.find("../") != std::string_view::npos || directory.find("..\\") != std::string_view::npos) return;
  for (std::size_t i = 0; i < directory.size(); i += CharLengthAt(directory, i)) {
    if (directory[i] == '/' || directory[i] == '\\') {
      ::CreateDirectoryA((base + std::string(directory.substr(0, i))).c_str(), nullptr);
    }
  }
  ::CreateDirectoryA((base + std::string(directory)).c_str(), nullptr);
}

}  // namespace

std::uint32_t ExtractEntry(ZipReader* reader, int index, const char* outputPath) {
  if (reader == nullptr) return kZipBadArgument;
  reader->CloseOpenEntry();
  if (index < 0 || index >= reader->entryCount || outputPath == nullptr) return kZipBadArgument;
  if (index != reader->cachedIndex) {
    EntryInfo info;
    if (std::uint32_t code = GetEntryInfo(reader, index, &info)) return code;
    reader->CloseOpenEntry();
  } else if (!reader->MoveTo(index)) {
    return kZipDamagedEntry;
  }
  const EntryInfo& info = reader->cached;
  // There is no password: the stored bytes of an encrypted entry are not its contents.
  if (reader->cachedFlags & kEncryptedFlag) return kZipDataError;

  CreateLevelsUnderBase(reader->baseDirectory, outputPath);
  if (info.attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (::CreateDirectoryA(outputPath, nullptr)) return 0;
    DWORD existing = ::GetFileAttributesA(outputPath);
    return existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) ? 0 : kZipCannotOpenFile;
  }

  if (unzOpenCurrentFile(reader->zip) != UNZ_OK) return kZipDamagedEntry;
  reader->openEntry = index;
  UniqueFileHandle output(
      ::CreateFileA(outputPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, info.attributes, nullptr));
  if (!output) {
    reader->CloseOpenEntry();
    return kZipCannotOpenFile;
  }

  bool failed = false;
  std::uint64_t written = 0;
  for (;;) {
    int got = unzReadCurrentFile(reader->zip, reader->transfer, sizeof reader->transfer);
    if (got <= 0) {
      failed = got < 0;
      break;
    }
    DWORD done = 0;
    if (!::WriteFile(output.get(), reader->transfer, static_cast<DWORD>(got), &done, nullptr)) {
      failed = true;
      break;
    }
    written += static_cast<std::uint64_t>(got);
  }
  // minizip reports a CRC-32 mismatch when the entry is closed, and only when the data reached
  // their recorded size: data that end early are caught by the count of bytes.
  int closed = unzCloseCurrentFile(reader->zip);
  reader->openEntry = -1;
  if (closed != UNZ_OK || written != reader->cachedUncompressedSize) failed = true;

  if (!failed && ::GetFileType(output.get()) == FILE_TYPE_DISK) {
    auto given = [](const FILETIME& time) { return IsZero(time) ? nullptr : &time; };
    ::SetFileTime(output.get(), given(info.creationTime), given(info.accessTime), given(info.modificationTime));
  }
  return failed ? kZipDataError : 0;
}

}  // namespace xpboot
