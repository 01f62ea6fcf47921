#include "app/window_description.h"

#include <set>

#include "about/link_targets.h"
#include "boot/boot_file_set.h"

namespace xpboot {
namespace {

using K = ControlKind;
using P = Procedure;
using C = ControlId;

constexpr ControlDescription kControls[] = {
    // id, kind, name, left, top, width, height, text, visible, disabled, tab stop, binding, text colour, link
    {C::标签2, K::Label, "标签2", 168, 145, 120, 16, kDiscussionGroupText, true, false, false, P::None, 0x00C06000, nullptr},
    {C::超级链接框4, K::Hyperlink, "超级链接框4", 304, 125, 64, 15, "捐给开发者", true, false, false, P::None, 0, &kDonateLink},
    {C::超级链接框3, K::Hyperlink, "超级链接框3", 200, 125, 48, 15, "软件报错", true, false, false, P::None, 0, &kErrorReportLink},
    {C::超级链接框2, K::Hyperlink, "超级链接框2", 96, 125, 48, 15, "软件升级", true, false, false, P::None, 0, &kUpdateLink},
    {C::时钟2, K::Timer, "时钟2", 440, 208, 16, 8, "", false, false, false, P::StartupWarning, 0, nullptr},
    {C::超级链接框1, K::Hyperlink, "超级链接框1", 80, 96, 312, 24, "作者小站：云栈坊 希望大家多多支持谢谢！ 点我哦！", true, false, false, P::None, 0, &kHomePageLink},
    {C::标签1, K::Label, "标签1", 110, 72, 240, 15, kStatusAtStart.text, true, false, false, P::None, kStatusAtStart.color, nullptr},
    {C::按钮3, K::Button, "按钮3", 320, 15, 100, 50, "关于", true, false, true, P::AboutBox, 0, nullptr},
    {C::时钟1, K::Timer, "时钟1", 440, 200, 32, 24, "", false, false, false, P::InstallStageTwo, 0, nullptr},
    {C::ZIP压缩1, K::ArchiveComponent, "ZIP压缩1", 416, 192, 40, 24, "", false, false, false, P::None, 0, nullptr},
    {C::按钮2, K::Button, "按钮2", 180, 15, 100, 50, "还原", true, false, true, P::RestoreBootFiles, 0, nullptr},
    {C::按钮1, K::Button, "按钮1", 40, 15, 100, 50, "安装", true, false, true, P::InstallStageOne, 0, nullptr},
};

const WindowDescription kMainWindow = {
    "澜禾Win8系统引导xp安装工具", 50, 50, 460, 196, true, P::StartupCheck, kControls,
};

}  // namespace

const ControlDescription* WindowDescription::Find(ControlId id) const {
  for (const ControlDescription& control : controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

const WindowDescription& MainWindowDescription() { return kMainWindow; }

bool IsUsableDescription(const WindowDescription& description) {
  if (description.title == nullptr || description.width <= 0 || description.height <= 0) {
    return false;
  }
  std::set<ControlId> seen;
  for (const ControlDescription& c : description.controls) {
    if (c.name == nullptr || c.text == nullptr || c.width <= 0 || c.height <= 0) return false;
    if (!seen.insert(c.id).second) return false;
    switch (c.kind) {
      case ControlKind::Hyperlink:
        if (c.link == nullptr) return false;
        break;
      case ControlKind::Label:
      case ControlKind::Button:
      case ControlKind::Timer:
      case ControlKind::ArchiveComponent:
        break;
      default:
        return false;
    }
  }
  return !description.controls.empty();
}

}  // namespace xpboot
