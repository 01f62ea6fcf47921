// Install and Restore through the real window, with drive C: checked before and after.
#include <gtest/gtest.h>

#include "session.h"
#include "test_support.h"

namespace xpboot::e2e {
namespace {

using test::DescribeDifferences;
using test::SnapshotDriveC;
using test::TreeSnapshot;

constexpr const char* kInstallDoneText = "安装完成，还需要用BcdTool.exe编辑引导参数具体看使用说明文件。";

class InstallAndRestore : public Session {
 protected:
  void SetUp() override {
    Session::SetUp();
    before_ = SnapshotDriveC();
  }
  void ExpectDriveAsBefore() { EXPECT_EQ(DescribeDifferences(before_, SnapshotDriveC()), ""); }
  bool ButtonsEnabled() const {
    return ::IsWindowEnabled(InstallButton()) && ::IsWindowEnabled(RestoreButton());
  }
  // Clicks Install and waits for the box that ends it.
  driver::MessageBoxInfo InstallAndWaitForBox(DWORD timeoutMs) {
    Click(InstallButton());
    auto box = driver::WaitForMessageBox(program_.pid(), timeoutMs);
    EXPECT_TRUE(box.has_value()) << "no box after Install";
    return box.value_or(driver::MessageBoxInfo{});
  }
  void Close(const driver::MessageBoxInfo& box) {
    driver::PressOk(box);
    EXPECT_TRUE(driver::WaitUntilGone(box.hwnd, 3000));
  }

