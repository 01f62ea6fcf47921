#include "boot/procedures.h"

#include "host/file_ops.h"

namespace xpboot {

void BootProcedures::StartupCheck() {
  window_.SetTimerPeriod(Timer::时钟2, kStartupWarningDelayMs);
  if (PathExists(paths::kInstalledMarker)) window_.ApplyStatus(StatusAlreadyInstalled);
}

void BootProcedures::StartupWarning() {
  // Disarmed before the box: timer events go on during its modal loop.
  window_.SetTimerPeriod(Timer::时钟2, 0);
  window_.ShowBox(kStartupWarningBox);
}

}  // namespace xpboot
