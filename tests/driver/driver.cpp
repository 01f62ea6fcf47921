#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace xpboot::driver {

Program Program::Start(const std::string& exe, const std::string& workingDir) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = "\"" + exe + "\"";
  // Detached from the test's console, as a program started from the desktop is: otherwise
  // Wine lets the programs it starts share that console instead of opening their own.
  if (!::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        workingDir.c_str(), &startup, &info)) {
    return Program(nullptr, 0);
  }
  UniqueKernelHandle thread(info.hThread);
  return Program(info.hProcess, info.dwProcessId);
}

std::optional<DWORD> Program::WaitForExit(DWORD milliseconds) {
  if (!process_) return std::nullopt;
  if (::WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

void Program::Kill() {
  if (!process_) return;
  if (::WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
    ::TerminateProcess(process_.get(), 99);
    ::WaitForSingleObject(process_.get(), 5000);
  }
  process_.reset();
}

namespace {

std::string TextOf(HWND hwnd) {
  char buffer[1024] = {};
  // WM_GETTEXT crosses processes for every window; GetWindowText would not for controls.
  ::SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
  return buffer;
}

std::string ClassOf(HWND hwnd) {
  char buffer[256] = {};
  ::GetClassNameA(hwnd, buffer, sizeof buffer);
  return buffer;
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid, {}};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (ProcessOf(hwnd) == s->pid) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

MessageBoxInfo DescribeBox(HWND box) {
  MessageBoxInfo info;
  info.hwnd = box;
  info.caption = TextOf(box);
  info.seenAt = ::GetTickCount();
  for (const WindowInfo& child : Children(box)) {
    if (child.className != "Static") continue;
    if (!child.text.empty()) info.text = child.text;
    if (::SendMessageA(child.hwnd, STM_GETICON, 0, 0) != 0) info.showsIcon = true;
  }
  return info;
}

void Send(INPUT* inputs, UINT count) { ::SendInput(count, inputs, sizeof(INPUT)); }

}  // namespace

WindowInfo Inspect(HWND hwnd) {
  WindowInfo info;
  info.hwnd = hwnd;
  info.className = ClassOf(hwnd);
  info.text = TextOf(hwnd);
  ::GetWindowRect(hwnd, &info.rect);
  HWND parent = ::GetAncestor(hwnd, GA_PARENT);
  if (parent != nullptr && parent != ::GetDesktopWindow()) {
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&info.rect), 2);
  }
  info.style = static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWL_STYLE));
  info.exStyle = static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
  info.id = static_cast<int>(::GetWindowLongPtrA(hwnd, GWLP_ID));
  info.visible = ::IsWindowVisible(hwnd) != FALSE;
  info.enabled = ::IsWindowEnabled(hwnd) != FALSE;
  return info;
}

std::vector<WindowInfo> Children(HWND parent) {
  std::vector<WindowInfo> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(Inspect(child));
  }
  return children;
}

