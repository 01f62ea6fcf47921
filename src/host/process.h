// Starting outside programs by command line.
#pragma once

#include "host/handles.h"

namespace xpboot {

// Show modes of RunCommandLine: 1 hidden, 2 normal, 3 minimised, 4 maximised,
// 5 shown without activation, 6 minimised to the task bar. Values outside 1..6 are clamped.
constexpr int kShowNormal = 2;

// The wShowWindow value for a show mode, after clamping it to 1..6.
WORD ShowWindowValueForMode(int showMode);

enum class WaitFor { InputIdle, End };

// Starts the command line (its first word is searched for as the system does) and waits as
// asked: for its end, or until it first waits for input but no longer than one second (a
// console program returns at once). Returns the process handle, empty when it did not start.
UniqueKernelHandle StartProgram(const char* commandLine, int showMode, WaitFor wait);

// True when the program was started; with waitForEnd, returns only after it has ended.
bool RunCommandLine(const char* commandLine, bool waitForEnd = false, int showMode = kShowNormal);

}  // namespace xpboot
