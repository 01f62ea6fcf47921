#include "about/hyperlink.h"

#include <windowsx.h>

#include "about/open_link.h"
#include "host/handles.h"

namespace xpboot {

COLORREF ResolveBackgroundColor(COLORREF stored) {
  return stored == kLinkButtonFace ? ::GetSysColor(COLOR_BTNFACE) : stored;
}

bool Hyperlink::Register() {
  HCURSOR hand = ::LoadCursorA(::GetModuleHandleA(nullptr), "HAND_CURSOR");
  if (hand == nullptr) hand = ::LoadCursorA(nullptr, IDC_HAND);
  return RegisterWindowClass(kClassName, &WindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, hand,
                             static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)));
}

HWND Hyperlink::Create(HWND parent, const char* caption, int x, int y, int width, int height,
                       UINT_PTR id, DWORD extraStyle) {
  return CreateWindowFor(kClassName, caption, WS_CHILD | WS_CLIPSIBLINGS | extraStyle, x, y,
                         width, height, parent, id);
}

COLORREF Hyperlink::CurrentTextColor() const {
  if (hover_) {
    return settings_.hoverIsSystemHighlight ? ::GetSysColor(COLOR_HIGHLIGHT) : settings_.hoverColor;
  }
  return visited_ ? settings_.visitedColor : settings_.normalColor;
}

LRESULT Hyperlink::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown();
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

std::string Hyperlink::DisplayText() const {
  std::string text = WindowText(hwnd());
  if (!text.empty()) return text;
  return settings_.targetKind == LinkTarget::EmailAddress ? settings_.emailAddress
                                                          : settings_.webAddress;
}

void Hyperlink::OnPaint() {
  PaintScope paint(hwnd());
  RECT clip;
  if (::GetClipBox(paint.dc(), &clip) == NULLREGION || ::IsRectEmpty(&clip)) return;

  UniqueGdiObject brush(::CreateSolidBrush(ResolveBackgroundColor(settings_.backgroundColor)));
  {
    SelectScope fill(paint.dc(), brush.get());
    ::PatBlt(paint.dc(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top,
             PATCOPY);
  }

  std::string text = DisplayText();
  RECT client;
  ::GetClientRect(hwnd(), &client);
  SelectScope font(paint.dc(), ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(paint.dc(), TRANSPARENT);
  ::SetTextColor(paint.dc(), CurrentTextColor());
  ::DrawTextA(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
}

void Hyperlink::OnMouseMove(POINT point) {
  if (!hover_) {
    hover_ = true;
    Repaint();
    // Keeps the moves coming after the pointer has left, so the colour can go back at once.
    ::SetCapture(hwnd());
    return;
  }
  RECT client;
  ::GetClientRect(hwnd(), &client);
  if (!::PtInRect(&client, point)) {
    hover_ = false;
    ::ReleaseCapture();
    Repaint();
  } else if (::GetCapture() != hwnd()) {
    ::SetCapture(hwnd());
  }
}

void Hyperlink::OnLButtonDown() {
  visited_ = OpenLink(settings_.targetKind, settings_.emailAddress, settings_.webAddress, SW_SHOW);
  if (visited_) Repaint();
}

void Hyperlink::Repaint() { ::InvalidateRect(hwnd(), nullptr, FALSE); }

}  // namespace xpboot
