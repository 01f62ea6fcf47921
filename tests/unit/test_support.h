// Helpers for tests that work on real files of the test prefix's drive C:.
#pragma once

#include <windows.h>

#include <map>
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

// A picture of a folder tree: every path below the root mapped to its kind ("D" or "F"), its
// read-only, hidden and system bits, and for a file its content.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot SnapshotTree(const std::string& root);
// Drive C: without Wine's own folders and the tests' folders (names beginning "xpboot-").
TreeSnapshot SnapshotDriveC();
// The part of a picture below one of its folders, with paths relative to that folder.
TreeSnapshot Subtree(const TreeSnapshot& snapshot, const std::string& folder);
// The picture as a copy by xcopy makes it: xcopy clears the read-only bit of what it copies.
TreeSnapshot WithoutReadOnly(TreeSnapshot snapshot);
// The paths on which two pictures differ, one per line; empty when they are equal.
std::string DescribeDifferences(const TreeSnapshot& expected, const TreeSnapshot& actual);

// Dispatches this thread's messages for the given time.
void PumpMessagesFor(DWORD milliseconds);

// The Linux path of a file of the Wine prefix (through Wine's own kernel32 export); empty
// where there is none. The path must be ASCII.
std::string UnixPathOf(const std::string& windowsPath);

// The folder of the running test program.
std::string TestProgramFolder();

}  // namespace xpboot::test
