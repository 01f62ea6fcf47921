// The e2e session of the credits and looks tests: the pointer starts away from where the
// window will be, so that no link is under it when the window appears, and a failed test
// leaves a picture of the whole screen behind.
#pragma once

#include "session.h"

namespace xpboot::e2e {

class AboutSession : public Session {
 protected:
  void SetUp() override {
    Session::SetUp();
    driver::MoveTo({1, 1});
  }
  void TearDown() override {
    if (HasFailure()) {
      const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
      std::string name = std::string("failed-") + test->test_suite_name() + "." + test->name() + ".bmp";
      driver::SaveWindowPicture(::GetDesktopWindow(), ScreenshotPath(name));
    }
    Session::TearDown();
  }
  // Lets the window finish painting what it has to paint before the screen is read.
  void Settle() const {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
};

}  // namespace xpboot::e2e
