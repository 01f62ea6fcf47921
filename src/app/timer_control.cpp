#include "app/timer_control.h"

#include "host/handles.h"

namespace xpboot {

bool TimerControl::Register() {
  return RegisterWindowClass(kClassName, &WindowProc, CS_DBLCLKS, nullptr, nullptr);
}

HWND TimerControl::Create(HWND parent, int x, int y, int width, int height, UINT_PTR id,
                          DWORD extraStyle) {
  return CreateWindowFor(kClassName, "", WS_CHILD | WS_CLIPSIBLINGS | extraStyle, x, y, width,
                         height, parent, id);
}

void TimerControl::SetPeriod(int milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  if (milliseconds == period_) return;
  period_ = milliseconds;
  if (armed_) {
    ::KillTimer(hwnd(), kTimerId);
    armed_ = false;
  }
  if (period_ > 0) {
    armed_ = ::SetTimer(hwnd(), kTimerId, static_cast<UINT>(period_), nullptr) != 0;
  }
}

LRESULT TimerControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimerId && onPeriodic_) onPeriodic_();
      return 0;
    case WM_PAINT: {
      PaintScope nothingToPaint(hwnd());
      return 0;
    }
    default:
      return Default(msg, wp, lp);
  }
}

}  // namespace xpboot
