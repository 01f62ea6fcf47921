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
// The left edges are fixed: the label's text is left-aligned, so each edge centres its text
// in the window (12 pixels a Chinese character in the default GUI font).
inline constexpr StatusState StatusAlreadyInstalled = {"引导文件已经安装", kBlue, 182};
inline constexpr StatusState StatusInstalling = {"安装中请稍后......", kBlue, 175};
inline constexpr StatusState StatusInstallDone = {"安装完成", kRed, 205};
inline constexpr StatusState StatusRestoring = {"还原中请稍后......", kBlue, 175};
inline constexpr StatusState StatusRestoreDone = {"还原完成", kRed, 205};
inline constexpr StatusState StatusInstallFailed = {"安装失败", kRed, 205};
inline constexpr StatusState StatusRestoreFailed = {"还原失败", kRed, 205};
inline constexpr StatusState StatusNothingToRestore = {"未发现已安装的引导文件", kRed, 164};

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

inline constexpr MessageBoxText kAlreadyInstalledBox = {
    "引导文件已经安装。如需重新安装，请先点击“还原”。", "提示"};

// Error boxes name the cause and then where the boot files stand now.
inline constexpr const char* kErrorCaption = "错误";
namespace failure {
inline constexpr const char* kNoBootManager =
    "C盘根目录下没有启动管理器C:\\bootmgr。本机的启动管理器在另一个分区上"
    "（例如隐藏的“系统保留”分区或EFI系统分区），本工具不能在这种情况下使用。";
inline constexpr const char* kNoBootFolder =
    "C盘根目录下没有引导文件夹C:\\Boot。本机的启动管理器及其配置在另一个分区上"
    "（例如隐藏的“系统保留”分区或EFI系统分区），本工具不能在这种情况下使用。";
inline constexpr const char* kNoArchive =
    "找不到引导文件包Boot.1。请把Boot.1放在本程序所在的文件夹中，然后再点击“安装”。";
inline constexpr const char* kBadArchive =
    "Boot.1不是有效的ZIP压缩包，或者已经损坏。请重新制作Boot.1。";
inline constexpr const char* kArchiveWithoutBootManager =
    "Boot.1的根目录中没有bootmgr文件：安装后本机将没有启动管理器，无法启动。"
    "请制作含有bootmgr的Boot.1。";
inline constexpr const char* kRenameFailed =
    "无法把C:\\Boot和C:\\bootmgr改为备份名称。请右键点击本程序，选择“以管理员身份运行”，"
    "并关闭正在使用C:\\Boot中文件的程序，然后再点击“安装”。";
inline constexpr const char* kCopyNotStarted = "无法启动复制命令xcopy，C:\\Boot没有复制。";
inline constexpr const char* kCopyFailed = "复制命令xcopy没有成功，C:\\Boot没有完整复制。";
inline constexpr const char* kExtractFailed = "解压Boot.1时出错，引导文件没有完整写入C盘。";
inline constexpr const char* kInstallUndone = "安装已撤销。";
inline constexpr const char* kNothingChanged = "C盘上的文件没有任何改动。";
inline constexpr const char* kBothInPlace = "C:\\Boot和C:\\bootmgr都在原位。";
inline constexpr const char* kFolderStillBackedUp =
    "原来的引导文件夹仍以备份名称C:\\Boot备份(澜禾Win8引导xp工具)保存，C:\\Boot中可能有文件正在使用。";
inline constexpr const char* kManagerStillBackedUp =
    "原来的启动管理器仍以备份名称C:\\bootmgr2保存，C:\\bootmgr可能正在使用或无法删除。";
inline constexpr const char* kRestoreAgain =
    "请关闭占用这些文件的程序，以管理员身份运行本程序，然后再点击“还原”。";
}  // namespace failure

inline constexpr int kStartupWarningDelayMs = 500;
inline constexpr int kInstallStageTwoDelayMs = 5000;
// While the copy still runs at stage two, the timer looks again this often.
inline constexpr int kCopyPollMs = 500;

}  // namespace xpboot
