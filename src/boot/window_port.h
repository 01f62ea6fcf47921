// The only ways in which the boot procedures change the window: the status line, the two
// timers and message boxes. Tests give the procedures a recording implementation instead.
#pragma once

#include <windows.h>

#include "boot/boot_file_set.h"

namespace xpboot {

enum class Timer { 时钟1, 时钟2 };

class WindowPort {
 public:
  virtual ~WindowPort() = default;
  virtual void StatusLine(const char* text, COLORREF color, int left) = 0;
  virtual void SetTimerPeriod(Timer timer, int milliseconds) = 0;
  virtual int ShowMessageBox(const char* message, UINT style, const char* caption) = 0;

  void ApplyStatus(const StatusState& state) { StatusLine(state.text, state.color, state.left); }
  int ShowBox(const MessageBoxText& box, UINT style = 0) {
    return ShowMessageBox(box.message, style, box.caption);
  }
};

}  // namespace xpboot
