// The status line and the timers against real (hidden) windows.
#include <gtest/gtest.h>

#include <vector>

#include "app/label.h"
#include "app/main_window.h"
#include "app/timer_control.h"
#include "app/window_description.h"
#include "test_support.h"

namespace xpboot {
namespace {

// A hidden parent for controls tested on their own.
class HiddenParent {
 public:
  HiddenParent()
      : hwnd_(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr)) {
    TimerControl::Register();
    Label::Register();
  }
  ~HiddenParent() { ::DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// Times, in milliseconds after the start, at which a timer fired while messages were pumped.
struct FiringLog {
  DWORD start = ::GetTickCount();
  std::vector<DWORD> at;
  void Fired() { at.push_back(::GetTickCount() - start); }
};

TEST(TimerControl, APositivePeriodFiresEveryPeriodUntilDisarmed) {
  HiddenParent parent;
  FiringLog log;
  TimerControl timer([&] { log.Fired(); });
  ASSERT_NE(timer.Create(parent.hwnd(), 0, 0, 16, 8, 1, 0), nullptr);
  timer.SetPeriod(200);
  EXPECT_TRUE(timer.armed());
  test::PumpMessagesFor(700);
  ASSERT_GE(log.at.size(), 2u);
  EXPECT_GE(log.at[0], 180u);
  EXPECT_LT(log.at[0], 400u);
  timer.SetPeriod(0);
  EXPECT_FALSE(timer.armed());
  std::size_t fired = log.at.size();
  test::PumpMessagesFor(500);
  EXPECT_EQ(log.at.size(), fired);
}

TEST(TimerControl, TheSamePeriodAgainDoesNotRestartTheCount) {
  HiddenParent parent;
  FiringLog log;
  TimerControl timer([&] {
    log.Fired();
  });
  timer.Create(parent.hwnd(), 0, 0, 16, 8, 1, 0);
  timer.SetPeriod(600);
  test::PumpMessagesFor(350);
  timer.SetPeriod(600);  // a second Install click within the period
  test::PumpMessagesFor(450);
  ASSERT_FALSE(log.at.empty());
  EXPECT_LT(log.at[0], 780u) << "the count was restarted";

  // A different period does restart it.
  FiringLog second;
  TimerControl other([&] { second.Fired(); });
  other.Create(parent.hwnd(), 0, 0, 16, 8, 2, 0);
  other.SetPeriod(400);
  test::PumpMessagesFor(250);
  other.SetPeriod(500);
  test::PumpMessagesFor(700);
  ASSERT_FALSE(second.at.empty());
  EXPECT_GE(second.at[0], 700u);
}

TEST(TimerControl, NegativeAndZeroPeriodsDisarmBeforeAnyEvent) {
  HiddenParent parent;
  int fired = 0;
  TimerControl timer([&] { ++fired; });
  timer.Create(parent.hwnd(), 0, 0, 16, 8, 1, 0);
  for (int off : {0, -5}) {
    timer.SetPeriod(150);
    timer.SetPeriod(off);
    EXPECT_EQ(timer.period(), 0);
    EXPECT_FALSE(timer.armed());
    test::PumpMessagesFor(400);
    EXPECT_EQ(fired, 0) << off;
  }
}

TEST(Label, LeftEdgeIsClampedTo32627) {
  struct Case {
    int given, placed;
  } cases[] = {{205, 205}, {32627, 32627}, {32628, 32627}, {100000, 32627},
               {-32627, -32627}, {-40000, -32627}, {0, 0}};
  for (const Case& c : cases) EXPECT_EQ(ClampLabelLeft(c.given), c.placed) << c.given;
}

// The main window built from its own description, but hidden and without its created event.
class HiddenMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    description_ = MainWindowDescription();
    description_.visible = false;
    description_.created = Procedure::None;
    window_ = std::make_unique<MainWindow>(description_);
    ASSERT_TRUE(window_->Create());
    label_ = ::GetDlgItem(window_->hwnd(), static_cast<int>(ControlIdentifier(ControlId::标签1)));
    ASSERT_NE(label_, nullptr);
    test::PumpMessagesFor(50);
  }

  RECT LabelRect() const {
    RECT r;
    ::GetWindowRect(label_, &r);
    ::MapWindowPoints(HWND_DESKTOP, window_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  WindowDescription description_;
  std::unique_ptr<MainWindow> window_;
  HWND label_ = nullptr;
};

TEST_F(HiddenMainWindow, StatusLineMovesTheLabelSidewaysAndSetsTextAndColour) {
  EXPECT_FALSE(::IsWindowVisible(window_->hwnd()));
  RECT before = LabelRect();
  EXPECT_EQ(before.left, 110);
  EXPECT_EQ(before.top, 72);

  window_->StatusLine("安装完成", 255, 205);
  RECT after = LabelRect();
  EXPECT_EQ(after.left, 205);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, 240);
  EXPECT_EQ(after.bottom - after.top, 15);
  char text[64] = {};
  ::GetWindowTextA(label_, text, sizeof text);
  EXPECT_STREQ(text, "安装完成");

  window_->StatusLine("x", 0xFF0000, 50000);
  EXPECT_EQ(LabelRect().left, 32627);
  window_->StatusLine("x", 0xFF0000, -50000);
  EXPECT_EQ(LabelRect().left, -32627);
}

TEST_F(HiddenMainWindow, TimersAreRoutedToTheirOwnControls) {
  window_->SetTimerPeriod(Timer::时钟1, 5000);
  window_->SetTimerPeriod(Timer::时钟2, 0);
  // 时钟1 runs on its own window with the identifier 1000: killing it there must succeed.
  HWND install = ::GetDlgItem(window_->hwnd(), static_cast<int>(ControlIdentifier(ControlId::时钟1)));
  HWND warning = ::GetDlgItem(window_->hwnd(), static_cast<int>(ControlIdentifier(ControlId::时钟2)));
  EXPECT_FALSE(::KillTimer(warning, TimerControl::kTimerId));
  EXPECT_TRUE(::KillTimer(install, TimerControl::kTimerId));
}

TEST_F(HiddenMainWindow, CarriesTheProgramIconInBothSizes) {
  auto big = reinterpret_cast<HICON>(::SendMessageA(window_->hwnd(), WM_GETICON, ICON_BIG, 0));
  auto small = reinterpret_cast<HICON>(::SendMessageA(window_->hwnd(), WM_GETICON, ICON_SMALL, 0));
  ASSERT_NE(big, nullptr);
  ASSERT_NE(small, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(small, &info));
  BITMAP bitmap{};
  ::GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
}

}  // namespace
}  // namespace xpboot
