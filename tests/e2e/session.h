// The real xpboot.exe in the e2e prefix: drive C: prepared, the program started from outside.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver.h"

namespace xpboot::e2e {

inline constexpr const char* kTitle = "澜禾Win8系统引导xp安装工具";
inline constexpr const char* kAppFolder = "C:\\xpboot-e2e";
inline constexpr const char* kWarningText =
    "警告：安装前请先查看使用说明文件，如果在Win8上安装请确保C盘有足够的权限。"
    "如：文件复制、改名、删除等操作权限否则会有错误发生。";

// A path in the build folder, which holds the test program and xpboot.exe.
std::string BuildPath(const std::string& relative);
// Where the tests leave their screenshots.
std::string ScreenshotPath(const std::string& name);

// Removes what earlier runs may have left at the root of C: and writes the stand-in layout.
void ResetDriveC();
// Puts xpboot.exe into the app folder, with the stand-in "Boot.1" beside it.
void InstallProgramCopy();
// Replaces the "Boot.1" beside the program with a file of build/x64/standin (nullptr: none).
void PutArchive(const char* standIn);

class Session : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts xpboot.exe from a folder other than its own and waits for its window.
  void Start();
  // Waits for the warning box that follows the start and closes it.
  void DismissWarning();
  // Clicks an empty spot of the window so that it is active and takes keys.
  void Activate();
  driver::WindowInfo Control(int index) const;  // by position in the description table
  driver::WindowInfo StatusLabel() const { return Control(6); }
  HWND InstallButton() const { return Control(11).hwnd; }
  HWND RestoreButton() const { return Control(10).hwnd; }
  // Posts a click: the handler may open a box, which must not block the test.
  void Click(HWND button) const;
  // Waits until the status line shows the text; false after the time-out.
  bool WaitForStatus(const std::string& text, DWORD timeoutMs = 5000) const;

  driver::Program program_;
  HWND window_ = nullptr;
  DWORD windowSeenAt_ = 0;
};

}  // namespace xpboot::e2e
