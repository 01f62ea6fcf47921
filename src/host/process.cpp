#include "host/process.h"

#include <string>

namespace xpboot {

WORD ShowWindowValueForMode(int showMode) {
  static constexpr WORD kValues[] = {SW_HIDE,          SW_SHOWNORMAL,     SW_SHOWMINIMIZED,
                                     SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, SW_MINIMIZE};
  if (showMode < 1) showMode = 1;
  if (showMode > 6) showMode = 6;
  return kValues[showMode - 1];
}

UniqueKernelHandle StartProgram(const char* commandLine, int showMode, WaitFor wait) {
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::string line = commandLine != nullptr ? commandLine : "";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = ShowWindowValueForMode(showMode);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
    return {};
  }
  UniqueKernelHandle thread(info.hThread);
  UniqueKernelHandle process(info.hProcess);
  if (wait == WaitFor::End) {
    ::WaitForSingleObject(process.get(), INFINITE);
  } else {
    ::WaitForInputIdle(process.get(), 1000);
  }
  thread.reset();
  return process;
}

bool RunCommandLine(const char* commandLine, bool waitForEnd, int showMode) {
  return StartProgram(commandLine, showMode, waitForEnd ? WaitFor::End : WaitFor::InputIdle)
      .valid();
}

}  // namespace xpboot
