// A WindowPort that notes every call, for running the procedures without a window.
#pragma once

#include <string>
#include <vector>

#include "boot/window_port.h"

namespace xpboot::test {

struct Call {
  enum Kind { Status, Timer, Box } kind;
  std::string text;     // status text, or box message
  std::string caption;  // box caption
  long long value;      // colour, period or style
  int left;             // status left edge; timer: 1 or 2

  bool operator==(const Call&) const = default;
};

inline Call StatusCall(const StatusState& s) { return {Call::Status, s.text, "", s.color, s.left}; }
inline Call TimerCall(xpboot::Timer t, int ms) {
  return {Call::Timer, "", "", ms, t == xpboot::Timer::时钟1 ? 1 : 2};
}
inline Call BoxCall(const char* message, const char* caption, long long style = 0) {
  return {Call::Box, message, caption, style, 0};
}

class RecordingWindow : public WindowPort {
 public:
  void StatusLine(const char* text, COLORREF color, int left) override {
    calls.push_back({Call::Status, text, "", color, left});
  }
  void SetTimerPeriod(xpboot::Timer timer, int milliseconds) override {
    calls.push_back(TimerCall(timer, milliseconds));
  }
  int ShowMessageBox(const char* message, UINT style, const char* caption) override {
    calls.push_back(BoxCall(message, caption, style));
    return 0;
  }

  std::vector<Call> calls;
};

inline std::ostream& operator<<(std::ostream& out, const Call& c) {
  static const char* kinds[] = {"Status", "Timer", "Box"};
  return out << kinds[c.kind] << "{\"" << c.text << "\", \"" << c.caption << "\", " << c.value
             << ", " << c.left << "}";
}

}  // namespace xpboot::test
