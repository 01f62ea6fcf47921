#include "boot/procedures.h"

#include "host/extract.h"
#include "host/file_ops.h"
#include "host/process.h"
#include "host/zip_reader.h"

namespace xpboot {
namespace {

bool AnyBackupExists() {
  return PathExists(paths::kBootFolderBackup) || PathExists(paths::kBootManagerBackup);
}

bool IsRootBootManagerEntry(const char* name) {
  // The boot manager is the file "bootmgr" at the root, in any letter case.
  return ::lstrcmpiA(name, "bootmgr") == 0;
}

// Where the boot folder and boot manager stand now, from what is on drive C:: the backups
// that are still there, or whenInPlace when there are none.
std::string DescribeBootFilesPlace(const char* whenInPlace) {
  bool folderBackup = PathExists(paths::kBootFolderBackup);
  bool managerBackup = PathExists(paths::kBootManagerBackup);
  if (!folderBackup && !managerBackup) return whenInPlace;
  std::string text;
  if (folderBackup) text += failure::kFolderStillBackedUp;
  if (managerBackup) text += failure::kManagerStillBackedUp;
  return text;
}

}  // namespace

void BootProcedures::StartupCheck() {
  window_.SetTimerPeriod(Timer::时钟2, kStartupWarningDelayMs);
  if (PathExists(paths::kInstalledMarker)) window_.ApplyStatus(StatusAlreadyInstalled);
}

void BootProcedures::StartupWarning() {
  // Disarmed before the box: timer events go on during its modal loop.
  window_.SetTimerPeriod(Timer::时钟2, 0);
  window_.ShowBox(kStartupWarningBox);
}

const char* BootProcedures::ArchiveProblem() const {
  if (!PathExists(paths::kArchive)) return failure::kNoArchive;
  if (!ProbeArchiveHeader(paths::kArchive)) return failure::kBadArchive;
  UniqueZipReader reader(OpenReader(paths::kArchive));
  if (!reader) return failure::kBadArchive;
  EntryInfo entry{};
  for (int i = 0; GetEntryInfo(reader.get(), i, &entry) == 0; ++i) {
    if (IsRootBootManagerEntry(entry.name)) return nullptr;
  }
  return failure::kArchiveWithoutBootManager;
}

void BootProcedures::InstallStageOne() {
  if (AnyBackupExists()) {
    window_.ApplyStatus(StatusAlreadyInstalled);
    window_.ShowBox(kAlreadyInstalledBox, MB_ICONINFORMATION);
    return;
  }
  const char* problem = !PathExists(paths::kBootManager) ? failure::kNoBootManager
                        : !PathExists(paths::kBootFolder) ? failure::kNoBootFolder
                                                          : ArchiveProblem();
  if (problem != nullptr) {
    ReportInstallFailure(problem, failure::kNothingChanged);
    return;
  }

  window_.ApplyStatus(StatusInstalling);
  if (!RenamePath(paths::kBootFolder, paths::kBootFolderBackup)) {
    ReportInstallFailure(failure::kRenameFailed, failure::kNothingChanged);
    return;
  }
  if (!RenamePath(paths::kBootManager, paths::kBootManagerBackup)) {
    RenamePath(paths::kBootFolderBackup, paths::kBootFolder);
    ReportInstallFailure(failure::kRenameFailed, failure::kNothingChanged);
    return;
  }
  copy_ = StartProgram(paths::kCopyCommandLine, kShowNormal, WaitFor::InputIdle);
  if (!copy_) {
    RenamePath(paths::kBootFolderBackup, paths::kBootFolder);
    RenamePath(paths::kBootManagerBackup, paths::kBootManager);
    ReportInstallFailure(failure::kCopyNotStarted, failure::kNothingChanged);
    return;
  }
  window_.SetTimerPeriod(Timer::时钟1, kInstallStageTwoDelayMs);
}

void BootProcedures::InstallStageTwo() {
  // Extracting while the copy still writes into C:\Boot would race it: wait for its end.
  if (copy_ && ::WaitForSingleObject(copy_.get(), 0) == WAIT_TIMEOUT) {
    window_.SetTimerPeriod(Timer::时钟1, kCopyPollMs);
    return;
  }
  DWORD copyExitCode = 1;
  if (copy_) ::GetExitCodeProcess(copy_.get(), &copyExitCode);
  copy_.reset();

  const char* failed = copyExitCode != 0 ? failure::kCopyFailed : nullptr;
  if (failed == nullptr && ExtractArchive(paths::kArchive, paths::kDriveRoot) != 1) {
    failed = failure::kExtractFailed;
  }
  window_.SetTimerPeriod(Timer::时钟1, 0);
  if (failed != nullptr) {
    PutBackBootFiles();
    ReportInstallFailure(std::string(failed) + failure::kInstallUndone, failure::kBothInPlace);
    return;
  }
  window_.ApplyStatus(StatusInstallDone);
  window_.ShowBox(kInstallDoneBox);
}

bool BootProcedures::PutBackBootFiles() {
  bool folderBackup = PathExists(paths::kBootFolderBackup);
  bool managerBackup = PathExists(paths::kBootManagerBackup);
  // Each live name is deleted only when its backup is there to take its place.
  if (folderBackup) {
    DeleteDirectoryTree(paths::kBootFolder);
    RenamePath(paths::kBootFolderBackup, paths::kBootFolder);
  }
  if (managerBackup) {
    DeleteOneFile(paths::kBootManager);
    RenamePath(paths::kBootManagerBackup, paths::kBootManager);
  }
  for (const char* loaderFile : paths::kLoaderFiles) DeleteOneFile(loaderFile);
  return !AnyBackupExists();
}

void BootProcedures::RestoreBootFiles() {
  if (!AnyBackupExists()) {
    window_.ApplyStatus(StatusNothingToRestore);
    return;
  }
  window_.ApplyStatus(StatusRestoring);
  if (PutBackBootFiles()) {
    window_.ApplyStatus(StatusRestoreDone);
    return;
  }
  window_.ApplyStatus(StatusRestoreFailed);
  std::string message = DescribeBootFilesPlace(failure::kBothInPlace) + failure::kRestoreAgain;
  window_.ShowMessageBox(message.c_str(), MB_ICONERROR, kErrorCaption);
}

void BootProcedures::ReportInstallFailure(const std::string& cause, const char* whenInPlace) {
  window_.ApplyStatus(StatusInstallFailed);
  std::string message = cause + "\r\n\r\n" + DescribeBootFilesPlace(whenInPlace);
  if (AnyBackupExists()) message += failure::kRestoreAgain;
  window_.ShowMessageBox(message.c_str(), MB_ICONERROR, kErrorCaption);
}

}  // namespace xpboot
