#include "shell_recorder.h"

#include <windows.h>

#include <cstdio>
#include <fstream>

#include "driver.h"
#include "test_support.h"

namespace xpboot::e2e {
namespace {

constexpr const char* kFolder = "C:\\xpboot-e2e-shell";
constexpr const char* kWineBrowser = "Software\\Wine\\WineBrowser";

}  // namespace

ShellRecorder::ShellRecorder() : folder_(kFolder), log_(folder_ + "\\opened.txt") {
  ::CreateDirectoryA(folder_.c_str(), nullptr);
  ::DeleteFileA(log_.c_str());
  std::string script = folder_ + "\\record.sh";
  {
    std::ofstream out(script, std::ios::binary | std::ios::trunc);
    out << "#!/bin/sh\n"
           "# The last argument is the target that winebrowser was handed.\n"
           "for target; do :; done\n"
           "printf '%s\\n' \"$target\" >> \"$(dirname \"$0\")/opened.txt\"\n";
    if (!out) return;
  }
  std::string unixScript = test::UnixPathOf(script);
  if (unixScript.empty()) return;
  std::string command = "/bin/sh \"" + unixScript + "\"";
  browsers_ = std::make_unique<test::RegistryOverride>(HKEY_CURRENT_USER, kWineBrowser, "Browsers", command);
  mailers_ = std::make_unique<test::RegistryOverride>(HKEY_CURRENT_USER, kWineBrowser, "Mailers", command);
  ready_ = browsers_->applied() && mailers_->applied();
}

std::vector<std::string> ShellRecorder::Targets() const {
  std::vector<std::string> lines;
  std::ifstream in(log_, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool ShellRecorder::WaitForTargets(std::size_t n, unsigned timeoutMs) const {
  return driver::WaitFor([&] { return Targets().size() >= n; }, timeoutMs);
}

}  // namespace xpboot::e2e
