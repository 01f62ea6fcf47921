// The start-up procedures against drive C: of the test prefix.
#include <gtest/gtest.h>

#include "boot/procedures.h"
#include "recording_window.h"
#include "../unit/test_support.h"

namespace xpboot {
namespace {

using test::BoxCall;
using test::Call;
using test::StatusCall;
using test::TimerCall;

class StartupCheckTest : public ::testing::Test {
 protected:
  void SetUp() override { test::ForceRemoveTree("C:\\bootmgr2"); }
  void TearDown() override { test::ForceRemoveTree("C:\\bootmgr2"); }

  std::vector<Call> RunCheck() {
    test::RecordingWindow window;
    BootProcedures(window).StartupCheck();
    return window.calls;
  }
};

TEST_F(StartupCheckTest, WithoutTheMarkerOnlyTheWarningTimerIsArmed) {
  EXPECT_EQ(RunCheck(), (std::vector<Call>{TimerCall(Timer::时钟2, 500)}));
}

TEST_F(StartupCheckTest, TheMarkerAsFileOrFolderMeansInstalled) {
  const std::vector<Call> installed = {TimerCall(Timer::时钟2, 500),
                                       StatusCall(StatusAlreadyInstalled)};
  test::WriteTextFile("C:\\bootmgr2", "boot manager");
  EXPECT_EQ(RunCheck(), installed);
  test::ForceRemoveTree("C:\\bootmgr2");
  test::MakeDirectory("C:\\bootmgr2");
  EXPECT_EQ(RunCheck(), installed);
  EXPECT_EQ(StatusAlreadyInstalled.color, 0xFF0000u);
  EXPECT_EQ(StatusAlreadyInstalled.left, 182);
}

TEST(StartupWarning, DisarmsItsTimerBeforeTheBox) {
  test::RecordingWindow window;
  BootProcedures(window).StartupWarning();
  EXPECT_EQ(window.calls,
            (std::vector<Call>{
                TimerCall(Timer::时钟2, 0),
                BoxCall("警告：安装前请先查看使用说明文件，如果在Win8上安装请确保C盘有足够的权限。"
                        "如：文件复制、改名、删除等操作权限否则会有错误发生。",
                        "警告", 0)}));
}

}  // namespace
}  // namespace xpboot
