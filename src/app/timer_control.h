// A timer control: an invisible child window that raises its periodic event on WM_TIMER.
#pragma once

#include <windows.h>

#include <functional>

#include "app/window_base.h"

namespace xpboot {

class TimerControl : public WindowBase<TimerControl> {
 public:
  static constexpr const char* kClassName = "XpbootTimer";
  static constexpr UINT_PTR kTimerId = 1000;

  explicit TimerControl(std::function<void()> onPeriodic) : onPeriodic_(std::move(onPeriodic)) {}

  static bool Register();
  HWND Create(HWND parent, int x, int y, int width, int height, UINT_PTR id, DWORD extraStyle);

  // A positive period arms the timer and starts the count now; 0 or less disarms it.
  // The period it already has changes nothing, so a running count goes on undisturbed.
  void SetPeriod(int milliseconds);

  int period() const noexcept { return period_; }
  bool armed() const noexcept { return armed_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  std::function<void()> onPeriodic_;
  int period_ = 0;
  bool armed_ = false;
};

}  // namespace xpboot
