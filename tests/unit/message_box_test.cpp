#include "host/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace xpboot {
namespace {

TEST(ShowMessageBox, ButtonNumbersFollowTheButtonOrder) {
  struct Case {
    int returned;
    int number;
  } cases[] = {{IDOK, 0},     {IDCANCEL, 1}, {IDABORT, 2}, {IDRETRY, 3}, {IDIGNORE, 4},
               {IDYES, 5},    {IDNO, 6},     {0, 0},       {IDCLOSE, 0}, {IDHELP, 0}};
  for (const Case& c : cases) EXPECT_EQ(ButtonNumberFor(c.returned), c.number) << c.returned;
}

TEST(ShowMessageBox, OtherValuesBecomeText) {
  EXPECT_EQ(MessageText(std::int32_t{-42}), "-42");
  EXPECT_EQ(MessageText(std::uint8_t{255}), "255");
  EXPECT_EQ(MessageText(std::int64_t{-9000000000}), "-9000000000");
  EXPECT_EQ(MessageText(1.0f / 3), "0.333333");
  EXPECT_EQ(MessageText(1.0 / 3), "0.3333333333333");
  EXPECT_EQ(MessageText(true), "真");
  EXPECT_EQ(MessageText(false), "假");
  struct Case {
    WORD hour, minute, second;
    const char* text;
  } times[] = {{10, 5, 9, "2026年12月11日10时5分9秒"},
               {10, 5, 0, "2026年12月11日10时5分"},
               {10, 0, 0, "2026年12月11日10时"},
               {0, 0, 7, "2026年12月11日0时0分7秒"},
               {0, 0, 0, "2026年12月11日"}};
  for (const Case& c : times) {
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 11;
    t.wHour = c.hour;
    t.wMinute = c.minute;
    t.wSecond = c.second;
    EXPECT_EQ(MessageText(t), c.text);
  }
}

struct SeenBox {
  std::string caption;
  std::string text;
};

// Waits on another thread for this process's message box with the caption, notes what it
// shows and closes it the given way.
std::thread CloseBoxLater(const char* caption, SeenBox& seen, int how) {
  return std::thread([caption, &seen, how] {
    HWND box = nullptr;
    for (int i = 0; i < 200 && box == nullptr; ++i) {
      ::Sleep(25);
      box = ::FindWindowA("#32770", caption);
    }
    if (box == nullptr) return;
    char buffer[512] = {};
    ::GetWindowTextA(box, buffer, sizeof buffer);
    seen.caption = buffer;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      char cls[32] = {};
      ::GetClassNameA(child, cls, sizeof cls);
      buffer[0] = '\0';
      ::GetWindowTextA(child, buffer, sizeof buffer);
      if (std::string(cls) == "Static" && buffer[0] != '\0') seen.text = buffer;
    }
    HWND ok = ::GetDlgItem(box, IDOK);
    switch (how) {
      case 0: ::PostMessageA(ok, BM_CLICK, 0, 0); break;
      case 1: ::PostMessageA(ok, WM_KEYDOWN, VK_RETURN, 0); break;
      case 2: ::PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0); break;
      default: ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
  });
}

TEST(ShowMessageBox, EveryWayOfClosingAnOkBoxGivesZero) {
  for (int how = 0; how < 4; ++how) {
    SeenBox seen;
    std::thread closer = CloseBoxLater("关于", seen, how);
    EXPECT_EQ(ShowMessageBox("第一行\r\n\r\n    最后一行", 0, "关于"), 0) << "way " << how;
    closer.join();
    EXPECT_EQ(seen.caption, "关于");
    EXPECT_EQ(seen.text, "第一行\r\n\r\n    最后一行");
  }
}

TEST(ShowMessageBox, ALeftOutCaptionShowsTheDefault) {
  SeenBox seen;
  std::thread closer = CloseBoxLater(kDefaultMessageCaption, seen, 0);
  EXPECT_EQ(ShowMessageBox("x"), 0);
  closer.join();
  EXPECT_EQ(seen.caption, "信息：");
  EXPECT_EQ(seen.text, "x");
}

TEST(ShowMessageBox, ValuesOfOtherKindsAreShownAsText) {
  SeenBox seen;
  std::thread closer = CloseBoxLater("值", seen, 0);
  ShowMessageBox(false, 0, "值");
  closer.join();
  EXPECT_EQ(seen.text, "假");
}

}  // namespace
}  // namespace xpboot
