// Message boxes of the program: no owner window, task-modal unless system-modal is asked for.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace xpboot {

inline constexpr const char* kDefaultMessageCaption = "信息：";

// Shows the box and returns the number of the button that closed it: 0 OK (also on failure),
// 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No. A null message shows as an empty one.
int ShowMessageBox(const char* message, UINT style = 0, const char* caption = kDefaultMessageCaption);

// The box's button number for what MessageBoxA returned.
int ButtonNumberFor(int messageBoxResult);

// Values other than text become text before they are shown.
std::string MessageText(std::int32_t value);
std::string MessageText(std::uint8_t value);  // bytes count as unsigned
std::string MessageText(std::int64_t value);
std::string MessageText(float value);   // "%.6g"
std::string MessageText(double value);  // "%.13g"
std::string MessageText(bool value);    // "真" or "假"
std::string MessageText(const SYSTEMTIME& value);  // "2026年12月11日10时5分" and shorter

template <typename T>
int ShowMessageBox(const T& value, UINT style = 0, const char* caption = kDefaultMessageCaption) {
  return ShowMessageBox(MessageText(value).c_str(), style, caption);
}

}  // namespace xpboot
