#include "host/process.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace xpboot {
namespace {

using test::ReadTextFile;
using test::ScratchDir;

std::string Child() { return test::TestProgramFolder() + "\\child.exe"; }

TEST(RunCommandLine, ShowModesAreClampedToOneToSix) {
  struct Case {
    int mode;
    WORD show;
  } cases[] = {{-5, SW_HIDE},          {0, SW_HIDE},           {1, SW_HIDE},
               {2, SW_SHOWNORMAL},     {3, SW_SHOWMINIMIZED},  {4, SW_SHOWMAXIMIZED},
               {5, SW_SHOWNOACTIVATE}, {6, SW_MINIMIZE},       {7, SW_MINIMIZE},
               {100, SW_MINIMIZE}};
  for (const Case& c : cases) EXPECT_EQ(ShowWindowValueForMode(c.mode), c.show) << c.mode;
}

TEST(RunCommandLine, TheStartedProgramReceivesTheShowMode) {
  ScratchDir dir;
  struct Case {
    int mode;
    const char* expected;
  } cases[] = {{0, "flags=1 show=0"}, {kShowNormal, "flags=1 show=1"}, {100, "flags=1 show=6"}};
  for (const Case& c : cases) {
    std::string result = dir / ("report" + std::to_string(c.mode));
    std::string line = Child() + " report " + result;
    ASSERT_TRUE(RunCommandLine(line.c_str(), true, c.mode));
    EXPECT_EQ(ReadTextFile(result), c.expected) << "show mode " << c.mode;
  }
  std::string result = dir / "default";
  std::string line = Child() + " report " + result;
  ASSERT_TRUE(RunCommandLine(line.c_str(), true));
  EXPECT_EQ(ReadTextFile(result), "flags=1 show=1");
}

TEST(RunCommandLine, WaitsForTheEndOnlyWhenAsked) {
  ScratchDir dir;
  std::string waited = dir / "waited";
  std::string line = Child() + " sleep 700 " + waited;
  DWORD start = ::GetTickCount();
  ASSERT_TRUE(RunCommandLine(line.c_str(), true));
  EXPECT_GE(::GetTickCount() - start, 650u);
  EXPECT_EQ(ReadTextFile(waited), "done");

  std::string notWaited = dir / "not-waited";
  line = Child() + " sleep 1500 " + notWaited;
  start = ::GetTickCount();
  ASSERT_TRUE(RunCommandLine(line.c_str()));
  // A console program does not wait for input: the call comes back while it still sleeps.
  EXPECT_LT(::GetTickCount() - start, 1200u);
  EXPECT_EQ(ReadTextFile(notWaited), "<missing>");
  test::PumpMessagesFor(2500);
  EXPECT_EQ(ReadTextFile(notWaited), "done");
}

TEST(RunCommandLine, AProgramThatCannotBeFoundGivesFalseAtOnce) {
  DWORD start = ::GetTickCount();
  EXPECT_FALSE(RunCommandLine("xpboot-no-such-program-here.exe /x"));
  EXPECT_FALSE(RunCommandLine(""));
  EXPECT_LT(::GetTickCount() - start, 1000u);
}

TEST(StartProgram, HandsBackTheProcessSoItsEndCanBeAwaited) {
  std::string line = Child() + " exit 7";
  UniqueKernelHandle process = StartProgram(line.c_str(), 1, WaitFor::InputIdle);
  ASSERT_TRUE(process);
  ASSERT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(code, 7u);
}

}  // namespace
}  // namespace xpboot
