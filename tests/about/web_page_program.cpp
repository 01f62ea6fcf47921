#include "web_page_program.h"

#include <fstream>

namespace xpboot::test {
namespace {

constexpr const char* kFileType = "XpbootTestPage";

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

WebPageProgram::WebPageProgram(const std::string& openCommand)
    : recorder_(TestProgramFolder() + "\\link_recorder.exe"), log_(scratch_ / "launches.txt") {
  std::string command = openCommand;
  ReplaceAll(command, "{recorder}", "\"" + recorder_ + "\"");
  ReplaceAll(command, "{log}", "\"" + log_ + "\"");
  fileType_ = std::make_unique<RegistryOverride>(HKEY_CLASSES_ROOT, ".htm", "", kFileType);
  command_ = std::make_unique<RegistryOverride>(
      HKEY_CLASSES_ROOT, std::string(kFileType) + "\\shell\\open\\command", "", command);
}

std::vector<std::string> WebPageProgram::Launches() const {
  std::vector<std::string> lines;
  std::ifstream in(log_, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool WebPageProgram::WaitForLaunches(std::size_t n) const {
  DWORD start = ::GetTickCount();
  while (Launches().size() < n) {
    if (::GetTickCount() - start > 5000) return false;
    ::Sleep(20);
  }
  return true;
}

}  // namespace xpboot::test
