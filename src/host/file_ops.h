// The file operations of the boot procedures: thin, synchronous layers over the ANSI
// file functions. They never show an error or retry; a failure shows only in the result.
#pragma once

namespace xpboot {

// MoveFileA: never replaces an existing target.
bool RenamePath(const char* source, const char* target);

// DeleteFileA: a read-only file, a file in use, a directory or a missing file stays and gives false.
bool DeleteOneFile(const char* path);

// Deletes a directory with everything in it. Leading blanks are skipped. Refuses the root of a
// volume in any spelling. Names that begin with '.' and files the system will not delete stay
// behind, and then so does every directory above them. A directory link (reparse point) is
// removed as a link; what it points to is never touched. True when the directory itself went.
bool DeleteDirectoryTree(const char* path);

// FindFirstFileA: true when a file or directory matches; wildcards match, roots never do.
bool PathExists(const char* path);

}  // namespace xpboot
