// Extracting every entry of a ZIP archive into a directory.
#pragma once

#include <functional>
#include <string>

#include "host/zip_reader.h"

namespace xpboot {

// Called after each entry with the percentage done; returning false stops the extraction
// once the entry in progress is complete.
using ExtractProgressHandler = std::function<bool(int percent)>;

// 1: every entry that could be read was extracted (or a progress handler stopped it);
// 0: a failure (target cannot be made, not an archive, an entry cannot be written, an entry
//    whose name would leave the target, ...); entries extracted before it stay;
// -1: no archive path or target given, or nothing exists under the archive path.
int ExtractArchive(const char* archivePath, const char* targetDirectory,
                   const ExtractProgressHandler& onProgress = {});

// Whether the file begins with the local header of an entry whose name is not empty (or whose
// size is at least 64 KiB): true for a ZIP archive as ZIP tools write it, false for anything
// else, an archive behind an executable stub and an empty archive among them.
bool ProbeArchiveHeader(const char* path);

// Appends a backslash unless the text already ends in one (a GBK trail byte 0x5C is no
// backslash). An empty text becomes "\".
void EnsureTrailingSeparator(std::string& text);

// Creates every missing level of the path; only backslashes separate levels. False when a
// level cannot be created; the levels created before it stay.
bool CreateDirectoryPath(const char* path);

// The number of entries whose information can be read from the first one on; -1 for no reader.
int CountEntries(ZipReader* reader);

}  // namespace xpboot
