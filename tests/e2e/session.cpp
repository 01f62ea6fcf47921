#include "session.h"

#include "standin_layout.h"

namespace xpboot::e2e {
namespace {

void RemoveTree(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") RemoveTree(path + "\\" + name);
      } while (::FindNextFileA(find, &data));
      ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
  } else {
    ::DeleteFileA(path.c_str());
  }
}

}  // namespace

std::string BuildPath(const std::string& relative) {
  // The test program lives in the build folder, beside xpboot.exe.
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string self = path;
  return self.substr(0, self.find_last_of('\\')) + "\\" + relative;
}

std::string ScreenshotPath(const std::string& name) {
  std::string dir = BuildPath("screenshots");
  ::CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\" + name;
}

void ResetDriveC() {
  for (const char* path :
       {"C:\\Boot", "C:\\Boot备份(澜禾Win8引导xp工具)", "C:\\bootmgr", "C:\\bootmgr2",
        "C:\\BOOT.INI", "C:\\bootfont.bin", "C:\\BOOTSECT.BAK", "C:\\ntldr", "C:\\MSDOS.SYS",
        "C:\\IO.SYS", "C:\\NTDETECT.COM", kAppFolder}) {
    RemoveTree(path);
  }
  ASSERT_TRUE(sandbox::CreateStandInBootLayout("C:"));
}

void InstallProgramCopy() {
  ::CreateDirectoryA(kAppFolder, nullptr);
  ASSERT_TRUE(::CopyFileA(BuildPath("xpboot.exe").c_str(),
                          (std::string(kAppFolder) + "\\xpboot.exe").c_str(), FALSE))
      << BuildPath("xpboot.exe");
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

driver::WindowInfo Session::Control(int index) const {
  // Children are listed in creation order, which runs from the last row to the first.
  auto children = driver::Children(window_);
  EXPECT_EQ(children.size(), 12u);
  return children.at(children.size() - 1 - static_cast<std::size_t>(index));
}

}  // namespace xpboot::e2e
