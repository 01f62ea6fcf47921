// The hyperlink control: a text that changes colour under the pointer and opens its target
// when the left button goes down on it.
#pragma once

#include <windows.h>

#include <string>

#include "about/link_settings.h"
#include "app/window_base.h"

namespace xpboot {

class Hyperlink : public WindowBase<Hyperlink> {
 public:
  static constexpr const char* kClassName = "XpbootHyperlink";

  explicit Hyperlink(const LinkSettings& settings) : settings_(settings) {}

  // Registers the window class once, with the program's hand cursor as its class cursor.
  static bool Register();
  // Created hidden; the caller shows it.
  HWND Create(HWND parent, const char* caption, int x, int y, int width, int height, UINT_PTR id,
              DWORD extraStyle);

  bool hovering() const noexcept { return hover_; }
  bool visited() const noexcept { return visited_; }

  // The colour the text is drawn in now: hover wins over visited, visited over normal.
  COLORREF CurrentTextColor() const;

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void OnPaint();
  void OnMouseMove(POINT point);
  void OnLButtonDown();
  void Repaint();
  std::string DisplayText() const;

  LinkSettings settings_;
  bool hover_ = false;
  bool visited_ = false;
};

// The colour a stored background colour stands for (kLinkButtonFace: the current button face).
COLORREF ResolveBackgroundColor(COLORREF stored);

}  // namespace xpboot
