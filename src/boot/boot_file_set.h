// Every literal of the boot procedures: the paths at the root of drive C:, the copy command,
// the archive, the status-line states and the message boxes. Narrow literals are GBK bytes.
#pragma once

#include <windows.h>

namespace xpboot {

// Most paths are written "C://": Windows reads a doubled separator as one.
namespace paths {
inline constexpr const char* kBootFolder = "C://Boot";
inline constexpr const char* kBootFolderBackup = "C://Boot备份(澜禾Win8引导xp工具)";
inline constexpr const char* kBootManager = "C://bootmgr";
inline constexpr const char* kBootManagerBackup = "C://bootmgr2";
// The same file as kBootManagerBackup: its existence means "installed".
inline constexpr const char* kInstalledMarker = "C:\\bootmgr2";
// Copies the backup folder back to C:\Boot, every subfolder and hidden and system files included.
// The source must name the same folder as kBootFolderBackup.
inline constexpr const char* kCopyCommandLine =
    "xcopy c:\\Boot备份(澜禾Win8引导xp工具) c:\\Boot\\ /e/H";
// Relative: resolved beside the program, whose folder is the current directory.
inline constexpr const char* kArchive = "Boot.1";
inline constexpr const char* kDriveRoot = "C://";
// The loader files at the root, in the order Restore deletes them.
inline constexpr const char* kLoaderFiles[] = {
    "C://BOOT.INI", "C://bootfont.bin", "C://BOOTSECT.BAK", "C://ntldr",
    "C://MSDOS.SYS", "C://IO.SYS",      "C://NTDETECT.COM",
};
}  // namespace paths

inline constexpr COLORREF kBlue = 0xFF0000;
inline constexpr COLORREF kRed = 255;

// A status-line state: applied as text colour, then left edge, then text.
struct StatusState {
  const char* text;
  COLORREF color;
  int left;
};

// The label's state at start, as the window description holds it.
inline constexpr StatusState kStatusAtStart = {"点击安装后 请5秒后关闭本程序才能执行完命令", kRed, 110};
// The left edges are fixed: the label's text is left-aligned, so each edge centres its text.
inline constexpr StatusState StatusAlreadyInstalled = {"引导文件已经安装", kBlue, 182};
inline constexpr StatusState StatusInstalling = {"安装中请稍后......", kBlue, 175};
inline constexpr StatusState StatusInstallDone = {"安装完成", kRed, 205};
inline constexpr StatusState StatusRestoring = {"还原中请稍后......", kBlue, 175};
inline constexpr StatusState StatusRestoreDone = {"还原完成", kRed, 205};

struct MessageBoxText {
  const char* message;
  const char* caption;
};

inline constexpr MessageBoxText kStartupWarningBox = {
    "警告：安装前请先查看使用说明文件，如果在Win8上安装请确保C盘有足够的权限。"
    "如：文件复制、改名、删除等操作权限否则会有错误发生。",
    "警告"};
inline constexpr MessageBoxText kInstallDoneBox = {
    "安装完成，还需要用BcdTool.exe编辑引导参数具体看使用说明文件。", "提示"};

inline constexpr int kStartupWarningDelayMs = 500;
inline constexpr int kInstallStageTwoDelayMs = 5000;

}  // namespace xpboot
