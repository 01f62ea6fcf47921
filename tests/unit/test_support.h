// Helpers for tests that work on real files of the test prefix's drive C:.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace xpboot::test {

// A fresh folder under C:\xpboot-tests, removed with everything in it when the test ends.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

 private:
  std::string path_;
};

// Removes a tree whatever its attributes; for cleaning up, independent of the code under test.
void ForceRemoveTree(const std::string& path);

void WriteTextFile(const std::string& path, const std::string& content, DWORD attributes = 0);
std::string ReadTextFile(const std::string& path);
void MakeDirectory(const std::string& path);
bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);
DWORD Attributes(const std::string& path);
// Names in a directory, sorted, without "." and "..".
std::vector<std::string> ListNames(const std::string& dir);

// Dispatches this thread's messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

// The folder of the running test program.
std::string TestProgramFolder();

}  // namespace xpboot::test
