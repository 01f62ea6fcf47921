#include "session.h"

#include "standin_layout.h"
#include "test_support.h"

namespace xpboot::e2e {
std::string BuildPath(const std::string& relative) {
  // The test program lives in the build folder, beside xpboot.exe.
  return test::TestProgramFolder() + "\\" + relative;
}

std::string ScreenshotPath(const std::string& name) {
  std::string dir = BuildPath("screenshots");
  ::CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\" + name;
}

void ResetDriveC() {
  sandbox::RemoveBootFiles();
  sandbox::RemoveTree(kAppFolder);
  ASSERT_TRUE(sandbox::CreateStandInBootLayout("C:"));
}

void InstallProgramCopy() {
  ::CreateDirectoryA(kAppFolder, nullptr);
  ASSERT_TRUE(::CopyFileA(BuildPath("xpboot.exe").c_str(),
                          (std::string(kAppFolder) + "\\xpboot.exe").c_str(), FALSE))
      << BuildPath("xpboot.exe");
  PutArchive("Boot.1");
}

void PutArchive(const char* standIn) {
  std::string target = std::string(kAppFolder) + "\\Boot.1";
  ::DeleteFileA(target.c_str());
  if (standIn == nullptr) return;
  ASSERT_TRUE(::CopyFileA(BuildPath(std::string("standin\\") + standIn).c_str(), target.c_str(), FALSE))
      << standIn;
}

void Session::SetUp() {
  ResetDriveC();
  InstallProgramCopy();
}

void Session::TearDown() {
  program_.Kill();
}

void Session::Start() {
  program_ = driver::Program::Start(std::string(kAppFolder) + "\\xpboot.exe", "C:\\windows");
  ASSERT_TRUE(program_.started());
  window_ = driver::WaitForWindow(program_.pid(), kTitle, 20000);
  windowSeenAt_ = ::GetTickCount();
  ASSERT_NE(window_, nullptr) << "the main window did not appear";
}

void Session::DismissWarning() {
  auto box = driver::WaitForMessageBox(program_.pid(), 5000);
  ASSERT_TRUE(box.has_value()) << "no warning box";
  ASSERT_EQ(box->caption, "警告");
  driver::PressOk(*box);
  ASSERT_TRUE(driver::WaitUntilGone(box->hwnd, 3000));
}

void Session::Activate() {
  // A spot of the client area that no control covers.
  driver::ClickClient(window_, {8, 100});
  driver::WaitFor([&] { return ::GetForegroundWindow() == window_; }, 2000);
}

void Session::Click(HWND button) const { ::PostMessageA(button, BM_CLICK, 0, 0); }

bool Session::WaitForStatus(const std::string& text, DWORD timeoutMs) const {
  return driver::WaitFor([&] { return StatusLabel().text == text; }, timeoutMs);
}

driver::WindowInfo Session::Control(int index) const {
  // Children are listed in creation order, which runs from the last row to the first.
  auto children = driver::Children(window_);
  EXPECT_EQ(children.size(), 12u);
  return children.at(children.size() - 1 - static_cast<std::size_t>(index));
}

}  // namespace xpboot::e2e
