// Installation and restoration against drive C: of the test prefix, with the real copy
// command and real archives; the window is a recording one.
#include <gtest/gtest.h>

#include "boot/procedures.h"
#include "recording_window.h"
#include "standin_layout.h"
#include "test_support.h"

namespace xpboot {
namespace {

using test::BoxCall;
using test::Call;
using test::StatusCall;
using test::TimerCall;
using test::TreeSnapshot;

std::string StandIn(const std::string& name) {
  return test::TestProgramFolder() + "\\standin\\" + name;
}

class BootFilesOnDriveC : public ::testing::Test {
 protected:
  void SetUp() override {
    sandbox::RemoveBootFiles();
    ASSERT_TRUE(sandbox::CreateStandInBootLayout("C:"));
    char current[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof current, current);
    previousDirectory_ = current;
    // The procedures look for "Boot.1" in the current directory, as the program does in its own.
    ::SetCurrentDirectoryA(workdir_.path().c_str());
    UseArchive("Boot.1");
    before_ = test::SnapshotDriveC();
  }

  void TearDown() override {
    ::SetCurrentDirectoryA(previousDirectory_.c_str());
    sandbox::RemoveBootFiles();
  }

  void UseArchive(const std::string& standIn) {
    ASSERT_TRUE(::CopyFileA(StandIn(standIn).c_str(), (workdir_ / "Boot.1").c_str(), FALSE));
  }

  // Lets stage two run as the timer would: again each time it asks to look again later.
  void RunStageTwoUntilDone() {
    for (int i = 0; i < 200; ++i) {
      window_.calls.clear();
      procedures_.InstallStageTwo();
      if (window_.calls != std::vector<Call>{TimerCall(Timer::时钟1, kCopyPollMs)}) return;
      ::Sleep(100);
    }
    FAIL() << "the copy did not end";
  }

  void ExpectDriveUnchanged() {
    EXPECT_EQ(test::DescribeDifferences(before_, test::SnapshotDriveC()), "");
  }

  // The single box shown, as recorded.
  const Call* Box() const {
    const Call* box = nullptr;
    for (const Call& c : window_.calls) {
      if (c.kind == Call::Box) {
        EXPECT_EQ(box, nullptr) << "more than one box";
        box = &c;
      }
    }
    return box;
  }

