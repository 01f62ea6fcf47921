#include "app/main_window.h"

#include "about/about_box.h"
#include "host/message_box.h"

namespace xpboot {
namespace {

constexpr const char* kArchiveComponentClass = "XpbootArchive";
constexpr DWORD kMainWindowStyle = WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kButtonStyle = WS_CHILD | WS_CLIPSIBLINGS | BS_PUSHBUTTON | BS_MULTILINE |
                               BS_CENTER | BS_VCENTER;

DWORD StyleFlagsOf(const ControlDescription& control) {
  DWORD style = 0;
  if (control.disabled) style |= WS_DISABLED;
  if (control.tabStop) style |= WS_TABSTOP;
  return style;
}

}  // namespace

MainWindow::MainWindow(const WindowDescription& description)
    : description_(description), procedures_(*this) {}

MainWindow::~MainWindow() {
  if (hwnd() != nullptr) ::DestroyWindow(hwnd());
}

bool MainWindow::RegisterClasses() {
  return RegisterWindowClass(kClassName, &WindowProc, 0, ::LoadCursorA(nullptr, IDC_ARROW),
                             nullptr) &&
         Label::Register() && TimerControl::Register() && Hyperlink::Register() &&
         RegisterWindowClass(kArchiveComponentClass, &::DefWindowProcA, CS_DBLCLKS, nullptr,
                             nullptr);
}

bool MainWindow::Create() {
  if (!RegisterClasses()) return false;
  eventsEnabled_ = false;  // nothing reaches a procedure while the window is being built

  // Centred on the primary screen; the stored place is not used.
  int x = (::GetSystemMetrics(SM_CXSCREEN) - description_.width) / 2;
  int y = (::GetSystemMetrics(SM_CYSCREEN) - description_.height) / 2;
  if (CreateWindowFor(kClassName, description_.title, kMainWindowStyle, x, y, description_.width,
                      description_.height, nullptr) == nullptr) {
    return false;
  }
  CenterAndSize();
  LoadIcons();
  ::SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
  if (!CreateControls()) {
    ::DestroyWindow(hwnd());
    return false;
  }

  eventsEnabled_ = true;
  Raise(description_.created);  // before the window is on the screen
  if (hwnd() != nullptr && description_.visible) ::ShowWindow(hwnd(), SW_SHOW);
  return hwnd() != nullptr;
}

void MainWindow::CenterAndSize() {
  // The size given is the outer size; should the system have adjusted it, it is put back.
  RECT rect;
  ::GetWindowRect(hwnd(), &rect);
  if (rect.right - rect.left != description_.width ||
      rect.bottom - rect.top != description_.height) {
    ::MoveWindow(hwnd(), rect.left, rect.top, description_.width, description_.height, FALSE);
  }
}

void MainWindow::LoadIcons() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  bigIcon_.reset(static_cast<HICON>(::LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON),
                                                 ::GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(::LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0)));
  ::SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  ::SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

bool MainWindow::CreateControls() {
  const auto& controls = description_.controls;
  // From the last row to the first.
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    if (CreateControl(*it) == nullptr) return false;
  }
  for (const ControlDescription& control : controls) {
    HWND child = ::GetDlgItem(hwnd(), static_cast<int>(ControlIdentifier(control.id)));
    ::ShowWindow(child, control.visible ? SW_SHOWNA : SW_HIDE);
  }
  return statusLabel_ != nullptr && installTimer_ != nullptr && warningTimer_ != nullptr;
}

HWND MainWindow::CreateControl(const ControlDescription& c) {
  const UINT_PTR id = ControlIdentifier(c.id);
  const DWORD flags = StyleFlagsOf(c);
  switch (c.kind) {
    case ControlKind::Label: {
      auto& label = labels_.emplace_back(std::make_unique<Label>(c.textColor));
      HWND h = label->Create(hwnd(), c.text, c.left, c.top, c.width, c.height, id, flags);
      if (c.id == ControlId::标签1) statusLabel_ = label.get();
      return h;
    }
    case ControlKind::Button: {
      HWND h = ::CreateWindowExA(0, "BUTTON", c.text, kButtonStyle | flags, c.left, c.top, c.width,
                                 c.height, hwnd(), reinterpret_cast<HMENU>(id),
                                 ::GetModuleHandleA(nullptr), nullptr);
      if (h != nullptr) {
        ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                       FALSE);
      }
      return h;
    }
    case ControlKind::Hyperlink: {
      auto& link = links_.emplace_back(std::make_unique<Hyperlink>(*c.link));
      return link->Create(hwnd(), c.text, c.left, c.top, c.width, c.height, id, flags);
    }
    case ControlKind::Timer: {
      Procedure binding = c.binding;
      auto& timer = timers_.emplace_back(
          std::make_unique<TimerControl>([this, binding] { Raise(binding); }));
      if (c.id == ControlId::时钟1) installTimer_ = timer.get();
      if (c.id == ControlId::时钟2) warningTimer_ = timer.get();
      return timer->Create(hwnd(), c.left, c.top, c.width, c.height, id, flags);
    }
    case ControlKind::ArchiveComponent:
      return ::CreateWindowExA(0, kArchiveComponentClass, "", WS_CHILD | WS_CLIPSIBLINGS | flags,
                               c.left, c.top, c.width, c.height, hwnd(),
                               reinterpret_cast<HMENU>(id), ::GetModuleHandleA(nullptr), nullptr);
  }
  return nullptr;
}

