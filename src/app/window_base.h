// A window object behind an HWND: `this` travels in the creation parameter, is kept in
// GWLP_USERDATA from WM_NCCREATE on, and every message goes to the object's HandleMessage.
#pragma once

#include <windows.h>

#include <string>

namespace xpboot {

template <typename Derived>
class WindowBase {
 public:
  WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const noexcept { return hwnd_; }

 protected:
  ~WindowBase() = default;

  HWND CreateWindowFor(const char* className, const char* text, DWORD style, int x, int y,
                       int width, int height, HWND parent, UINT_PTR id = 0) {
    return ::CreateWindowExA(0, className, text, style, x, y, width, height, parent,
                             reinterpret_cast<HMENU>(id), ::GetModuleHandleA(nullptr), this);
  }

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Derived* self = nullptr;
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
      self = static_cast<Derived*>(static_cast<WindowBase*>(create->lpCreateParams));
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return ::DefWindowProcA(hwnd, msg, wp, lp);

    LRESULT result = 0;
    // No exception may unwind through the system's code that called us.
    try {
      result = self->HandleMessage(msg, wp, lp);
    } catch (...) {
      result = ::DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefWindowProcA(hwnd_, msg, wp, lp); }

 private:
  HWND hwnd_ = nullptr;
};

// The window's text as it is now.
std::string WindowText(HWND hwnd);

// Registers a window class once per process; false when the system refuses it.
bool RegisterWindowClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor,
                         HBRUSH background);

}  // namespace xpboot