HWND FindVisibleWindowOfClass(const std::string& className) {
  struct Search {
    const std::string* className;
    HWND found;
  } search{&className, nullptr};
  ::EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (::IsWindowVisible(hwnd) && ClassOf(hwnd) == *s->className) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        for (HWND hwnd : TopLevelWindows(pid)) {
          if (::IsWindowVisible(hwnd) && ClassOf(hwnd) != "#32770" && TextOf(hwnd) == title) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::vector<MessageBoxInfo> OpenMessageBoxes(DWORD pid) {
  std::vector<MessageBoxInfo> boxes;
  for (HWND hwnd : TopLevelWindows(pid)) {
    if (ClassOf(hwnd) == "#32770" && ::IsWindowVisible(hwnd)) boxes.push_back(DescribeBox(hwnd));
  }
  return boxes;
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs,
                                                const std::vector<HWND>& ignore) {
  std::optional<MessageBoxInfo> found;
  WaitFor(
      [&] {
        for (const MessageBoxInfo& box : OpenMessageBoxes(pid)) {
          bool ignored = false;
          for (HWND h : ignore) ignored = ignored || h == box.hwnd;
          if (!ignored) {
            found = box;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

void PressOk(const MessageBoxInfo& box) {
  HWND ok = ::GetDlgItem(box.hwnd, IDOK);
  if (ok != nullptr) {
    ::PostMessageA(ok, BM_CLICK, 0, 0);
  } else {
    ::PostMessageA(box.hwnd, WM_COMMAND, IDOK, 0);
  }
}

bool WaitUntilGone(HWND hwnd, DWORD timeoutMs) {
  return WaitFor([&] { return !::IsWindow(hwnd) || !::IsWindowVisible(hwnd); }, timeoutMs);
}

void MoveTo(POINT screen) {
  ::SetCursorPos(screen.x, screen.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  int cx = ::GetSystemMetrics(SM_CXSCREEN) - 1;
  int cy = ::GetSystemMetrics(SM_CYSCREEN) - 1;
  input.mi.dx = static_cast<LONG>(screen.x * 65535 / (cx > 0 ? cx : 1));
  input.mi.dy = static_cast<LONG>(screen.y * 65535 / (cy > 0 ? cy : 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send(&input, 1);
}

void ClickAt(POINT screen) {
  MoveTo(screen);
  ::Sleep(30);
  INPUT inputs[2]{};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  Send(inputs, 2);
  ::Sleep(30);
}

void ClickClient(HWND hwnd, POINT client) {
  ::ClientToScreen(hwnd, &client);
  ClickAt(client);
}

void PressKey(WORD vk, bool withAlt, bool withShift) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (withAlt) key(VK_MENU, false);
  if (withShift) key(VK_SHIFT, false);
  key(vk, false);
  key(vk, true);
  if (withShift) key(VK_SHIFT, true);
  if (withAlt) key(VK_MENU, true);
  Send(inputs.data(), static_cast<UINT>(inputs.size()));
  ::Sleep(50);
}

HWND FocusOf(HWND anyWindow) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(anyWindow, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::optional<POINT> FindCloseBox(HWND window) {
  RECT rect;
  ::GetWindowRect(window, &rect);
  int captionBottom = rect.top + ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CYFIXEDFRAME);
  for (int y = rect.top + 2; y < captionBottom; y += 2) {
    for (int x = rect.right - 3; x > rect.right - 60; x -= 2) {
      LRESULT hit = ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
      if (hit == HTCLOSE) return POINT{x - 4, y + 2};
    }
  }
  return std::nullopt;
}

COLORREF ScreenPixel(POINT screen) {
  HDC dc = ::GetDC(nullptr);
  COLORREF color = ::GetPixel(dc, screen.x, screen.y);
  ::ReleaseDC(nullptr, dc);
  return color;
}

bool SaveWindowPicture(HWND hwnd, const std::string& bmpPath) {
  RECT rect;
  ::GetWindowRect(hwnd, &rect);
  ScreenArea area = CaptureScreen(rect);
  if (area.width == 0) return false;

  // A 24-bit BMP stores its rows bottom-up, each padded to four bytes, blue first.
  DWORD stride = (static_cast<DWORD>(area.width) * 3 + 3) & ~3u;
  std::vector<unsigned char> image(stride * static_cast<DWORD>(area.height));
  for (int y = 0; y < area.height; ++y) {
    unsigned char* row = &image[stride * static_cast<DWORD>(area.height - 1 - y)];
    for (int x = 0; x < area.width; ++x) {
      COLORREF c = area.At(x, y);
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = area.width;
  info.biHeight = area.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(image.size());
  bool ok = false;
  if (FILE* out = std::fopen(bmpPath.c_str(), "wb")) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
         std::fwrite(image.data(), 1, image.size(), out) == image.size();
    std::fclose(out);
  }
  return ok;
}

namespace {

void SendButtons(std::initializer_list<DWORD> flags) {
  std::vector<INPUT> inputs;
  for (DWORD flag : flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    inputs.push_back(input);
  }
  Send(inputs.data(), static_cast<UINT>(inputs.size()));
}

int Distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

}  // namespace

void DoubleClickAt(POINT screen) {
  MoveTo(screen);
  ::Sleep(30);
  SendButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
               MOUSEEVENTF_LEFTUP});
  ::Sleep(30);
}

void RightClickAt(POINT screen) {
  MoveTo(screen);
  ::Sleep(30);
  SendButtons({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
  ::Sleep(30);
}

void GlideTo(POINT screen, int steps) {
  POINT from{};
  ::GetCursorPos(&from);
  for (int i = 1; i <= steps; ++i) {
    MoveTo({from.x + (screen.x - from.x) * i / steps, from.y + (screen.y - from.y) * i / steps});
    ::Sleep(40);
  }
}

ScreenArea CaptureScreen(const RECT& screenRect) {
  ScreenArea area;
  int width = screenRect.right - screenRect.left;
  int height = screenRect.bottom - screenRect.top;
  if (width <= 0 || height <= 0) return area;
  HDC screen = ::GetDC(nullptr);
  ScopeExit release([&] { ::ReleaseDC(nullptr, screen); });
  HDC copy = ::CreateCompatibleDC(screen);
  ScopeExit deleteCopy([&] { ::DeleteDC(copy); });
  UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, width, height));
  if (!bitmap) return area;
  {
    SelectScope select(copy, bitmap.get());
    ::BitBlt(copy, 0, 0, width, height, screen, screenRect.left, screenRect.top, SRCCOPY);
  }
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<RGBQUAD> bits(static_cast<std::size_t>(width * height));
  if (::GetDIBits(copy, static_cast<HBITMAP>(bitmap.get()), 0, static_cast<UINT>(height),
                  bits.data(), &format, DIB_RGB_COLORS) != height) {
    return area;
  }
  area.width = width;
  area.height = height;
  area.pixels.reserve(bits.size());
  for (const RGBQUAD& q : bits) area.pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
  return area;
}

RECT ScreenRectOf(HWND hwnd) {
  RECT rect{};
  ::GetClientRect(hwnd, &rect);
  ::MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TextColours ColoursOf(const ScreenArea& area) {
  TextColours colours;
  std::map<COLORREF, int> counts;
  for (COLORREF c : area.pixels) ++counts[c];
  int most = 0;
  for (const auto& [colour, count] : counts) {
    if (count > most) {
      most = count;
      colours.ground = colour;
    }
  }
  int farthest = 0;
  for (const auto& [colour, count] : counts) {
    int d = Distance(colour, colours.ground);
    if (d > farthest) {
      farthest = d;
      colours.ink = colour;
      colours.inkPixels = count;
    }
  }
  return colours;
}

RECT InkBox(const ScreenArea& area, const TextColours& colours) {
  RECT box{area.width, area.height, 0, 0};
  if (colours.ink == CLR_INVALID) return RECT{};
  int half = Distance(colours.ink, colours.ground) / 2;
  for (int y = 0; y < area.height; ++y) {
    for (int x = 0; x < area.width; ++x) {
      if (Distance(area.At(x, y), colours.ground) <= half) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  }
  return box;
}

}  // namespace xpboot::driver
