// Extracting every entry of a ZIP archive into a directory.
#pragma once

#include <functional>

namespace xpboot {

// Called after each entry with the percentage done; returning false stops the extraction
// once the entry in progress is complete.
using ExtractProgressHandler = std::function<bool(int percent)>;

// 1: every entry that could be read was extracted (or a progress handler stopped it);
// 0: a failure (target cannot be made, not an archive, an entry cannot be written, ...);
// -1: no archive path or target given, or nothing exists under the archive path.
int ExtractArchive(const char* archivePath, const char* targetDirectory,
                   const ExtractProgressHandler& onProgress = {});

}  // namespace xpboot
