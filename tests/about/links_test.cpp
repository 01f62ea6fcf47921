// The four links as the user meets them: what a click hands to the shell, what opens
// nothing, and how the colour follows the pointer and the last click.
#include <gtest/gtest.h>

#include <cstdio>

#include "about_session.h"
#include "shell_recorder.h"

namespace xpboot::e2e {
namespace {

// Rows of the description table.
constexpr int kDonate = 1, kErrorReport = 2, kUpdate = 3, kHomePage = 5;

constexpr COLORREF kBlue = 0x00FF0000, kMagenta = 0x00FF00FF;
constexpr COLORREF kHover = 0x00C56A31, kVisited = 0x00000080;

class Links : public AboutSession {
 protected:
  void SetUp() override {
    AboutSession::SetUp();
    recorder_ = std::make_unique<ShellRecorder>();
    ASSERT_TRUE(recorder_->ready());
    Start();
    DismissWarning();
    Settle();
  }
  void TearDown() override {
    AboutSession::TearDown();
    recorder_.reset();
  }

  POINT CentreOf(int row) const {
    RECT r = driver::ScreenRectOf(Control(row).hwnd);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // A spot of the client area that no control covers.
  POINT Away() const {
    POINT p{20, 110};
    ::ClientToScreen(window_, &p);
    return p;
  }
  driver::TextColours ColoursOfLink(int row) const {
    return driver::ColoursOf(driver::CaptureScreen(driver::ScreenRectOf(Control(row).hwnd)));
  }
  // Glides the pointer to `to` and polls until the link's text has the colour: a repaint
  // follows its cause, not at once, and a click keeps the window busy until the shell has
  // taken the target. Meanwhile the pointer stays within a pixel of `to`, as a hand never
  // holds quite still: under Wine a synthesized move can go missing, or arrive late, while
  // a window changes the mouse capture.
  bool GlideAndWaitFor(POINT to, int row, COLORREF colour) const {
    driver::GlideTo(to);
    int nudges = 0;
    return driver::WaitFor(
        [&] {
          if (ColoursOfLink(row).ink == colour) return true;
          driver::MoveTo({to.x + (++nudges % 2), to.y});
          return false;
        },
        5000);
  }
  // What the link and its window show and hold now, for a failure message.
  std::string Describe(int row) const {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window_, nullptr), &gui);
    POINT at{};
    ::GetCursorPos(&at);
    char text[256];
    std::snprintf(text, sizeof text, "ink %06lx, pointer %ld,%ld, link %p, capture %p, active %p",
                  ColoursOfLink(row).ink, at.x, at.y, static_cast<void*>(Control(row).hwnd),
                  static_cast<void*>(gui.hwndCapture), static_cast<void*>(gui.hwndActive));
    return text;
  }
  // Points at the link and presses the left button there, once or twice in quick succession.
  void Press(int row, bool twice = false) const {
    PointAt(row);
    if (twice) {
      driver::DoubleClickAt(CentreOf(row));
    } else {
      driver::ClickAt(CentreOf(row));
    }
  }

  // Brings the pointer onto the link as a hand does, so that the link has taken it (and the
  // capture) before the button goes down.
  void PointAt(int row) const {
    EXPECT_TRUE(GlideAndWaitFor(CentreOf(row), row, kHover)) << "the link did not notice the pointer: " << Describe(row);
  }

  std::unique_ptr<ShellRecorder> recorder_;
};

TEST_F(Links, EachHandsExactlyItsTargetToTheShellOnAPress) {
  struct Case {
    int row;
    const char* target;  // as the shell hands it to the browser or the mail program
  } cases[] = {
      {kHomePage, "http://www.example.com/xpboot/index.html"},
      // The link holds a bare host name; the shell makes it a web address.
      {kUpdate, "http://www.example.org/"},
      // The link holds the bare e-mail address; "mailto:" makes it a mail target.
      {kErrorReport, "mailto:bugs@example.com"},
      {kDonate, "https://shop.example.com/item.htm?id=20130101&from=xpboot"},
  };
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    Press(c.row);
    expected.push_back(c.target);
    ASSERT_TRUE(recorder_->WaitForTargets(expected.size())) << "nothing reached the shell";
    EXPECT_EQ(recorder_->Targets(), expected);
    EXPECT_NE(driver::FocusOf(window_), Control(c.row).hwnd) << "a link never takes the focus";
  }
  EXPECT_TRUE(driver::SaveWindowPicture(window_, ScreenshotPath("links-visited.bmp")));
}

TEST_F(Links, ADoubleClickOpensOnceAndTheRightButtonAndKeysNothing) {
  Press(kErrorReport, true);
  ASSERT_TRUE(recorder_->WaitForTargets(1));

  HWND home = Control(kHomePage).hwnd;
  PointAt(kHomePage);
  driver::RightClickAt(CentreOf(kHomePage));
  // Keys cannot reach a link through the focus; sent to it directly they do nothing either.
  for (WPARAM key : {VK_RETURN, VK_SPACE}) {
    ::PostMessageA(home, WM_KEYDOWN, key, 1);
    ::PostMessageA(home, WM_CHAR, key, 1);
    ::PostMessageA(home, WM_KEYUP, key, 0xC0000001);
  }
  ::Sleep(2000);  // winebrowser takes a good half second to report a target
  EXPECT_EQ(recorder_->Targets(), std::vector<std::string>{"mailto:bugs@example.com"});
  EXPECT_TRUE(GlideAndWaitFor(Away(), kHomePage, kMagenta)) << "the right button made the link visited";
  EXPECT_TRUE(::IsWindow(window_));
  EXPECT_TRUE(driver::OpenMessageBoxes(program_.pid()).empty());
}

TEST_F(Links, TheColourFollowsThePointerAndTheLastClick) {
  // At rest: magenta for the home page, blue for the others, all on the button face.
  for (int row : {kHomePage, kUpdate, kErrorReport, kDonate}) {
    driver::TextColours colours = ColoursOfLink(row);
    EXPECT_EQ(colours.ink, row == kHomePage ? kMagenta : kBlue) << row;
    EXPECT_EQ(colours.ground, ::GetSysColor(COLOR_BTNFACE)) << row;
  }

  for (int round = 0; round < 2; ++round) {
    EXPECT_TRUE(GlideAndWaitFor(CentreOf(kUpdate), kUpdate, kHover)) << "round " << round;
    EXPECT_EQ(ColoursOfLink(kDonate).ink, kBlue) << "only the link under the pointer";
    // Leaving restores the colour without a click anywhere.
    EXPECT_TRUE(GlideAndWaitFor(Away(), kUpdate, kBlue)) << "round " << round;
  }

  // A successful click: hover wins while the pointer stays, visited once it has gone.
  Press(kUpdate);
  ASSERT_TRUE(recorder_->WaitForTargets(1));
  EXPECT_EQ(ColoursOfLink(kUpdate).ink, kHover);
  EXPECT_TRUE(GlideAndWaitFor(Away(), kUpdate, kVisited));
  EXPECT_TRUE(GlideAndWaitFor(CentreOf(kUpdate), kUpdate, kHover));
  EXPECT_TRUE(GlideAndWaitFor(Away(), kUpdate, kVisited));
  EXPECT_EQ(ColoursOfLink(kErrorReport).ink, kBlue) << "the other links were not clicked";
}

}  // namespace
}  // namespace xpboot::e2e
