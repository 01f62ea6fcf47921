#include "about/about_box.h"

#include "host/message_box.h"

namespace xpboot {

void ShowAboutBox() { ShowMessageBox(kCreditsText, 0, kAboutCaption); }

}  // namespace xpboot
