// Points Wine's web browser and mail program at a shell script that records each target it
// is handed, one line each, for the life of the object. Under Wine, ShellExecute hands
// http:, https: and mailto: targets to winebrowser, which runs the programs listed under
// HKCU\Software\Wine\WineBrowser (Browsers, Mailers) with the target as the last argument.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "registry_override.h"

namespace xpboot::e2e {

class ShellRecorder {
 public:
  ShellRecorder();
  bool ready() const { return ready_; }

  // The targets handed over so far, in order.
  std::vector<std::string> Targets() const;
  // Waits until n targets have been handed over, at most timeoutMs.
  bool WaitForTargets(std::size_t n, unsigned timeoutMs = 10000) const;

 private:
  std::string folder_;
  std::string log_;
  std::unique_ptr<test::RegistryOverride> browsers_;
  std::unique_ptr<test::RegistryOverride> mailers_;
  bool ready_ = false;
};

}  // namespace xpboot::e2e
