#include "host/message_box.h"

#include <cinttypes>
#include <cstdio>

namespace xpboot {

int ButtonNumberFor(int messageBoxResult) {
  switch (messageBoxResult) {
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
    default: return 0;  // IDOK, and failure
  }
}

int ShowMessageBox(const char* message, UINT style, const char* caption) {
  if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
  int result = ::MessageBoxA(nullptr, message != nullptr ? message : "",
                             caption != nullptr ? caption : kDefaultMessageCaption, style);
  // A box with the single button OK can only have been closed as OK; some systems report
  // Esc and the close box of such a box as Cancel.
  if ((style & MB_TYPEMASK) == MB_OK) return 0;
  return ButtonNumberFor(result);
}

namespace {
template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  int n = std::snprintf(buffer, sizeof buffer, format, args...);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}
}  // namespace

std::string MessageText(std::int32_t value) { return Format("%" PRId32, value); }
std::string MessageText(std::uint8_t value) { return Format("%u", unsigned{value}); }
std::string MessageText(std::int64_t value) { return Format("%" PRId64, value); }
std::string MessageText(float value) { return Format("%.6g", double{value}); }
std::string MessageText(double value) { return Format("%.13g", value); }
std::string MessageText(bool value) { return value ? "真" : "假"; }

std::string MessageText(const SYSTEMTIME& t) {
  std::string text = Format("%d年%d月%d日", t.wYear, t.wMonth, t.wDay);
  if (t.wSecond != 0) return text + Format("%d时%d分%d秒", t.wHour, t.wMinute, t.wSecond);
  if (t.wMinute != 0) return text + Format("%d时%d分", t.wHour, t.wMinute);
  if (t.wHour != 0) return text + Format("%d时", t.wHour);
  return text;
}

}  // namespace xpboot
