// The procedures bound to the window's events.
#pragma once

#include "boot/window_port.h"

namespace xpboot {

class BootProcedures {
 public:
  explicit BootProcedures(WindowPort& window) : window_(window) {}

  // Created event of the main window: arms the warning timer and reports an installation
  // that an earlier run left on drive C:.
  void StartupCheck();
  // Periodic event of 时钟2: the warning, once.
  void StartupWarning();

 private:
  WindowPort& window_;
};

}  // namespace xpboot
