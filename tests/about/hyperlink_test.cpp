// The hyperlink control against a real hidden window: its window class and what a click
// leaves behind when the target did or did not open.
#include "about/hyperlink.h"

#include <gtest/gtest.h>

#include "about/link_targets.h"
#include "host/handles.h"
#include "web_page_program.h"

namespace xpboot {
namespace {

using test::kUnclaimedTarget;
using test::WebPageProgram;

class HiddenLink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Hyperlink::Register());
    parent_.reset(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                    nullptr, nullptr));
    ASSERT_TRUE(parent_);
  }

  HWND Make(Hyperlink& link) {
    return link.Create(parent_.get(), "软件升级", 10, 10, 48, 15, 1, 0);
  }

  static void ClickOn(HWND link) {
    ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }

  UniqueWindow parent_;
};

TEST_F(HiddenLink, ItsClassRedrawsOnResizeTakesDoubleClicksAndShowsTheProgramsHand) {
  WNDCLASSEXA info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetClassInfoExA(::GetModuleHandleA(nullptr), Hyperlink::kClassName, &info));
  EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(info.hbrBackground, ::GetStockObject(NULL_BRUSH));

  // The cursor is the program's own resource, not a system cursor.
  ASSERT_NE(info.hCursor, nullptr);
  EXPECT_EQ(info.hCursor, ::LoadCursorA(::GetModuleHandleA(nullptr), "HAND_CURSOR"));
  ICONINFO cursor{};
  ASSERT_TRUE(::GetIconInfo(info.hCursor, &cursor));
  UniqueGdiObject mask(cursor.hbmMask), colour(cursor.hbmColor);
  EXPECT_FALSE(cursor.fIcon);
  EXPECT_EQ(cursor.xHotspot, 6u);
  EXPECT_EQ(cursor.yHotspot, 1u);
  // Two colours: a monochrome cursor has only the mask, twice the height.
  EXPECT_FALSE(colour);
  BITMAP bitmap{};
  ASSERT_TRUE(::GetObjectA(mask.get(), sizeof bitmap, &bitmap));
  EXPECT_EQ(bitmap.bmWidth, 32);
  EXPECT_EQ(bitmap.bmHeight, 64);
}

TEST_F(HiddenLink, EveryClickTakesTheVisitedColourFromWhetherItsTargetOpened) {
  LinkSettings settings = kUpdateLink;
  settings.webAddress = kUnclaimedTarget;
  Hyperlink link(settings);
  HWND hwnd = Make(link);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(link.CurrentTextColor(), settings.normalColor);
  {
    WebPageProgram program("{recorder} {log} \"%1\"");
    ClickOn(hwnd);
    EXPECT_TRUE(link.visited());
    EXPECT_EQ(link.CurrentTextColor(), settings.visitedColor);
    // The second press of a double click opens nothing.
    ::SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(program.WaitForLaunches(1));
    ::Sleep(300);
    EXPECT_EQ(program.Launches().size(), 1u);
  }
  // Nothing takes the target now: the visited colour goes again.
  ClickOn(hwnd);
  EXPECT_FALSE(link.visited());
  EXPECT_EQ(link.CurrentTextColor(), settings.normalColor);
}

TEST_F(HiddenLink, AnEmptyTargetOpensNothingAndIsNeverVisited) {
  WebPageProgram program("{recorder} {log} \"%1\"");
  LinkSettings settings = kErrorReportLink;
  settings.emailAddress = "";
  Hyperlink link(settings);
  HWND hwnd = Make(link);
  ClickOn(hwnd);
  EXPECT_FALSE(link.visited());
  ::Sleep(300);
  EXPECT_TRUE(program.Launches().empty());
}

}  // namespace
}  // namespace xpboot
