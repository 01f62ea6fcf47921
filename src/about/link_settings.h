// Settings of a hyperlink control.
#pragma once

#include <windows.h>

namespace xpboot {

enum class LinkTarget { EmailAddress = 0, WebAddress = 1 };

// Stands for the system's button-face colour (COLOR_BTNFACE), looked up at every paint.
inline constexpr COLORREF kLinkButtonFace = 0xFF000000;

struct LinkSettings {
  LinkTarget targetKind = LinkTarget::EmailAddress;
  COLORREF normalColor = 0x00FF0000;   // blue
  COLORREF visitedColor = 0x00000080;  // dark red
  COLORREF hoverColor = 0;             // the system highlight colour when not given
  bool hoverIsSystemHighlight = true;
  COLORREF backgroundColor = kLinkButtonFace;
  const char* emailAddress = "";  // without "mailto:"
  const char* webAddress = "";    // used exactly as stored
};

}  // namespace xpboot
