#include "app/window_base.h"

namespace xpboot {

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool RegisterWindowClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor,
                         HBRUSH background) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(instance, name, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return ::RegisterClassExA(&wc) != 0;
}

}  // namespace xpboot
