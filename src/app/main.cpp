// Program entry: enter the program's folder, build the main window, run the message loop.
#include <windows.h>

#include "app/main_window.h"
#include "app/startup.h"
#include "app/window_description.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace xpboot;
  EnterProgramFolder();

  const WindowDescription& description = MainWindowDescription();
  if (!IsUsableDescription(description)) {
    ShowFatalError(kDescriptionUnreadable);
    return kFatalExitCode;
  }

  MainWindow window(description);
  if (!window.Create()) {
    ShowFatalError(kWindowNotCreated);
    return kFatalExitCode;
  }

  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (window.PreTranslateMessage(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
