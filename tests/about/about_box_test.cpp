// The About box of 按钮3 as the user meets it.
#include <gtest/gtest.h>

#include "about_session.h"
#include "version.h"

namespace xpboot::e2e {
namespace {

constexpr int kAbout = 7;  // row of 按钮3 in the description table

class AboutBox : public AboutSession {
 protected:
  // Clicks the About button and returns its box.
  driver::MessageBoxInfo Open() {
    driver::ClickClient(Control(kAbout).hwnd, {50, 25});
    auto box = driver::WaitForMessageBox(program_.pid(), 5000);
    EXPECT_TRUE(box.has_value()) << "no About box";
    return box.value_or(driver::MessageBoxInfo{});
  }
};

TEST_F(AboutBox, ShowsTheCreditsInAPlainTaskModalBoxThatOkEscAndEnterClose) {
  Start();
  DismissWarning();
  driver::MessageBoxInfo box = Open();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.caption, "关于");
  // A first line, an empty line and an indented last line.
  EXPECT_EQ(box.text, "澜禾Win8系统引导xp安装工具 " XPBOOT_VERSION_STRING "\r\n"
                      "\r\n"
                      "    作者：云栈坊  感谢大家的支持！");
  EXPECT_FALSE(box.showsIcon);
  int buttons = 0;
  for (const driver::WindowInfo& child : driver::Children(box.hwnd)) {
    if (child.className == "Button" && child.visible) ++buttons;
  }
  EXPECT_EQ(buttons, 1);
  EXPECT_NE(::GetDlgItem(box.hwnd, IDOK), nullptr);
  EXPECT_EQ(::GetWindow(box.hwnd, GW_OWNER), nullptr) << "no owner window";
  EXPECT_FALSE(::IsWindowEnabled(window_)) << "task-modal: the main window takes no input";
  ::Sleep(200);
  EXPECT_TRUE(driver::SaveWindowPicture(box.hwnd, ScreenshotPath("about-box.bmp")));
  driver::PressOk(box);
  ASSERT_TRUE(driver::WaitUntilGone(box.hwnd, 3000));
  EXPECT_TRUE(driver::WaitFor([&] { return ::IsWindowEnabled(window_) != FALSE; }, 2000));

  for (WORD key : {WORD{VK_ESCAPE}, WORD{VK_RETURN}}) {
    box = Open();
    ASSERT_NE(box.hwnd, nullptr);
    ASSERT_TRUE(driver::WaitFor([&] { return ::GetForegroundWindow() == box.hwnd; }, 5000));
    driver::PressKey(key);
    EXPECT_TRUE(driver::WaitUntilGone(box.hwnd, 3000)) << key;
    // Esc closed only the box, not the main window behind it.
    EXPECT_TRUE(driver::WaitFor([&] { return ::IsWindowEnabled(window_) != FALSE; }, 2000));
  }
  EXPECT_TRUE(::IsWindow(window_));
  EXPECT_FALSE(program_.WaitForExit(300).has_value());
}

}  // namespace
}  // namespace xpboot::e2e