  TreeSnapshot before_;
};

TEST_F(InstallAndRestore, AFullInstallThenRestoreLeavesTheDriveAsItWas) {
  // Enough files that the copy runs for a while: its console stays up long enough to be seen.
  test::MakeDirectory("C:\\Boot\\many");
  for (int i = 0; i < 400; ++i) {
    test::WriteTextFile("C:\\Boot\\many\\file" + std::to_string(i), std::string(2000, 'x'));
  }
  before_ = SnapshotDriveC();
  Start();
  DismissWarning();
  DWORD clicked = ::GetTickCount();
  Click(InstallButton());
  // The copy runs in a console window of its own (Wine's console class; Windows' own on Windows).
  EXPECT_TRUE(driver::WaitFor([] {
    return driver::FindVisibleWindowOfClass("WineConsoleClass") != nullptr ||
           driver::FindVisibleWindowOfClass("ConsoleWindowClass") != nullptr;
  }, 4000)) << "no console window for the copy";
  ASSERT_TRUE(WaitForStatus("安装中请稍后......"));
  EXPECT_EQ(StatusLabel().rect.left, 175);
  EXPECT_FALSE(::IsWindowEnabled(InstallButton())) << "Install stays disabled while pending";
  EXPECT_FALSE(::IsWindowEnabled(RestoreButton())) << "Restore stays disabled while pending";

  auto box = driver::WaitForMessageBox(program_.pid(), 15000);
  ASSERT_TRUE(box.has_value()) << "no completion box";
  DWORD delay = box->seenAt - clicked;
  EXPECT_GE(delay, 4800u);
  EXPECT_LE(delay, 9000u);
  EXPECT_EQ(box->caption, "提示");
  EXPECT_EQ(box->text, kInstallDoneText);
  EXPECT_FALSE(box->showsIcon);
  EXPECT_TRUE(WaitForStatus("安装完成"));
  EXPECT_EQ(StatusLabel().rect.left, 205);

  TreeSnapshot installed = SnapshotDriveC();
  EXPECT_EQ(test::Subtree(installed, "Boot"), test::WithoutReadOnly(test::Subtree(before_, "Boot")))
      << "C:\\Boot is not a full copy";
  EXPECT_EQ(test::Subtree(installed, "Boot备份(澜禾Win8引导xp工具)"), test::Subtree(before_, "Boot"));
  EXPECT_EQ(installed.at("bootmgr2"), before_.at("bootmgr"));
  for (const char* name : {"bootmgr", "ntldr", "NTDETECT.COM", "bootfont.bin", "BOOT.INI"}) {
    ASSERT_TRUE(installed.count(name)) << name;
    EXPECT_NE(installed.at(name).find("stand-in"), std::string::npos) << name;
  }
  Close(*box);
  EXPECT_TRUE(driver::WaitFor([&] { return ButtonsEnabled(); }, 2000));

  // A second Install is refused: the backups are there.
  TreeSnapshot beforeSecondInstall = SnapshotDriveC();
  driver::MessageBoxInfo refusal = InstallAndWaitForBox(5000);
  EXPECT_EQ(refusal.caption, "提示");
  EXPECT_EQ(refusal.text, "引导文件已经安装。如需重新安装，请先点击“还原”。");
  EXPECT_TRUE(WaitForStatus("引导文件已经安装"));
  Close(refusal);
  EXPECT_EQ(DescribeDifferences(beforeSecondInstall, SnapshotDriveC()), "");

  Click(RestoreButton());
  ASSERT_TRUE(WaitForStatus("还原完成"));
  EXPECT_EQ(StatusLabel().rect.left, 205);
  ::Sleep(300);
  EXPECT_TRUE(driver::OpenMessageBoxes(program_.pid()).empty()) << "Restore shows no box";
  ExpectDriveAsBefore();
}

struct Refusal {
  const char* name;
  const char* archive;    // the file beside the program, nullptr for none
  bool installedBefore;   // a backup already on the drive
  const char* status;
  const char* caption;
  const char* textStart;  // what the box's text must begin with
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

const Refusal kRefusals[] = {
    {"MissingArchive", nullptr, false, "安装失败", "错误", "找不到引导文件包Boot.1。"},
    {"NotAnArchive", "variants\\not-a-zip", false, "安装失败", "错误", "Boot.1不是有效的ZIP压缩包"},
    {"ArchiveWithoutBootManager", "variants\\no-bootmgr.zip", false, "安装失败", "错误",
     "Boot.1的根目录中没有bootmgr文件"},
    {"AlreadyInstalled", "Boot.1", true, "引导文件已经安装", "提示", "引导文件已经安装。"},
};

class InstallRefusedInTheWindow : public InstallAndRestore,
                                  public ::testing::WithParamInterface<Refusal> {};

TEST_P(InstallRefusedInTheWindow, LosesNothingAndSaysWhy) {
  const Refusal& r = GetParam();
  PutArchive(r.archive);
  if (r.installedBefore) {
    ASSERT_TRUE(::MoveFileA("C:\\bootmgr", "C:\\bootmgr2"));
  }
  before_ = SnapshotDriveC();
  Start();
  DismissWarning();
  driver::MessageBoxInfo box = InstallAndWaitForBox(5000);
  EXPECT_EQ(box.caption, r.caption);
  EXPECT_EQ(box.text.rfind(r.textStart, 0), 0u) << box.text;
  EXPECT_EQ(box.showsIcon, true);
  EXPECT_TRUE(WaitForStatus(r.status));
  Close(box);
  ExpectDriveAsBefore();
  // Nothing is pending: both buttons work, and no second stage comes.
  EXPECT_TRUE(ButtonsEnabled());
  ::Sleep(5500);
  EXPECT_TRUE(driver::OpenMessageBoxes(program_.pid()).empty());
  ExpectDriveAsBefore();
}

INSTANTIATE_TEST_SUITE_P(Checks, InstallRefusedInTheWindow, ::testing::ValuesIn(kRefusals),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(InstallAndRestore, RestoreWithNothingInstalledTouchesNothing) {
  Start();
  DismissWarning();
  Click(RestoreButton());
  ASSERT_TRUE(WaitForStatus("未发现已安装的引导文件"));
  EXPECT_EQ(StatusLabel().rect.left, 164);
  ::Sleep(300);
  EXPECT_TRUE(driver::OpenMessageBoxes(program_.pid()).empty());
  ExpectDriveAsBefore();
}

TEST_F(InstallAndRestore, AFileHeldOpenInTheBootFolderNeedsASecondRestore) {
  Start();
  DismissWarning();
  Close(InstallAndWaitForBox(15000));
  HANDLE held = ::CreateFileA("C:\\Boot\\bootstat.dat", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Click(RestoreButton());
  auto box = driver::WaitForMessageBox(program_.pid(), 5000);
  ::CloseHandle(held);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "错误");
  EXPECT_NE(box->text.find("C:\\Boot备份(澜禾Win8引导xp工具)"), std::string::npos) << box->text;
  EXPECT_TRUE(WaitForStatus("还原失败"));
  Close(*box);
  EXPECT_EQ(SnapshotDriveC().at("bootmgr"), before_.at("bootmgr"));

  Click(RestoreButton());
  ASSERT_TRUE(WaitForStatus("还原完成"));
  ExpectDriveAsBefore();
}

TEST_F(InstallAndRestore, ClosingBeforeTheSecondStageThenRestoringAfterARestart) {
  Start();
  DismissWarning();
  Click(InstallButton());
  ASSERT_TRUE(WaitForStatus("安装中请稍后......"));
  ::PostMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(program_.WaitForExit(5000), std::optional<DWORD>(0));
  // The copy runs on by itself; wait for it to bring C:\Boot back complete.
  TreeSnapshot bootBefore = test::WithoutReadOnly(test::Subtree(before_, "Boot"));
  EXPECT_TRUE(driver::WaitFor([&] { return test::Subtree(SnapshotDriveC(), "Boot") == bootBefore; }, 15000));
  EXPECT_FALSE(test::Exists("C:\\ntldr")) << "the second stage ran after the window closed";

  Start();
  EXPECT_EQ(StatusLabel().text, "引导文件已经安装");
  EXPECT_EQ(StatusLabel().rect.left, 182);
  DismissWarning();
  Click(RestoreButton());
  ASSERT_TRUE(WaitForStatus("还原完成"));
  ExpectDriveAsBefore();
}

}  // namespace
}  // namespace xpboot::e2e
