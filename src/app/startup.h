// The steps of program start that do not need the window.
#pragma once

#include <string>

namespace xpboot {

// The folder part of the program's own path: everything before its last backslash.
std::string ProgramFolder();

// Makes the program's folder the current directory, so that "Boot.1" is found beside the
// program whatever folder it was started from. A failure leaves the current directory as it was.
void EnterProgramFolder();

// The text of the fatal error box for a message.
std::string FatalErrorText(const char* message);

// Shows the fatal error box (caption "错误", error icon). The program then ends with -1.
void ShowFatalError(const char* message);

inline constexpr const char* kDescriptionUnreadable = "载入窗口模板数据段出错!";
inline constexpr const char* kWindowNotCreated = "载入启动窗口失败";
inline constexpr int kFatalExitCode = -1;

}  // namespace xpboot
