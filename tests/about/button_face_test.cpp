// The backgrounds follow the button-face colour when the user changes it while the program
// runs: the window, the labels and the links look it up at every paint.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/window_description.h"
#include "host/handles.h"
#include "test_support.h"

namespace xpboot {
namespace {

COLORREF PixelOf(HWND hwnd, POINT client) {
  HDC dc = ::GetDC(hwnd);
  COLORREF colour = ::GetPixel(dc, client.x, client.y);
  ::ReleaseDC(hwnd, dc);
  return colour;
}

TEST(ButtonFace, AChangeOfTheColourShowsAtTheNextPaint) {
  WindowDescription description = MainWindowDescription();
  description.created = Procedure::None;  // no start-up check, no warning box
  MainWindow window(description);
  ASSERT_TRUE(window.Create());
  auto child = [&](ControlId id) {
    return ::GetDlgItem(window.hwnd(), static_cast<int>(ControlIdentifier(id)));
  };
  // Spots that only the background covers: an empty part of the window, and the top rows
  // of the labels and of the tall link, above their text.
  struct Spot {
    HWND hwnd;
    POINT at;
  } spots[] = {{window.hwnd(), {8, 100}},
               {child(ControlId::标签1), {100, 0}},
               {child(ControlId::标签2), {60, 0}},
               {child(ControlId::超级链接框1), {150, 1}}};

  const COLORREF original = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF changed = original == RGB(200, 230, 170) ? RGB(190, 210, 250) : RGB(200, 230, 170);
  const INT element = COLOR_BTNFACE;
  ScopeExit restore([&] { ::SetSysColors(1, &element, &original); });

  test::PumpMessagesFor(200);
  for (const Spot& s : spots) EXPECT_EQ(PixelOf(s.hwnd, s.at), original);

  ASSERT_TRUE(::SetSysColors(1, &element, &changed));
  ::RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::PumpMessagesFor(100);
  for (const Spot& s : spots) EXPECT_EQ(PixelOf(s.hwnd, s.at), changed);
}

}  // namespace
}  // namespace xpboot
