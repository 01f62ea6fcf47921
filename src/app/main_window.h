// The main window: built from its description, it owns the controls, dispatches their events
// to the bound procedures, and gives the procedures the status line and the timers.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app/label.h"
#include "app/timer_control.h"
#include "app/window_base.h"
#include "app/window_description.h"
#include "about/hyperlink.h"
#include "boot/procedures.h"
#include "boot/window_port.h"
#include "host/handles.h"

namespace xpboot {

class MainWindow : public WindowBase<MainWindow>, public WindowPort {
 public:
  static constexpr const char* kClassName = "XpbootMainWindow";

  explicit MainWindow(const WindowDescription& description);
  ~MainWindow() override;

  // Builds the window and its controls hidden, runs the created event, then shows it.
  // False when the window could not be built.
  bool Create();

  // Keys that the window handles before its controls: Esc closes, Tab moves among the
  // buttons, Enter and F1 do nothing. True when the message was used up.
  bool PreTranslateMessage(const MSG& msg);

  // WindowPort
  void StatusLine(const char* text, COLORREF color, int left) override;
  void SetTimerPeriod(Timer timer, int milliseconds) override;
  int ShowMessageBox(const char* message, UINT style, const char* caption) override;

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static bool RegisterClasses();
  void CenterAndSize();
  void LoadIcons();
  bool CreateControls();
  HWND CreateControl(const ControlDescription& control);
  void Raise(Procedure procedure);
  void OnPaint();
  void OnActivate(bool active);
  TimerControl& TimerFor(Timer timer);

  const WindowDescription& description_;
  BootProcedures procedures_;
  bool eventsEnabled_ = false;
  HWND lastFocus_ = nullptr;

  UniqueIcon bigIcon_;
  UniqueIcon smallIcon_;
  std::vector<std::unique_ptr<Label>> labels_;
  std::vector<std::unique_ptr<Hyperlink>> links_;
  std::vector<std::unique_ptr<TimerControl>> timers_;
  Label* statusLabel_ = nullptr;     // 标签1
  TimerControl* installTimer_ = nullptr;  // 时钟1
  TimerControl* warningTimer_ = nullptr;  // 时钟2
};

}  // namespace xpboot
