// How the window and its controls look on the screen: colours, the button face of the
// user's colour scheme, and where and in which font each text stands in its control.
#include <gtest/gtest.h>

#include <string>

#include "host/handles.h"
#include "registry_override.h"
#include "about_session.h"

namespace xpboot::e2e {
namespace {

// Rows of the description table.
constexpr int kGroupLine = 0, kErrorReport = 2, kUpdate = 3, kHomePage = 5, kStatus = 6;
constexpr int kAbout = 7, kRestore = 10, kInstall = 11;

constexpr COLORREF kRed = 255, kBlue = 0xFF0000, kGroupLineColour = 0x00C06000;

struct Shown {
  driver::TextColours colours;
  RECT ink{};  // in the control's client area
  SIZE size{};
};

// inset: a border of the control to leave out, such as a button's frame and focus rectangle.
Shown ShownIn(HWND control, int inset = 0) {
  RECT area = driver::ScreenRectOf(control);
  Shown shown{{}, {}, {area.right - area.left, area.bottom - area.top}};
  ::InflateRect(&area, -inset, -inset);
  driver::ScreenArea picture = driver::CaptureScreen(area);
  shown.colours = driver::ColoursOf(picture);
  shown.ink = driver::InkBox(picture, shown.colours);
  if (shown.colours.ink != CLR_INVALID) ::OffsetRect(&shown.ink, inset, inset);
  return shown;
}

// How DrawText lays a line out in the default GUI font in this prefix: the size of its cell
// and where its ink stands in that cell.
struct Layout {
  SIZE cell{};
  RECT ink{};
};

Layout LaidOutInDefaultGuiFont(const char* text) {
  constexpr int kWidth = 640, kHeight = 64;
  HDC dc = ::CreateCompatibleDC(nullptr);
  ScopeExit deleteDc([&] { ::DeleteDC(dc); });
  BITMAPINFO format{};
  format.bmiHeader = {sizeof format.bmiHeader, kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  UniqueGdiObject bitmap(::CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  SelectScope selectBitmap(dc, bitmap.get());
  SelectScope selectFont(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  RECT cell{0, 0, 0, 0};
  ::DrawTextA(dc, text, -1, &cell, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::DrawTextA(dc, text, -1, &cell, DT_SINGLELINE | DT_NOPREFIX);
  ::GdiFlush();

  driver::ScreenArea picture;
  picture.width = kWidth;
  picture.height = kHeight;
  const auto* pixels = static_cast<const RGBQUAD*>(bits);
  for (int i = 0; i < kWidth * kHeight; ++i) {
    picture.pixels.push_back(RGB(pixels[i].rgbRed, pixels[i].rgbGreen, pixels[i].rgbBlue));
  }
  return {{cell.right, cell.bottom}, driver::InkBox(picture, driver::ColoursOf(picture))};
}

enum class Align { Left, Centre };

// Whether the control shows the text on one line in the default GUI font (its ink is as
// wide and as high), placed as DrawText places it with the alignment and vertical centring
// (to within `tolerance` pixels), and cut at the control's edges.
::testing::AssertionResult ShowsLine(HWND control, const char* text, Align align,
                                     int inset = 0, int tolerance = 0) {
  Shown shown = ShownIn(control, inset);
  Layout layout = LaidOutInDefaultGuiFont(text);
  RECT expected = layout.ink;
  int left = align == Align::Left ? 0 : (shown.size.cx - layout.cell.cx) / 2;
  ::OffsetRect(&expected, left, (shown.size.cy - layout.cell.cy) / 2);
  RECT client{0, 0, shown.size.cx, shown.size.cy};
  ::IntersectRect(&expected, &expected, &client);
  auto close = [&](LONG a, LONG b) { return a - b <= tolerance && b - a <= tolerance; };
  bool sameSize = shown.ink.right - shown.ink.left == expected.right - expected.left &&
                  shown.ink.bottom - shown.ink.top == expected.bottom - expected.top;
  if (sameSize && close(shown.ink.left, expected.left) && close(shown.ink.top, expected.top)) {
    return ::testing::AssertionSuccess();
  }
  auto describe = [](const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
  };
  return ::testing::AssertionFailure() << "ink at " << describe(shown.ink) << ", expected at "
                                       << describe(expected);
}

class Looks : public AboutSession {
 protected:
  // A spot of the client area that no control covers.
  driver::TextColours EmptySpot() const {
    RECT spot{8, 80, 72, 150};
    ::MapWindowPoints(window_, HWND_DESKTOP, reinterpret_cast<POINT*>(&spot), 2);
    return driver::ColoursOf(driver::CaptureScreen(spot));
  }
  void SetText(HWND control, const char* text) const {
    ::SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, 2000, nullptr);
    ::InvalidateRect(control, nullptr, FALSE);
  }
};

TEST_F(Looks, EveryTextStandsWhereItsAlignmentPutsItInTheDefaultGuiFont) {
  Start();
  DismissWarning();
  Activate();
  Settle();
  EXPECT_TRUE(driver::SaveWindowPicture(window_, ScreenshotPath("window-active.bmp")));
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(EmptySpot().ground, face);
  EXPECT_EQ(EmptySpot().ink, CLR_INVALID) << "the window paints nothing but its background";

  // Labels: colours as stored, left-aligned and centred in the height on the button face.
  EXPECT_EQ(ShownIn(Control(kStatus).hwnd).colours.ink, kRed);
  EXPECT_EQ(ShownIn(Control(kGroupLine).hwnd).colours.ink, kGroupLineColour);
  for (int row : {kStatus, kGroupLine}) {
    EXPECT_EQ(ShownIn(Control(row).hwnd).colours.ground, face) << row;
  }
  EXPECT_TRUE(ShowsLine(Control(kGroupLine).hwnd, "Win8交流群：271828", Align::Left));
  // Wider than its 240 pixels: one line from the left edge, cut at the right edge,
  // neither wrapped nor shortened.
  EXPECT_TRUE(ShowsLine(Control(kStatus).hwnd, "点击安装后 请5秒后关闭本程序才能执行完命令", Align::Left));
  EXPECT_GE(ShownIn(Control(kStatus).hwnd).ink.right, 239);

  // Links: centred both ways.
  EXPECT_TRUE(ShowsLine(Control(kHomePage).hwnd, "作者小站：云栈坊 希望大家多多支持谢谢！ 点我哦！", Align::Centre));
  EXPECT_TRUE(ShowsLine(Control(kErrorReport).hwnd, "软件报错", Align::Centre));

  // Buttons: captions centred both ways, drawn by the system in the default GUI font.
  struct Button {
    int row;
    const char* caption;
  } buttons[] = {{kInstall, "安装"}, {kRestore, "还原"}, {kAbout, "关于"}};
  for (const Button& b : buttons) {
    constexpr int kFrame = 6;
    EXPECT_EQ(ShownIn(Control(b.row).hwnd, kFrame).colours.ink, ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_TRUE(ShowsLine(Control(b.row).hwnd, b.caption, Align::Centre, kFrame, 2)) << b.caption;
  }

  // With no text, a label paints only its background and a link shows its target: here
  // the bare e-mail address, wider than the link, centred and cut at both edges.
  SetText(Control(kGroupLine).hwnd, "");
  EXPECT_TRUE(driver::WaitFor([&] { return ShownIn(Control(kGroupLine).hwnd).colours.ink == CLR_INVALID; }, 5000));
  SetText(Control(kErrorReport).hwnd, "");
  EXPECT_TRUE(driver::WaitFor(
      [&] { return ShowsLine(Control(kErrorReport).hwnd, "bugs@example.com", Align::Centre); },
      5000));
  EXPECT_EQ(ShownIn(Control(kErrorReport).hwnd).colours.ink, kBlue);
  // An '&' in a caption is shown as it is and underlines nothing.
  SetText(Control(kUpdate).hwnd, "R&D");
  EXPECT_TRUE(driver::WaitFor([&] { return ShowsLine(Control(kUpdate).hwnd, "R&D", Align::Centre); }, 5000));
}

TEST_F(Looks, AnInstallationFoundAtStartShowsInBlue) {
  ASSERT_TRUE(::CopyFileA("C:\\bootmgr", "C:\\bootmgr2", FALSE));
  Start();
  DismissWarning();  // the box would stand over the status line
  Settle();
  EXPECT_EQ(ShownIn(Control(kStatus).hwnd).colours.ink, kBlue);
  EXPECT_TRUE(ShowsLine(Control(kStatus).hwnd, "引导文件已经安装", Align::Left));
}

TEST_F(Looks, TheBackgroundsFollowTheButtonFaceOfTheColourScheme) {
  // Read by the program when it starts, as a user's colour scheme is.
  const COLORREF face = RGB(200, 230, 170);
  test::RegistryOverride scheme(HKEY_CURRENT_USER, "Control Panel\\Colors", "ButtonFace",
                                "200 230 170");
  ASSERT_TRUE(scheme.applied());
  Start();
  DismissWarning();
  Settle();
  EXPECT_EQ(EmptySpot().ground, face);
  for (int row : {kGroupLine, kErrorReport, kHomePage, kStatus}) {
    EXPECT_EQ(ShownIn(Control(row).hwnd).colours.ground, face) << row;
  }
  EXPECT_EQ(ShownIn(Control(kStatus).hwnd).colours.ink, kRed);
}

}  // namespace
}  // namespace xpboot::e2e
