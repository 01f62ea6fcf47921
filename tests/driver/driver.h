// Drives a running xpboot.exe from outside, as a user would: finds its windows and message
// boxes, reads their places, styles and texts, clicks and types through the system's input.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "host/handles.h"

namespace xpboot::driver {

// A started program; ended by force when the object goes unless it has already exited.
class Program {
 public:
  // Starts the program with the given current directory.
  static Program Start(const std::string& exe, const std::string& workingDir);
  Program() = default;
  Program(Program&&) noexcept = default;
  Program& operator=(Program&&) noexcept = default;
  ~Program() { Kill(); }

  bool started() const { return process_.valid(); }
  DWORD pid() const { return pid_; }
  // The exit code, or nothing when it still runs after the time-out.
  std::optional<DWORD> WaitForExit(DWORD milliseconds);
  void Kill();

 private:
  Program(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
  UniqueKernelHandle process_;
  DWORD pid_ = 0;
};

struct WindowInfo {
  HWND hwnd = nullptr;
  std::string className;
  std::string text;
  RECT rect{};  // children: in the parent's client area; top-level: on the screen
  DWORD style = 0;
  DWORD exStyle = 0;
  int id = 0;
  bool visible = false;
  bool enabled = false;
};

WindowInfo Inspect(HWND hwnd);
// Direct children in the system's order (the order in which they were created).
std::vector<WindowInfo> Children(HWND parent);

// A visible top-level window of this class, whatever process it belongs to.
HWND FindVisibleWindowOfClass(const std::string& className);

// The visible top-level window of the process with this title.
HWND WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs);

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
  bool showsIcon = false;
  DWORD seenAt = 0;  // GetTickCount() when it was found
};

// A message box of the process that is not in `ignore`.
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs,
                                                const std::vector<HWND>& ignore = {});
// Every message box of the process open now.
std::vector<MessageBoxInfo> OpenMessageBoxes(DWORD pid);
// Presses its OK button (posted: the box's owner thread must not be blocked by us).
void PressOk(const MessageBoxInfo& box);
bool WaitUntilGone(HWND hwnd, DWORD timeoutMs);

// Real input through SendInput.
void ClickAt(POINT screen);
void ClickClient(HWND hwnd, POINT client);
void MoveTo(POINT screen);
void PressKey(WORD vk, bool withAlt = false, bool withShift = false);
// The window that has the keyboard focus in the thread of `anyWindow`.
HWND FocusOf(HWND anyWindow);
// A point on the caption bar where the system reports the close box.
std::optional<POINT> FindCloseBox(HWND window);

// Screen colour at a point, and a window's picture written as a 24-bit BMP.
COLORREF ScreenPixel(POINT screen);
bool SaveWindowPicture(HWND hwnd, const std::string& bmpPath);

// More pointer input through SendInput: a double click (two presses in quick succession),
// a right click, and a move from where the pointer is in a few steps, as a hand moves it.
void DoubleClickAt(POINT screen);
void RightClickAt(POINT screen);
void GlideTo(POINT screen, int steps = 4);

// A rectangle of the screen as it is now, pixels row by row from the top.
struct ScreenArea {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};
ScreenArea CaptureScreen(const RECT& screenRect);
// The client rectangle of a child window on the screen.
RECT ScreenRectOf(HWND hwnd);

// What a piece of text on a plain ground looks like: the ground is the most common colour,
// the ink the colour farthest from it (text edges are blends of the two; the inside of a
// stroke has the text colour itself). inkPixels counts the pixels of exactly that colour.
struct TextColours {
  COLORREF ground = CLR_INVALID;
  COLORREF ink = CLR_INVALID;
  int inkPixels = 0;
};
TextColours ColoursOf(const ScreenArea& area);
// The box around the text's pixels (those nearer to the ink than to the ground); empty when
// the area shows no text.
RECT InkBox(const ScreenArea& area, const TextColours& colours);

// Polls the condition every 20 ms until it holds or the time is up.
template <typename F>
bool WaitFor(F condition, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return false;
    ::Sleep(20);
  }
}

}  // namespace xpboot::driver
