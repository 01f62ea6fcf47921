#include "app/label.h"

#include "host/handles.h"

namespace xpboot {

int ClampLabelLeft(int left) {
  constexpr int kLimit = 32627;
  return left < -kLimit ? -kLimit : left > kLimit ? kLimit : left;
}

bool Label::Register() {
  return RegisterWindowClass(kClassName, &WindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                             ::LoadCursorA(nullptr, IDC_ARROW),
                             static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
}

HWND Label::Create(HWND parent, const char* text, int x, int y, int width, int height,
                   UINT_PTR id, DWORD extraStyle) {
  return CreateWindowFor(kClassName, text, WS_CHILD | WS_CLIPSIBLINGS | extraStyle, x, y, width,
                         height, parent, id);
}

void Label::SetTextColor(COLORREF color) {
  textColor_ = color;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void Label::SetLeft(int left) {
  RECT rect;
  ::GetWindowRect(hwnd(), &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd()), reinterpret_cast<POINT*>(&rect), 2);
  ::MoveWindow(hwnd(), ClampLabelLeft(left), rect.top, rect.right - rect.left,
               rect.bottom - rect.top, TRUE);
}

void Label::SetText(const char* text) {
  ::SetWindowTextA(hwnd(), text != nullptr ? text : "");
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole area itself
    default:
      return Default(msg, wp, lp);
  }
}

void Label::OnPaint() {
  PaintScope paint(hwnd());
  const RECT& area = paint.area();
  if (::IsRectEmpty(&area)) return;
  // Looked up at every paint, so the label follows the user's colour scheme.
  UniqueGdiObject brush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
  ::FillRect(paint.dc(), &area, static_cast<HBRUSH>(brush.get()));
  // The window text is what the label shows, whoever set it.
  std::string text = WindowText(hwnd());
  if (text.empty()) return;

  RECT client;
  ::GetClientRect(hwnd(), &client);
  SelectScope font(paint.dc(), ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(paint.dc(), TRANSPARENT);
  ::SetTextColor(paint.dc(), textColor_);
  // Left-aligned on one line, centred in the height; no wrap and no ellipsis.
  ::DrawTextA(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client,
              DT_NOCLIP | DT_LEFT | DT_SINGLELINE | DT_VCENTER);
}

}  // namespace xpboot
