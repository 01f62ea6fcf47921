// Opening a link target through the shell, or through the registered web-page program.
#pragma once

#include <string>
#include <string_view>

#include "about/link_settings.h"

namespace xpboot {

// The target a link opens: "mailto:" and the e-mail address, or the web address as stored.
// Empty when the address of the link's kind is empty.
std::string LinkTargetText(LinkTarget kind, const char* emailAddress, const char* webAddress);

// Cuts a web browser's open command before its placeholder: at the first quoted "%1" (the
// opening quote goes too), else at the first bare %1, else not at all. Double-byte aware.
std::string CutAtPlaceholder(std::string_view commandLine);

// Hands the target to the shell; when the shell cannot take it, to the program registered
// for web pages. True when one of them took it.
bool OpenLink(LinkTarget kind, const char* emailAddress, const char* webAddress, int showCommand);

}  // namespace xpboot
