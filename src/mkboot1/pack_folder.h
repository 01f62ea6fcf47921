// Packing a folder of boot files into a "Boot.1" that the installation accepts.
#pragma once

#include <string>
#include <vector>

namespace xpboot {

// The files that must stand at the top of the folder (letter case does not matter).
inline constexpr const wchar_t* kRequiredBootFiles[] = {L"bootmgr", L"ntldr", L"NTDETECT.COM",
                                                        L"BOOT.INI"};

struct PackReport {
  bool ok = false;
  std::wstring error;                  // why nothing was written, when !ok
  std::vector<std::wstring> warnings;  // names left out, one line each
  int files = 0;
  int folders = 0;
};

// Writes every file and folder below `folder` into the archive `output`: deflated entries named
// relative to the folder with forward slashes, each folder's entry ahead of what it holds, the
// files' times kept. Names that the ANSI code page cannot spell are left out with a warning.
// The archive is written under a temporary name and put in place only when it is complete;
// the folder is only read.
PackReport PackFolder(const std::wstring& folder, const std::wstring& output);

}  // namespace xpboot