  test::ScratchDir workdir_;
  std::string previousDirectory_;
  TreeSnapshot before_;
  test::RecordingWindow window_;
  BootProcedures procedures_{window_};
};

TEST_F(BootFilesOnDriveC, InstallThenRestoreGivesBackTheDriveAsItWas) {
  procedures_.InstallStageOne();
  EXPECT_EQ(window_.calls, (std::vector<Call>{StatusCall(StatusInstalling),
                                              TimerCall(Timer::时钟1, kInstallStageTwoDelayMs)}));
  EXPECT_TRUE(test::Exists("C:\\Boot备份(澜禾Win8引导xp工具)\\BCD"));
  EXPECT_EQ(test::ReadTextFile("C:\\bootmgr2"), before_.at("bootmgr").substr(6));

  // Called at once, stage two finds the copy still running and extracts nothing yet.
  window_.calls.clear();
  procedures_.InstallStageTwo();
  EXPECT_EQ(window_.calls, std::vector<Call>{TimerCall(Timer::时钟1, kCopyPollMs)});
  EXPECT_FALSE(test::Exists("C:\\ntldr"));

  RunStageTwoUntilDone();
  EXPECT_EQ(window_.calls,
            (std::vector<Call>{TimerCall(Timer::时钟1, 0), StatusCall(StatusInstallDone),
                               BoxCall(kInstallDoneBox.message, kInstallDoneBox.caption)}));
  TreeSnapshot installed = test::SnapshotDriveC();
  // C:\Boot is a full copy of the moved folder, hidden and system files and empty folders too.
  EXPECT_EQ(test::Subtree(installed, "Boot"), test::WithoutReadOnly(test::Subtree(before_, "Boot")));
  EXPECT_EQ(test::Subtree(installed, "Boot备份(澜禾Win8引导xp工具)"), test::Subtree(before_, "Boot"));
  EXPECT_EQ(installed.at("bootmgr2"), before_.at("bootmgr"));
  EXPECT_NE(installed.at("bootmgr").find("stand-in bootmgr: made by the project"), std::string::npos);
  for (const char* name : {"ntldr", "NTDETECT.COM", "bootfont.bin", "BOOT.INI"}) {
    ASSERT_TRUE(installed.count(name)) << name;
    EXPECT_EQ(installed.at(name).substr(0, 6), "F --- ") << name;
  }

  window_.calls.clear();
  procedures_.RestoreBootFiles();
  EXPECT_EQ(window_.calls,
            (std::vector<Call>{StatusCall(StatusRestoring), StatusCall(StatusRestoreDone)}));
  ExpectDriveUnchanged();
}

struct Refusal {
  const char* name;
  void (*prepare)();
  const char* archive;
  const char* cause;  // nullptr: the "already installed" refusal
};

const Refusal kRefusals[] = {
    {"BackupFolderExists", [] { test::MakeDirectory("C:\\Boot备份(澜禾Win8引导xp工具)"); }, "Boot.1", nullptr},
    {"BootManagerBackupExists", [] { test::WriteTextFile("C:\\bootmgr2", "old"); }, "Boot.1", nullptr},
    {"NoBootManager", [] { sandbox::RemoveTree("C:\\bootmgr"); }, "Boot.1", failure::kNoBootManager},
    {"NoBootFolder", [] { sandbox::RemoveTree("C:\\Boot"); }, "Boot.1", failure::kNoBootFolder},
    {"NotAZip", [] {}, "variants\\not-a-zip", failure::kBadArchive},
    {"NoBootManagerInArchive", [] {}, "variants\\no-bootmgr.zip", failure::kArchiveWithoutBootManager},
    {"BootManagerOnlyInAFolder", [] {}, "variants\\nested-bootmgr.zip", failure::kArchiveWithoutBootManager},
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

class InstallRefusal : public BootFilesOnDriveC, public ::testing::WithParamInterface<Refusal> {};

TEST_P(InstallRefusal, ChangesNothingAndSaysWhy) {
  GetParam().prepare();
  UseArchive(GetParam().archive);
  before_ = test::SnapshotDriveC();
  procedures_.InstallStageOne();
  ExpectDriveUnchanged();
  ASSERT_EQ(window_.calls.size(), 2u);
  const Call* box = Box();
  ASSERT_NE(box, nullptr);
  if (GetParam().cause == nullptr) {
    EXPECT_EQ(window_.calls[0], StatusCall(StatusAlreadyInstalled));
    EXPECT_EQ(*box, BoxCall(kAlreadyInstalledBox.message, kAlreadyInstalledBox.caption, MB_ICONINFORMATION));
  } else {
    EXPECT_EQ(window_.calls[0], StatusCall(StatusInstallFailed));
    EXPECT_EQ(box->caption, "错误");
    EXPECT_EQ(box->value, MB_ICONERROR);
    EXPECT_EQ(box->text, std::string(GetParam().cause) + "\r\n\r\n" + failure::kNothingChanged);
  }
}

INSTANTIATE_TEST_SUITE_P(Checks, InstallRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(BootFilesOnDriveC, TheBootManagerEntryMayBeInAnyLetterCase) {
  UseArchive("variants\\upper-bootmgr.zip");
  procedures_.InstallStageOne();
  EXPECT_EQ(window_.calls.back(), TimerCall(Timer::时钟1, kInstallStageTwoDelayMs));
  RunStageTwoUntilDone();
  EXPECT_EQ(window_.calls.at(1), StatusCall(StatusInstallDone));
}

TEST_F(BootFilesOnDriveC, AFailedSecondRenameUndoesTheFirst) {
  // An open handle without delete sharing keeps C:\bootmgr from being renamed.
  HANDLE held = ::CreateFileA("C:\\bootmgr", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  procedures_.InstallStageOne();
  ::CloseHandle(held);
  ExpectDriveUnchanged();
  ASSERT_EQ(window_.calls.size(), 3u);
  EXPECT_EQ(window_.calls[1], StatusCall(StatusInstallFailed));
  EXPECT_EQ(window_.calls[2].text,
            std::string(failure::kRenameFailed) + "\r\n\r\n" + failure::kNothingChanged);
}

TEST_F(BootFilesOnDriveC, AFailedExtractionPutsTheBootFilesBack) {
  UseArchive("variants\\damaged-ntldr.zip");
  procedures_.InstallStageOne();
  RunStageTwoUntilDone();
  ExpectDriveUnchanged();
  ASSERT_EQ(window_.calls.size(), 3u);
  EXPECT_EQ(window_.calls[0], TimerCall(Timer::时钟1, 0));
  EXPECT_EQ(window_.calls[1], StatusCall(StatusInstallFailed));
  EXPECT_EQ(window_.calls[2].text, std::string(failure::kExtractFailed) + failure::kInstallUndone +
                                       "\r\n\r\n" + failure::kBothInPlace);
}

TEST_F(BootFilesOnDriveC, ACopyThatFailsIsNotFollowedByTheExtraction) {
  // The system looks for the copy command beside the program's current directory before its
  // own folders: a stand-in that ends with exit code 2 takes its place.
  ASSERT_TRUE(::CopyFileA((test::TestProgramFolder() + "\\child.exe").c_str(),
                          (workdir_ / "xcopy.exe").c_str(), FALSE));
  procedures_.InstallStageOne();
  RunStageTwoUntilDone();
  ExpectDriveUnchanged();
  ASSERT_EQ(window_.calls.size(), 3u);
  EXPECT_EQ(window_.calls[1], StatusCall(StatusInstallFailed));
  EXPECT_EQ(window_.calls[2].text, std::string(failure::kCopyFailed) + failure::kInstallUndone +
                                       "\r\n\r\n" + failure::kBothInPlace);
}

TEST_F(BootFilesOnDriveC, RestoreWithNothingInstalledTouchesNothing) {
  procedures_.RestoreBootFiles();
  EXPECT_EQ(window_.calls, std::vector<Call>{StatusCall(StatusNothingToRestore)});
  ExpectDriveUnchanged();
}

TEST_F(BootFilesOnDriveC, RestorePutsBackOnlyWhatHasABackup) {
  // Only the boot manager was moved aside: the boot folder and the loader files are the
  // machine's own... but a restore with a backup does remove the loader files.
  ASSERT_TRUE(::MoveFileA("C:\\bootmgr", "C:\\bootmgr2"));
  test::WriteTextFile("C:\\ntldr", "loader");
  procedures_.RestoreBootFiles();
  EXPECT_EQ(window_.calls,
            (std::vector<Call>{StatusCall(StatusRestoring), StatusCall(StatusRestoreDone)}));
  ExpectDriveUnchanged();
}

TEST_F(BootFilesOnDriveC, AFileInUseInTheBootFolderLeavesTheBackupForASecondRestore) {
  procedures_.InstallStageOne();
  RunStageTwoUntilDone();
  HANDLE held = ::CreateFileA("C:\\Boot\\bootstat.dat", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  window_.calls.clear();
  procedures_.RestoreBootFiles();
  ::CloseHandle(held);
  ASSERT_EQ(window_.calls.size(), 3u);
  EXPECT_EQ(window_.calls[1], StatusCall(StatusRestoreFailed));
  EXPECT_EQ(window_.calls[2],
            BoxCall((std::string(failure::kFolderStillBackedUp) + failure::kRestoreAgain).c_str(),
                    "错误", MB_ICONERROR));
  EXPECT_TRUE(test::Exists("C:\\Boot备份(澜禾Win8引导xp工具)"));
  EXPECT_EQ(test::ReadTextFile("C:\\bootmgr"), before_.at("bootmgr").substr(6));
  EXPECT_FALSE(test::Exists("C:\\ntldr"));

  window_.calls.clear();
  procedures_.RestoreBootFiles();
  EXPECT_EQ(window_.calls.back(), StatusCall(StatusRestoreDone));
  ExpectDriveUnchanged();
}

}  // namespace
}  // namespace xpboot
