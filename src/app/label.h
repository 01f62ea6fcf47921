// A label: one line of text, left-aligned and vertically centred, on the button face.
#pragma once

#include <windows.h>

#include "app/window_base.h"

namespace xpboot {

class Label : public WindowBase<Label> {
 public:
  static constexpr const char* kClassName = "XpbootLabel";

  explicit Label(COLORREF textColor) : textColor_(textColor) {}

  static bool Register();
  HWND Create(HWND parent, const char* text, int x, int y, int width, int height, UINT_PTR id,
              DWORD extraStyle);

  // Each change is drawn at the next paint, not at once.
  void SetTextColor(COLORREF color);
  void SetLeft(int left);  // clamped to -32627..32627; top, width and height stay
  void SetText(const char* text);

  COLORREF textColor() const noexcept { return textColor_; }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void OnPaint();

  COLORREF textColor_;
};

int ClampLabelLeft(int left);

}  // namespace xpboot
