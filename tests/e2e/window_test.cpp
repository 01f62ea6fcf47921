// The main window as the user sees it: place, controls, warning, status line and keyboard.
#include <gtest/gtest.h>

#include "session.h"

namespace xpboot::e2e {
namespace {

using driver::WindowInfo;

struct ExpectedControl {
  const char* className;
  RECT rect;  // left, top, right, bottom in the client area
  const char* text;
  bool visible;
};

// In the order of the description table, 标签2 first, 按钮1 last.
const ExpectedControl kControls[] = {
    {"XpbootLabel", {168, 145, 288, 161}, "Win8交流群：271828", true},
    {"XpbootHyperlink", {304, 125, 368, 140}, "捐给开发者", true},
    {"XpbootHyperlink", {200, 125, 248, 140}, "软件报错", true},
    {"XpbootHyperlink", {96, 125, 144, 140}, "软件升级", true},
    {"XpbootTimer", {440, 208, 456, 216}, "", false},
    {"XpbootHyperlink", {80, 96, 392, 120}, "作者小站：云栈坊 希望大家多多支持谢谢！ 点我哦！", true},
    {"XpbootLabel", {110, 72, 350, 87}, "点击安装后 请5秒后关闭本程序才能执行完命令", true},
    {"Button", {320, 15, 420, 65}, "关于", true},
    {"XpbootTimer", {440, 200, 472, 224}, "", false},
    {"XpbootArchive", {416, 192, 456, 216}, "", false},
    {"Button", {180, 15, 280, 65}, "还原", true},
    {"Button", {40, 15, 140, 65}, "安装", true},
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

class Window : public Session {};

TEST_F(Window, IsCentredAtItsFixedSizeWithTwelveControlsInPlace) {
  Start();
  WindowInfo main = driver::Inspect(window_);
  EXPECT_EQ(main.text, kTitle);
  int width = ::GetSystemMetrics(SM_CXSCREEN);
  int height = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(main.rect.right - main.rect.left, 460);
  EXPECT_EQ(main.rect.bottom - main.rect.top, 196);
  EXPECT_EQ(main.rect.left, (width - 460) / 2);
  EXPECT_EQ(main.rect.top, (height - 196) / 2);
  EXPECT_EQ(main.style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN),
            static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN));
  EXPECT_EQ(main.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  EXPECT_EQ(main.exStyle & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0u);
  EXPECT_EQ(::GetWindow(window_, GW_OWNER), nullptr);
  // The icons are checked in-process (controls_test): Wine does not carry WM_GETICON
  // across processes.

  std::vector<WindowInfo> children = driver::Children(window_);
  ASSERT_EQ(children.size(), 12u);
  for (std::size_t i = 0; i < 12; ++i) {
    const ExpectedControl& expected = kControls[i];
    const WindowInfo& child = children[11 - i];  // created from the last row to the first
    SCOPED_TRACE("row " + std::to_string(i + 1) + " " + expected.text);
    EXPECT_EQ(child.className, expected.className);
    EXPECT_TRUE(SameRect(child.rect, expected.rect)) << Describe(child.rect);
    EXPECT_EQ(child.text, expected.text);
    EXPECT_EQ(child.visible, expected.visible);
    EXPECT_TRUE(child.enabled);
    EXPECT_EQ(child.exStyle, 0u);
    EXPECT_TRUE(child.style & WS_CLIPSIBLINGS);
    if (child.className == "Button") {
      EXPECT_EQ(child.style & 0x0F, static_cast<DWORD>(BS_PUSHBUTTON));
      EXPECT_EQ(child.style & (WS_TABSTOP | BS_MULTILINE | BS_CENTER | BS_VCENTER),
                static_cast<DWORD>(WS_TABSTOP | BS_MULTILINE | BS_CENTER | BS_VCENTER));
    } else {
      EXPECT_FALSE(child.style & WS_TABSTOP);
    }
  }
  DismissWarning();
  ::Sleep(300);
  EXPECT_TRUE(driver::SaveWindowPicture(window_, ScreenshotPath("window.bmp")));
}

TEST_F(Window, WarnsOnceHalfASecondAfterStart) {
  Start();
  auto box = driver::WaitForMessageBox(program_.pid(), 5000);
  ASSERT_TRUE(box.has_value());
  // The timer is armed just before the window is shown; allow for Wine's scheduling.
  DWORD delay = box->seenAt - windowSeenAt_;
  EXPECT_GE(delay, 250u);
  EXPECT_LE(delay, 1500u);
  EXPECT_EQ(box->caption, "警告");
  EXPECT_EQ(box->text, kWarningText);
  EXPECT_FALSE(box->showsIcon);
  EXPECT_EQ(::GetDlgItem(box->hwnd, IDCANCEL), nullptr);
  EXPECT_FALSE(::IsWindowEnabled(window_)) << "the box is task-modal";
  driver::PressOk(*box);
  ASSERT_TRUE(driver::WaitUntilGone(box->hwnd, 3000));
  EXPECT_TRUE(driver::WaitFor([&] { return ::IsWindowEnabled(window_) != FALSE; }, 2000));
  ::Sleep(1500);
  EXPECT_TRUE(driver::OpenMessageBoxes(program_.pid()).empty()) << "the warning came twice";
}

class StatusAtStart : public Session, public ::testing::WithParamInterface<int> {};

// 0: nothing installed; 1: C:\bootmgr2 is a file; 2: C:\bootmgr2 is a folder.
TEST_P(StatusAtStart, ReportsAnInstallationLeftOnDriveC) {
  if (GetParam() == 1) ::CopyFileA("C:\\bootmgr", "C:\\bootmgr2", FALSE);
  if (GetParam() == 2) ::CreateDirectoryA("C:\\bootmgr2", nullptr);
  Start();
  WindowInfo label = StatusLabel();
  if (GetParam() == 0) {
    EXPECT_EQ(label.text, "点击安装后 请5秒后关闭本程序才能执行完命令");
    EXPECT_EQ(label.rect.left, 110);
  } else {
    EXPECT_EQ(label.text, "引导文件已经安装");
    EXPECT_EQ(label.rect.left, 182);
  }
  EXPECT_EQ(label.rect.top, 72);
  EXPECT_EQ(label.rect.right - label.rect.left, 240);
  DismissWarning();
}

INSTANTIATE_TEST_SUITE_P(Marker, StatusAtStart, ::testing::Values(0, 1, 2));

TEST_F(Window, EscClosesEnterAndF1DoNothingTabVisitsTheButtons) {
  Start();
  DismissWarning();
  Activate();
  HWND install = Control(11).hwnd, restore = Control(10).hwnd, about = Control(7).hwnd;
  ASSERT_TRUE(driver::WaitFor([&] { return driver::FocusOf(window_) == install; }, 2000))
      << "the Install button should have the focus";

  driver::PressKey(VK_TAB);
  EXPECT_TRUE(driver::WaitFor([&] { return driver::FocusOf(window_) == restore; }, 1000));
  driver::PressKey(VK_TAB);
  EXPECT_TRUE(driver::WaitFor([&] { return driver::FocusOf(window_) == about; }, 1000));
  driver::PressKey(VK_TAB);
  EXPECT_TRUE(driver::WaitFor([&] { return driver::FocusOf(window_) == install; }, 1000));
  driver::PressKey(VK_TAB, false, true);
  EXPECT_TRUE(driver::WaitFor([&] { return driver::FocusOf(window_) == about; }, 1000));

  // Enter on the focused About button and F1 open nothing.
  driver::PressKey(VK_RETURN);
  driver::PressKey(VK_F1);
  ::Sleep(700);
  EXPECT_TRUE(driver::OpenMessageBoxes(program_.pid()).empty());
  EXPECT_TRUE(::IsWindow(window_));

  driver::PressKey(VK_ESCAPE);
  EXPECT_EQ(program_.WaitForExit(5000), std::optional<DWORD>(0));
}

TEST_F(Window, TheCloseBoxAndAltF4EndTheProgramWithExitCodeZero) {
  Start();
  DismissWarning();
  auto close = driver::FindCloseBox(window_);
  ASSERT_TRUE(close.has_value()) << "no close box on the caption";
  driver::ClickAt(*close);
  EXPECT_EQ(program_.WaitForExit(5000), std::optional<DWORD>(0));

  Start();
  DismissWarning();
  Activate();
  driver::PressKey(VK_F4, true);
  EXPECT_EQ(program_.WaitForExit(5000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace xpboot::e2e
