// The About box of 按钮3.
#pragma once

namespace xpboot {

inline constexpr const char* kAboutCaption = "关于";
// Three lines: a title, an empty line, an indented last line.
inline constexpr const char* kCreditsText =
    "澜禾Win8系统引导xp安装工具 1.0\r\n"
    "\r\n"
    "    在Win8引导菜单旁装入WindowsXP的引导文件，可随时还原。";

void ShowAboutBox();

}  // namespace xpboot
