#include "about/open_link.h"

#include <windows.h>
#include <shellapi.h>

#include "host/ansi_path.h"
#include "host/handles.h"

namespace xpboot {

std::string LinkTargetText(LinkTarget kind, const char* emailAddress, const char* webAddress) {
  if (kind == LinkTarget::EmailAddress) {
    if (emailAddress == nullptr || *emailAddress == '\0') return {};
    return std::string("mailto:") + emailAddress;
  }
  if (webAddress == nullptr || *webAddress == '\0') return {};
  return webAddress;
}

namespace {

// Position of the first occurrence of needle that starts on a character boundary.
std::size_t FindOnCharBoundary(std::string_view text, std::string_view needle) {
  for (std::size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
    if (text.substr(i, needle.size()) == needle) return i;
  }
  return std::string_view::npos;
}

// The default value of a key under HKEY_CLASSES_ROOT, at most 260 bytes.
bool ReadClassesRootDefault(const std::string& subkey, std::string& value) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) {
    return false;
  }
  UniqueRegKey key(raw);
  char buffer[MAX_PATH] = {};
  LONG size = sizeof buffer;
  if (::RegQueryValueA(key.get(), nullptr, buffer, &size) != ERROR_SUCCESS) return false;
  buffer[sizeof buffer - 1] = '\0';
  value = buffer;
  return true;
}

bool OpenWithWebPageProgram(const std::string& target, int showCommand) {
  std::string fileType;
  std::string command;
  if (!ReadClassesRootDefault(".htm", fileType)) return false;
  if (!ReadClassesRootDefault(fileType + "\\shell\\open\\command", command)) return false;
  std::string line = CutAtPlaceholder(command) + " " + target;
  return ::WinExec(line.c_str(), static_cast<UINT>(showCommand)) > 32;
}

}  // namespace

std::string CutAtPlaceholder(std::string_view commandLine) {
  std::size_t at = FindOnCharBoundary(commandLine, "\"%1\"");
  if (at == std::string_view::npos) at = FindOnCharBoundary(commandLine, "%1");
  return std::string(commandLine.substr(0, at));
}

bool OpenLink(LinkTarget kind, const char* emailAddress, const char* webAddress, int showCommand) {
  std::string target = LinkTargetText(kind, emailAddress, webAddress);
  if (target.empty()) return false;
  auto shell = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, showCommand));
  if (shell > 32) return true;
  return OpenWithWebPageProgram(target, showCommand);
}

}  // namespace xpboot
