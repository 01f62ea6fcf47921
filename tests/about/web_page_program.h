// Registers link_recorder.exe as the program for web pages (HKEY_CLASSES_ROOT\.htm and its
// file type's open command) for the life of the object, and reads back what it was given.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "registry_override.h"
#include "test_support.h"

namespace xpboot::test {

// A target that no program of the shell is registered for, so that OpenLink falls back on
// the web-page program.
inline constexpr const char* kUnclaimedTarget = "xpboot-nowhere:page?a=1&b=2";

class WebPageProgram {
 public:
  // openCommand: the command line registered for the file type; "{recorder}" and "{log}"
  // stand for the quoted paths of the recorder and of its log.
  explicit WebPageProgram(const std::string& openCommand);

  // The lines the recorder has written so far: "show=N|command line".
  std::vector<std::string> Launches() const;
  // Waits up to a few seconds for the count of launches to reach n.
  bool WaitForLaunches(std::size_t n) const;
  // The paths that "{recorder}" and "{log}" stand for, without their quotes.
  std::string RecorderPath() const { return recorder_; }
  std::string LogPath() const { return log_; }

 private:
  ScratchDir scratch_;
  std::string recorder_;
  std::string log_;
  std::unique_ptr<RegistryOverride> fileType_;
  std::unique_ptr<RegistryOverride> command_;
};

}  // namespace xpboot::test
