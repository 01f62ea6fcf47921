#include "app/startup.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "app/window_description.h"
#include "boot/boot_file_set.h"
#include "host/process.h"
#include "test_support.h"

namespace xpboot {
namespace {

TEST(Literals, NarrowLiteralsAreGbkBytes) {
  // 4 ASCII bytes "C://", then 备份 (4), "(" , 澜禾 (4), "Win8", 引导 (4), "xp", 工具 (4), ")".
  EXPECT_EQ(std::string_view(paths::kBootFolderBackup).size(), 32u);
  EXPECT_EQ(std::string_view("备"), std::string_view("\xB1\xB8"));
  EXPECT_EQ(::GetACP(), 936u) << "the tests must run with the GBK code page (LANG=zh_CN.UTF-8)";
}

TEST(Startup, TheCopyCommandNamesTheBackupFolder) {
  std::string_view backup = paths::kBootFolderBackup;
  std::string_view command = paths::kCopyCommandLine;
  // Same folder name after "C://" and after "c:\": only the drive spelling differs.
  EXPECT_NE(command.find(std::string("c:\\") + std::string(backup.substr(4)) + " c:\\Boot\\ /e/H"),
            std::string_view::npos);
}

TEST(Startup, ProgramFolderIsThePathBeforeTheLastBackslash) {
  EXPECT_EQ(ProgramFolder(), test::TestProgramFolder());
}

TEST(Startup, EntersTheProgramFolderEvenWhenItsNameHidesABackslashByte) {
  test::ScratchDir dir;
  std::string folder = dir / "乗";  // 0x81 0x5C: a naive search would cut inside the character
  test::MakeDirectory(folder);
  std::string child = folder + "\\child.exe";
  ASSERT_TRUE(::CopyFileA((test::TestProgramFolder() + "\\child.exe").c_str(), child.c_str(), FALSE));
  std::string result = dir / "result";
  std::string line = "\"" + child + "\" folder " + result;
  ASSERT_TRUE(RunCommandLine(line.c_str(), true));
  EXPECT_EQ(test::ReadTextFile(result), folder);
}

TEST(Startup, FatalErrorTextIsFourPiecesJoined) {
  EXPECT_EQ(FatalErrorText(kWindowNotCreated),
            "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
  EXPECT_EQ(FatalErrorText(kDescriptionUnreadable),
            "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n");
}

TEST(WindowDescription, TheMainWindowDescriptionIsUsable) {
  const WindowDescription& d = MainWindowDescription();
  EXPECT_TRUE(IsUsableDescription(d));
  EXPECT_EQ(d.controls.size(), 12u);
  EXPECT_EQ(d.width, 460);
  EXPECT_EQ(d.height, 196);
}

TEST(WindowDescription, ABrokenDescriptionIsRefused) {
  const WindowDescription& good = MainWindowDescription();
  std::vector<ControlDescription> controls(good.controls.begin(), good.controls.end());

  auto check = [&](auto change) {
    std::vector<ControlDescription> copy = controls;
    WindowDescription d = good;
    change(d, copy);
    d.controls = copy;
    return IsUsableDescription(d);
  };
  EXPECT_TRUE(check([](WindowDescription&, std::vector<ControlDescription>&) {}));
  EXPECT_FALSE(check([](WindowDescription&, std::vector<ControlDescription>& c) { c[3].id = c[4].id; }));
  EXPECT_FALSE(check([](WindowDescription&, std::vector<ControlDescription>& c) { c[0].width = 0; }));
  EXPECT_FALSE(check([](WindowDescription&, std::vector<ControlDescription>& c) { c[1].link = nullptr; }));
  EXPECT_FALSE(check([](WindowDescription& d, std::vector<ControlDescription>&) { d.title = nullptr; }));
  EXPECT_FALSE(check([](WindowDescription&, std::vector<ControlDescription>& c) { c.clear(); }));
}

}  // namespace
}  // namespace xpboot
