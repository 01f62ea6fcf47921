// The About box of 按钮3: the maker's credits in a plain box with one OK button.
#pragma once

#include "version.h"

namespace xpboot {

inline constexpr const char* kAboutCaption = "关于";
// Three lines: the program and its version, an empty line, the maker indented.
inline constexpr const char* kCreditsText =
    "澜禾Win8系统引导xp安装工具 " XPBOOT_VERSION_STRING "\r\n"
    "\r\n"
    "    作者：云栈坊  感谢大家的支持！";

// Style 0: task-modal, no icon, no owner; the result is of no interest.
void ShowAboutBox();

}  // namespace xpboot
