#include "mkboot1/pack_folder.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "host/handles.h"
// zip.h first: iowin32.h relies on the declarations it brings in.
#include "zip.h"
#include "iowin32.h"

namespace xpboot {
namespace {

struct Entry {
  std::wstring path;      // on disk
  std::string name;       // in the archive: ANSI code page, '/' between levels
  bool folder = false;
  DWORD attributes = 0;
  FILETIME created{}, accessed{}, written{};
};

// The name in the ANSI code page, or nothing when the code page cannot spell it.
bool ToAnsi(const std::wstring& wide, std::string& ansi) {
  if (wide.empty()) return false;
  BOOL usedDefault = FALSE;
  int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(wide.size()),
                                nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  ansi.assign(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(wide.size()),
                        ansi.data(), n, nullptr, &usedDefault);
  return !usedDefault;
}

bool SameTextIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring FullPath(const std::wstring& path) {
  DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  full.resize(n);
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  return full;
}

// The longest entry name the program's reader takes (its name buffer holds 260 bytes).
constexpr std::size_t kLongestName = 259;

// Lists a folder's content depth first, each folder ahead of what it holds, names sorted.
void Collect(const std::wstring& dir, const std::string& prefix, std::vector<Entry>& entries,
             PackReport& report) {
  std::vector<WIN32_FIND_DATAW> found;
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(::FindFirstFileW((dir + L"\\*").c_str(), &data));
  if (!find) return;
  do {
    std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") found.push_back(data);
  } while (::FindNextFileW(find.get(), &data));
  std::sort(found.begin(), found.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
    return ::CompareStringOrdinal(a.cFileName, -1, b.cFileName, -1, TRUE) == CSTR_LESS_THAN;
  });

