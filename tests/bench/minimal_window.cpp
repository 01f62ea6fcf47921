// The yardstick of the start-up benchmark: a Win32 program that only creates and shows a window.
#include <windows.h>

namespace {
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "MinimalWindow";
  ::RegisterClassA(&wc);
  HWND hwnd = ::CreateWindowExA(0, "MinimalWindow", "minimal", WS_CAPTION | WS_SYSMENU, 100, 100, 460,
                                196, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
  return 0;
}
