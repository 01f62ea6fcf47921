// The main window and its twelve controls as fixed data: kind, place, size, flags, text and
// the procedure each event is bound to. The window is built by walking this table.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

#include "about/link_settings.h"

namespace xpboot {

enum class ControlKind { Label, Button, Hyperlink, Timer, ArchiveComponent };

// Procedures that events can be bound to.
enum class Procedure {
  None,
  StartupCheck,
  StartupWarning,
  InstallStageOne,
  InstallStageTwo,
  RestoreBootFiles,
  AboutBox,
};

// Controls in the order of the description.
enum class ControlId {
  标签2, 超级链接框4, 超级链接框3, 超级链接框2, 时钟2, 超级链接框1,
  标签1, 按钮3, 时钟1, ZIP压缩1, 按钮2, 按钮1,
};

struct ControlDescription {
  ControlId id;
  ControlKind kind;
  const char* name;
  int left, top, width, height;  // outer place and size in the main window's client area
  const char* text;
  bool visible;
  bool disabled;
  bool tabStop;
  Procedure binding;  // clicked (buttons) or periodic (timers)
  COLORREF textColor;          // labels
  const LinkSettings* link;    // hyperlinks
};

struct WindowDescription {
  const char* title;
  int storedLeft, storedTop;  // kept as stored; the window is centred instead
  int width, height;          // outer size, frame and title bar included
  bool visible;
  Procedure created;
  std::span<const ControlDescription> controls;

  const ControlDescription* Find(ControlId id) const;
};

// The description of the program's main window.
const WindowDescription& MainWindowDescription();

// Whether a description can be built into a window: a title, a positive size, and every
// control of a known kind with a positive size, a name and a distinct id; hyperlinks with settings.
bool IsUsableDescription(const WindowDescription& description);

// Win32 control identifier (GWLP_ID) of a control.
inline UINT_PTR ControlIdentifier(ControlId id) { return 1000 + static_cast<UINT_PTR>(id); }

}  // namespace xpboot