  for (const WIN32_FIND_DATAW& item : found) {
    Entry entry;
    entry.path = dir + L"\\" + item.cFileName;
    entry.folder = (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.attributes = item.dwFileAttributes;
    entry.created = item.ftCreationTime;
    entry.accessed = item.ftLastAccessTime;
    entry.written = item.ftLastWriteTime;
    std::string ansi;
    if (!ToAnsi(item.cFileName, ansi)) {
      report.warnings.push_back(L"名称无法用ANSI代码页表示，已跳过 (name outside the ANSI code page, left out): " +
                                entry.path);
      continue;
    }
    entry.name = prefix + ansi + (entry.folder ? "/" : "");
    if (entry.name.size() > kLongestName) {
      report.warnings.push_back(L"名称太长，已跳过 (name longer than 259 bytes, left out): " + entry.path);
      continue;
    }
    if (entry.folder && (item.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      report.warnings.push_back(L"文件夹链接，已跳过 (folder link, left out): " + entry.path);
      continue;
    }
    entries.push_back(entry);
    if (entry.folder) Collect(entry.path, entry.name, entries, report);
  }
}

std::uint32_t UnixSeconds(const FILETIME& time) {
  ULARGE_INTEGER t;
  t.LowPart = time.dwLowDateTime;
  t.HighPart = time.dwHighDateTime;
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ULL;  // 1970-01-01 in 100 ns ticks
  if (t.QuadPart < kUnixEpoch) return 0;
  std::uint64_t seconds = (t.QuadPart - kUnixEpoch) / 10000000ULL;
  return seconds > 0xFFFFFFFFULL ? 0xFFFFFFFFU : static_cast<std::uint32_t>(seconds);
}

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The "UT" extended time block: exact modification, access and creation times in seconds.
// The central directory carries the modification time alone, as is usual.
std::string TimeBlock(const Entry& entry, bool local) {
  std::string block = "UT";
  PutLittleEndian(block, local ? 13 : 5, 2);
  block.push_back(7);  // all three times present in the local block
  PutLittleEndian(block, UnixSeconds(entry.written), 4);
  if (local) {
    PutLittleEndian(block, UnixSeconds(entry.accessed), 4);
    PutLittleEndian(block, UnixSeconds(entry.created), 4);
  }
  return block;
}

zip_fileinfo FileInfoOf(const Entry& entry) {
  zip_fileinfo info{};
  FILETIME local;
  SYSTEMTIME t;
  ::FileTimeToLocalFileTime(&entry.written, &local);
  ::FileTimeToSystemTime(&local, &t);
  info.tmz_date.tm_sec = t.wSecond;
  info.tmz_date.tm_min = t.wMinute;
  info.tmz_date.tm_hour = t.wHour;
  info.tmz_date.tm_mday = t.wDay;
  info.tmz_date.tm_mon = t.wMonth - 1u;
  info.tmz_date.tm_year = t.wYear;
  info.external_fa = entry.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                         FILE_ATTRIBUTE_ARCHIVE);
  return info;
}

// Opens a file to read it without touching its last-access time where the system allows.
UniqueFileHandle OpenForReading(const std::wstring& path) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, kShare,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file) {
    FILETIME keep = {0xFFFFFFFF, 0xFFFFFFFF};  // "do not update" for this handle
    ::SetFileTime(file.get(), nullptr, &keep, nullptr);
    return file;
  }
  return UniqueFileHandle(::CreateFileW(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool AddEntry(zipFile zip, const Entry& entry, std::wstring& error) {
  zip_fileinfo info = FileInfoOf(entry);
  std::string local = TimeBlock(entry, true);
  std::string central = TimeBlock(entry, false);
  UniqueFileHandle file;
  if (!entry.folder) {
    file = OpenForReading(entry.path);
    if (!file) {
      error = L"无法读取 (cannot read): " + entry.path;
      return false;
    }
  }
  // Version made by 0: DOS/Windows, so the attributes are DOS attributes.
  if (zipOpenNewFileInZip4(zip, entry.name.c_str(), &info, local.data(), static_cast<uInt>(local.size()),
                           central.data(), static_cast<uInt>(central.size()), nullptr,
                           entry.folder ? 0 : Z_DEFLATED, entry.folder ? 0 : Z_BEST_COMPRESSION, 0,
                           -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, 0) != ZIP_OK) {
    error = L"无法写入压缩包 (cannot write the archive)";
    return false;
  }
  bool ok = true;
  if (!entry.folder) {
    static char buffer[1 << 16];
    DWORD got = 0;
    while ((ok = ::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0) {
      if (zipWriteInFileInZip(zip, buffer, got) != ZIP_OK) {
        ok = false;
        break;
      }
    }
    if (!ok) error = L"读取或写入时出错 (read or write error): " + entry.path;
  }
  return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

}  // namespace

PackReport PackFolder(const std::wstring& folderGiven, const std::wstring& outputGiven) {
  PackReport report;
  std::wstring folder = FullPath(folderGiven);
  std::wstring output = FullPath(outputGiven);
  DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    report.error = L"找不到文件夹 (no such folder): " + folder;
    return report;
  }
  std::wstring missing;
  for (const wchar_t* name : kRequiredBootFiles) {
    DWORD a = ::GetFileAttributesW((folder + L"\\" + name).c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) {
      missing += (missing.empty() ? L"" : L", ") + std::wstring(name);
    }
  }
  if (!missing.empty()) {
    report.error = L"文件夹的顶层缺少引导文件 (missing at the top of the folder): " + missing;
    return report;
  }
  std::wstring inside = folder + L"\\";
  if (output.size() > inside.size() && SameTextIgnoringCase(output.substr(0, inside.size()), inside)) {
    report.error = L"输出文件不能放在要打包的文件夹里 (the archive may not go inside the folder): " + output;
    return report;
  }
  DWORD outputAttributes = ::GetFileAttributesW(output.c_str());
  if (outputAttributes != INVALID_FILE_ATTRIBUTES && (outputAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    report.error = L"输出路径是一个文件夹 (the output is a folder): " + output;
    return report;
  }

  std::vector<Entry> entries;
  Collect(folder, "", entries, report);

  // Written under a temporary name beside the output: a failure never leaves half an archive.
  std::wstring temporary = output + L".partial";
  zlib_filefunc64_def files;
  fill_win32_filefunc64W(&files);
  zipFile zip = zipOpen2_64(temporary.c_str(), APPEND_STATUS_CREATE, nullptr, &files);
  if (zip == nullptr) {
    report.error = L"无法创建 (cannot create): " + temporary;
    return report;
  }
  bool ok = true;
  for (const Entry& entry : entries) {
    if (!(ok = AddEntry(zip, entry, report.error))) break;
    (entry.folder ? report.folders : report.files)++;
  }
  ok = zipClose(zip, nullptr) == ZIP_OK && ok;
  if (ok && !::MoveFileExW(temporary.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    report.error = L"无法写入 (cannot write): " + output;
    ok = false;
  }
  if (!ok) {
    ::DeleteFileW(temporary.c_str());
    if (report.error.empty()) report.error = L"无法写入压缩包 (cannot write the archive)";
    return report;
  }
  report.ok = true;
  return report;
}

}  // namespace xpboot