void MainWindow::Raise(Procedure procedure) {
  if (!eventsEnabled_) return;
  switch (procedure) {
    case Procedure::None: break;
    case Procedure::StartupCheck: procedures_.StartupCheck(); break;
    case Procedure::StartupWarning: procedures_.StartupWarning(); break;
    case Procedure::InstallStageOne: procedures_.InstallStageOne(); break;
    case Procedure::InstallStageTwo: procedures_.InstallStageTwo(); break;
    case Procedure::RestoreBootFiles: procedures_.RestoreBootFiles(); break;
    case Procedure::AboutBox: ShowAboutBox(); break;
  }
}

void MainWindow::StatusLine(const char* text, COLORREF color, int left) {
  statusLabel_->SetTextColor(color);
  statusLabel_->SetLeft(left);
  statusLabel_->SetText(text);
}

TimerControl& MainWindow::TimerFor(Timer timer) {
  return timer == Timer::时钟1 ? *installTimer_ : *warningTimer_;
}

void MainWindow::SetTimerPeriod(Timer timer, int milliseconds) {
  TimerFor(timer).SetPeriod(milliseconds);
  if (timer == Timer::时钟1) {
    // An armed install timer means an installation is pending: neither a second Install nor
    // a Restore may run before its second stage has finished.
    bool idle = !installTimer_->armed();
    for (ControlId button : {ControlId::按钮1, ControlId::按钮2}) {
      ::EnableWindow(::GetDlgItem(hwnd(), static_cast<int>(ControlIdentifier(button))), idle);
    }
  }
}

int MainWindow::ShowMessageBox(const char* message, UINT style, const char* caption) {
  return xpboot::ShowMessageBox(message, style, caption);
}

bool MainWindow::PreTranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || hwnd() == nullptr) return false;
  if (msg.hwnd != hwnd() && !::IsChild(hwnd(), msg.hwnd)) return false;
  switch (msg.wParam) {
    case VK_ESCAPE:
      ::SendMessageA(hwnd(), WM_CLOSE, 0, 0);
      return true;
    case VK_TAB: {
      HWND focus = ::GetFocus();
      bool backwards = ::GetKeyState(VK_SHIFT) < 0;
      HWND next = ::GetNextDlgTabItem(hwnd(), focus == hwnd() ? nullptr : focus, backwards);
      if (next != nullptr) ::SetFocus(next);
      return true;
    }
    case VK_RETURN:  // no default button
    case VK_F1:      // no help
      return true;
    default:
      return false;
  }
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        for (const ControlDescription& c : description_.controls) {
          if (c.kind == ControlKind::Button && ControlIdentifier(c.id) == LOWORD(wp)) {
            Raise(c.binding);
          }
        }
      }
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole area itself
    case WM_ACTIVATE:
      OnActivate(LOWORD(wp) != WA_INACTIVE);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return Default(msg, wp, lp);
  }
}

void MainWindow::OnPaint() {
  PaintScope paint(hwnd());
  // Looked up at every paint, so the window follows the user's colour scheme.
  UniqueGdiObject brush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
  ::FillRect(paint.dc(), &paint.area(), static_cast<HBRUSH>(brush.get()));
}

void MainWindow::OnActivate(bool active) {
  // The focus comes back to the control that had it, the Install button the first time.
  if (active) {
    HWND target = lastFocus_ != nullptr && ::IsWindow(lastFocus_)
                      ? lastFocus_
                      : ::GetDlgItem(hwnd(), static_cast<int>(ControlIdentifier(ControlId::按钮1)));
    ::SetFocus(target);
  } else {
    HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(hwnd(), focus)) lastFocus_ = focus;
  }
}

}  // namespace xpboot
