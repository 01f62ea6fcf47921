// A stand-in Windows 8 boot layout on drive C: of a sandbox prefix: C:\bootmgr and C:\Boot
// with a few files and folders, hidden and system ones among them. Every file says inside
// that it is a stand-in; none of it is a real boot file.
#pragma once

#include <string>

namespace xpboot::sandbox {

// Creates the layout under `root` (normally "C:"); false when a part could not be written.
// Existing files of the same names are replaced.
bool CreateStandInBootLayout(const std::string& root = "C:");

// Removes from the root of C: everything the program moves, copies, extracts or restores:
// the boot folder and boot manager, their backups and the loader files.
void RemoveBootFiles();

// Removes a file or a folder with everything in it, whatever the attributes.
void RemoveTree(const std::string& path);

}  // namespace xpboot::sandbox
