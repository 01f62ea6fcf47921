#include "host/handles.h"

#include <gtest/gtest.h>

namespace xpboot {
namespace {

bool IsOpen(HANDLE h) {
  DWORD flags = 0;
  return ::GetHandleInformation(h, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesExactlyOnceWhateverPathIsTaken) {
  HANDLE raw = nullptr;
  {
    UniqueKernelHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    raw = event.get();
    UniqueKernelHandle moved(std::move(event));
    EXPECT_FALSE(event);
    EXPECT_EQ(moved.get(), raw);
    UniqueKernelHandle assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.get(), raw);
    EXPECT_TRUE(IsOpen(raw));
  }
  EXPECT_FALSE(IsOpen(raw));

  {
    UniqueKernelHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    raw = event.release();
  }
  EXPECT_TRUE(IsOpen(raw));  // a released handle is the caller's
  ::CloseHandle(raw);

  UniqueKernelHandle first(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  HANDLE replaced = first.get();
  first.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  EXPECT_FALSE(IsOpen(replaced));
  EXPECT_TRUE(IsOpen(first.get()));
}

TEST(UniqueHandle, KnowsWhichValueMeansNoHandle) {
  UniqueFileHandle failedOpen(::CreateFileA("C:\\xpboot-no-such-file", GENERIC_READ, 0, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(failedOpen);  // INVALID_HANDLE_VALUE, never closed
  UniqueKernelHandle none;
  EXPECT_FALSE(none);
  WIN32_FIND_DATAA data;
  UniqueFindHandle find(::FindFirstFileA("C:\\xpboot-no-such-file*", &data));
  EXPECT_FALSE(find);
}

TEST(ScopeExit, RunsUnlessDismissed) {
  int runs = 0;
  {
    ScopeExit guard([&] { ++runs; });
  }
  {
    ScopeExit guard([&] { ++runs; });
    guard.dismiss();
  }
  EXPECT_EQ(runs, 1);
}

TEST(SelectScope, PutsThePreviousObjectBackIntoTheRightDc) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ original = ::GetCurrentObject(dc, OBJ_BRUSH);
  {
    UniqueGdiObject brush(::CreateSolidBrush(RGB(1, 2, 3)));
    SelectScope select(dc, brush.get());
    EXPECT_EQ(select.dc(), dc);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brush.get());
  }
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), original);
  ::DeleteDC(dc);
}

}  // namespace
}  // namespace xpboot
