#include "host/ansi_path.h"

#include <windows.h>

#include <vector>

namespace xpboot {

std::size_t CharLengthAt(std::string_view text, std::size_t i) {
  if (i + 1 < text.size() && ::IsDBCSLeadByte(static_cast<BYTE>(text[i]))) return 2;
  return 1;
}

std::size_t FindLastBackslash(std::string_view text) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
    if (text[i] == '\\') found = i;
  }
  return found;
}

bool EndsWithBackslash(std::string_view text) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) last = i;
  return last != std::string_view::npos && text[last] == '\\' && last + 1 == text.size();
}

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Splits at single-byte separators, dropping empty pieces.
std::vector<std::string_view> SplitAtSeparators(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
    if (IsSeparator(text[i])) {
      if (i > start) pieces.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

bool IsDriveSpec(std::string_view piece) {
  return piece.size() == 2 && piece[1] == ':' &&
         ((piece[0] >= 'A' && piece[0] <= 'Z') || (piece[0] >= 'a' && piece[0] <= 'z'));
}

bool IsRootOfNormalisedPath(std::string_view full) {
  // "\\?\C:\", "\\.\C:\" and "\\?\UNC\server\share" are roots as well.
  bool device = full.size() >= 4 && IsSeparator(full[0]) && IsSeparator(full[1]) &&
                (full[2] == '?' || full[2] == '.') && IsSeparator(full[3]);
  bool unc = !device && full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1]);
  std::vector<std::string_view> pieces = SplitAtSeparators(full);
  if (device) {
    pieces.erase(pieces.begin());  // the "?" or "."
    if (!pieces.empty() && (pieces[0] == "UNC" || pieces[0] == "unc")) {
      pieces.erase(pieces.begin());
      unc = true;
    }
  }
  if (unc) return pieces.size() <= 2;  // server and share
  return pieces.empty() || (pieces.size() == 1 && IsDriveSpec(pieces[0]));
}

}  // namespace

bool NamesVolumeRoot(const std::string& path) {
  // Judged on the text as given first: to the system "C:" alone means the current
  // directory of drive C:, which its normalised form would hide.
  if (IsRootOfNormalisedPath(path)) return true;

  char full[MAX_PATH * 2];
  DWORD n = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return false;
  return IsRootOfNormalisedPath(std::string_view(full, n));
}

}  // namespace xpboot
