// The procedures bound to the window's events: the start-up check and warning, the two
// stages of the installation and the restoration.
#pragma once

#include <string>

#include "boot/window_port.h"
#include "host/handles.h"

namespace xpboot {

class BootProcedures {
 public:
  explicit BootProcedures(WindowPort& window) : window_(window) {}

  // Created event of the main window: arms the warning timer and reports an installation
  // that an earlier run left on drive C:.
  void StartupCheck();
  // Periodic event of 时钟2: the warning, once.
  void StartupWarning();

  // Click of 按钮1. Installs only onto a drive that holds the boot folder and boot manager and
  // no backup of them, and only from a "Boot.1" that can give the drive a boot manager again.
  // Moves both aside (both or neither), starts the copy of the boot folder and arms 时钟1.
  void InstallStageOne();
  // Periodic event of 时钟1: once the copy has ended, extracts "Boot.1" onto C:. Any failure
  // puts the boot files back and says so.
  void InstallStageTwo();
  // Click of 按钮2: gives each backup its own name back, deleting only what a backup replaces.
  void RestoreBootFiles();

 private:
  // Why "Boot.1" cannot be installed, or nullptr when it can.
  const char* ArchiveProblem() const;
  // Puts back whichever backups exist and deletes the loader files; true when every
  // backup got its own name back.
  bool PutBackBootFiles();
  // "安装失败" and an error box: the cause, then where the boot files stand (whenInPlace
  // when both are under their own names).
  void ReportInstallFailure(const std::string& cause, const char* whenInPlace);

  WindowPort& window_;
  UniqueKernelHandle copy_;  // the running copy command of stage one
};

}  // namespace xpboot
