// Scanning GBK path texts: a trail byte of a double-byte character may equal '\\' (0x5C),
// so every search for a separator walks the text character by character.
#pragma once

#include <string>
#include <string_view>

namespace xpboot {

// Length in bytes of the character that starts at text[i] (2 for a lead byte with a
// trail byte after it, else 1), judged by the system's ANSI code page.
std::size_t CharLengthAt(std::string_view text, std::size_t i);

// Position of the last backslash that is a character of its own, or npos.
std::size_t FindLastBackslash(std::string_view text);

// Whether the last character of the text is a backslash (a trail byte 0x5C is not).
bool EndsWithBackslash(std::string_view text);

// Whether the path, once made absolute and normalised by the system, names the root of
// a drive or of a network share: "C:", "C:\", "C:/", "C://", "C:\\", "C:\Boot\.." and so on.
bool NamesVolumeRoot(const std::string& path);

}  // namespace xpboot
