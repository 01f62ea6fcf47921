#include "host/file_ops.h"

#include <gtest/gtest.h>

#include "host/handles.h"
#include "test_support.h"

namespace xpboot {
namespace {

using test::Attributes;
using test::Exists;
using test::IsDirectory;
using test::ListNames;
using test::MakeDirectory;
using test::ReadTextFile;
using test::ScratchDir;
using test::WriteTextFile;

using Names = std::vector<std::string>;

// --- RenamePath ---------------------------------------------------------------------------

TEST(RenamePath, MovesAFolderWithEverythingInIt) {
  ScratchDir dir;
  MakeDirectory(dir / "Boot");
  MakeDirectory(dir / "Boot\\zh-CN");
  WriteTextFile(dir / "Boot\\BCD", "store");
  WriteTextFile(dir / "Boot\\zh-CN\\bootmgr.exe.mui", "mui");

  EXPECT_TRUE(RenamePath((dir / "Boot").c_str(), (dir / "Boot备份").c_str()));
  EXPECT_FALSE(Exists(dir / "Boot"));
  EXPECT_EQ(ReadTextFile(dir / "Boot备份\\BCD"), "store");
  EXPECT_EQ(ReadTextFile(dir / "Boot备份\\zh-CN\\bootmgr.exe.mui"), "mui");
}

TEST(RenamePath, NeverReplacesAnExistingTarget) {
  ScratchDir dir;
  WriteTextFile(dir / "bootmgr", "new");
  WriteTextFile(dir / "bootmgr2", "old");
  MakeDirectory(dir / "a");
  MakeDirectory(dir / "b");
  WriteTextFile(dir / "b\\inside", "b");

  EXPECT_FALSE(RenamePath((dir / "bootmgr").c_str(), (dir / "bootmgr2").c_str()));
  EXPECT_EQ(ReadTextFile(dir / "bootmgr"), "new");
  EXPECT_EQ(ReadTextFile(dir / "bootmgr2"), "old");

  EXPECT_FALSE(RenamePath((dir / "a").c_str(), (dir / "b").c_str()));
  EXPECT_TRUE(IsDirectory(dir / "a"));
  EXPECT_EQ(ListNames(dir / "b"), Names{"inside"});

  EXPECT_FALSE(RenamePath((dir / "missing").c_str(), (dir / "other").c_str()));
  EXPECT_FALSE(Exists(dir / "other"));
}

TEST(RenamePath, AcceptsTheDoubledForwardSlashSpelling) {
  ScratchDir dir;
  WriteTextFile(dir / "bootmgr", "x");
  std::string source = dir.path() + "//bootmgr";
  std::string target = dir.path() + "//bootmgr2";
  EXPECT_TRUE(RenamePath(source.c_str(), target.c_str()));
  EXPECT_EQ(ReadTextFile(dir / "bootmgr2"), "x");
}

// --- DeleteOneFile ------------------------------------------------------------------------

TEST(DeleteOneFile, DeletesOnlyWhatTheSystemAllowsWithoutChangingAttributes) {
  ScratchDir dir;
  WriteTextFile(dir / "plain", "1");
  WriteTextFile(dir / "hidden", "2", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  WriteTextFile(dir / "readonly", "3", FILE_ATTRIBUTE_READONLY);
  MakeDirectory(dir / "folder");

  EXPECT_TRUE(DeleteOneFile((dir / "plain").c_str()));
  EXPECT_TRUE(DeleteOneFile((dir / "hidden").c_str()));
  EXPECT_FALSE(DeleteOneFile((dir / "readonly").c_str()));
  EXPECT_FALSE(DeleteOneFile((dir / "folder").c_str()));
  EXPECT_FALSE(DeleteOneFile((dir / "missing").c_str()));
  EXPECT_EQ(ListNames(dir.path()), (Names{"folder", "readonly"}));
  EXPECT_TRUE(Attributes(dir / "readonly") & FILE_ATTRIBUTE_READONLY);
}

// --- PathExists ---------------------------------------------------------------------------

TEST(PathExists, FilesFoldersWildcardsAndRoots) {
  ScratchDir dir;
  WriteTextFile(dir / "bootmgr2", "x");
  MakeDirectory(dir / "folder");
  struct Case {
    std::string path;
    bool expected;
  } cases[] = {
      {dir / "bootmgr2", true},
      {dir / "folder", true},
      {dir / "missing", false},
      {dir / "boot*", true},
      {dir / "bootmgr?", true},
      {dir / "*.ini", false},
      {dir / "folder\\", false},  // a trailing separator is never found
      {"C:\\", false},
      {"C://", false},
      {dir.path() + "//bootmgr2", true},
  };
  for (const Case& c : cases) EXPECT_EQ(PathExists(c.path.c_str()), c.expected) << c.path;
}

// --- DeleteDirectoryTree ------------------------------------------------------------------

// Builds a tree three levels deep with files at every level, hidden and system ones among them.
void BuildBootTree(const std::string& root) {
  MakeDirectory(root);
  WriteTextFile(root + "\\BCD", "store", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  WriteTextFile(root + "\\bootstat.dat", "stat");
  MakeDirectory(root + "\\zh-CN");
  WriteTextFile(root + "\\zh-CN\\bootmgr.exe.mui", "mui");
  MakeDirectory(root + "\\Fonts");
  MakeDirectory(root + "\\Fonts\\乗");  // a name whose second byte is 0x5C
  WriteTextFile(root + "\\Fonts\\乗\\chs_boot.ttf", "font", FILE_ATTRIBUTE_HIDDEN);
  MakeDirectory(root + "\\Empty");
}

TEST(DeleteDirectoryTree, RemovesATreeThreeLevelsDeep) {
  ScratchDir dir;
  BuildBootTree(dir / "Boot");
  EXPECT_TRUE(DeleteDirectoryTree((dir / "Boot").c_str()));
  EXPECT_FALSE(Exists(dir / "Boot"));
}

TEST(DeleteDirectoryTree, SkipsLeadingBlanksOnly) {
  ScratchDir dir;
  BuildBootTree(dir / "Boot");
  std::string withBlanks = "  " + dir.path() + "//Boot";
  EXPECT_TRUE(DeleteDirectoryTree(withBlanks.c_str()));
  EXPECT_FALSE(Exists(dir / "Boot"));

  MakeDirectory(dir / "Kept");
  std::string leadingTab = "\t" + dir / "Kept";
  EXPECT_FALSE(DeleteDirectoryTree(leadingTab.c_str()));
  EXPECT_TRUE(Exists(dir / "Kept"));
}

TEST(DeleteDirectoryTree, LeavesNamesThatBeginWithADotAndEverythingAboveThem) {
  ScratchDir dir;
  BuildBootTree(dir / "Boot");
  WriteTextFile(dir / "Boot\\zh-CN\\.keep", "");
  MakeDirectory(dir / "Boot\\.config");
  WriteTextFile(dir / "Boot\\.config\\settings", "x");

  EXPECT_FALSE(DeleteDirectoryTree((dir / "Boot").c_str()));
  EXPECT_EQ(ListNames(dir / "Boot"), (Names{".config", "zh-CN"}));
  EXPECT_EQ(ListNames(dir / "Boot\\zh-CN"), Names{".keep"});
  EXPECT_EQ(ListNames(dir / "Boot\\.config"), Names{"settings"});
}

TEST(DeleteDirectoryTree, LeavesAReadOnlyFileAndTheFoldersAboveIt) {
  ScratchDir dir;
  BuildBootTree(dir / "Boot");
  WriteTextFile(dir / "Boot\\Fonts\\乗\\locked.ttf", "ro", FILE_ATTRIBUTE_READONLY);

  EXPECT_FALSE(DeleteDirectoryTree((dir / "Boot").c_str()));
  EXPECT_EQ(ListNames(dir / "Boot"), Names{"Fonts"});
  EXPECT_EQ(ListNames(dir / "Boot\\Fonts"), Names{"乗"});
  EXPECT_EQ(ListNames(dir / "Boot\\Fonts\\乗"), Names{"locked.ttf"});
  EXPECT_TRUE(Attributes(dir / "Boot\\Fonts\\乗\\locked.ttf") & FILE_ATTRIBUTE_READONLY);
}

TEST(DeleteDirectoryTree, LeavesAFileInUse) {
  ScratchDir dir;
  BuildBootTree(dir / "Boot");
  HANDLE held = ::CreateFileA((dir / "Boot\\bootstat.dat").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteDirectoryTree((dir / "Boot").c_str()));
  ::CloseHandle(held);
  EXPECT_EQ(ListNames(dir / "Boot"), Names{"bootstat.dat"});
}

TEST(DeleteDirectoryTree, AMissingPathOrAFileIsNotTouched) {
  ScratchDir dir;
  WriteTextFile(dir / "file", "x");
  EXPECT_FALSE(DeleteDirectoryTree((dir / "missing").c_str()));
  EXPECT_FALSE(DeleteDirectoryTree((dir / "file").c_str()));
  EXPECT_EQ(ReadTextFile(dir / "file"), "x");
}

// Drive R: of the unit-test prefix is a folder of its own (scripts/wine-env.sh), so the root
// refusals are tried on a drive whose whole content the test can check afterwards.
TEST(DeleteDirectoryTree, RefusesEmptyPathsAndEverySpellingOfARoot) {
  ASSERT_TRUE(Exists("R:\\")) << "drive R: of the test prefix is missing";
  test::ForceRemoveTree("R:\\tree");
  WriteTextFile("R:\\sentinel", "keep");
  MakeDirectory("R:\\tree");
  WriteTextFile("R:\\tree\\file", "keep");

  for (const char* path : {"", " ", "   ", "R:", "r:", "R:\\", "R:/", "R://", "R:\\\\", "R:/\\",
                           "  R:\\", "R:\\tree\\..", "R://tree/../", "\\\\?\\R:\\", "\\\\.\\R:\\"}) {
    EXPECT_FALSE(DeleteDirectoryTree(path)) << '"' << path << '"';
  }
  EXPECT_FALSE(DeleteDirectoryTree(nullptr));
  EXPECT_EQ(ReadTextFile("R:\\sentinel"), "keep");
  EXPECT_EQ(ReadTextFile("R:\\tree\\file"), "keep");
  test::ForceRemoveTree("R:\\tree");
  ::DeleteFileA("R:\\sentinel");
}

}  // namespace
}  // namespace xpboot

namespace xpboot {
namespace {

// Directory links the way Wine shows them: Unix symbolic links, which Wine reports as
// directories with FILE_ATTRIBUTE_REPARSE_POINT. Made and removed with the Unix commands,
// since Wine can do neither through its own functions.
class DirectoryLinks {
 public:
  ~DirectoryLinks() {
    for (const auto& [unixPath, path] : made_) {
      RunUnix("/bin/rm -f " + unixPath);
      WaitUntil([&] { return ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; });
    }
  }

  // False where a link cannot be made.
  bool Make(const std::string& folder, const char* name, const char* relativeTarget) {
    std::string unixFolder = test::UnixPathOf(folder);
    if (unixFolder.empty()) return false;
    std::string link = unixFolder + "/" + name;
    if (!RunUnix(std::string("/bin/ln -s ") + relativeTarget + " " + link)) return false;
    std::string path = folder + "\\" + name;
    made_.emplace_back(link, path);
    return WaitUntil([&] {
      DWORD a = ::GetFileAttributesA(path.c_str());
      return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
    });
  }

 private:
  // A Unix program started through Wine is not waited for by its handle: look for its effect.
  template <typename F>
  static bool WaitUntil(F done) {
    for (int i = 0; i < 100; ++i) {
      if (done()) return true;
      ::Sleep(20);
    }
    return false;
  }

  static bool RunUnix(std::string line) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
      return false;
    }
    UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    return true;
  }

  std::vector<std::pair<std::string, std::string>> made_;  // Unix path, Windows path
};

TEST(DeleteDirectoryTree, NeverEntersADirectoryLink) {
  ScratchDir dir;
  DirectoryLinks links;
  MakeDirectory(dir / "elsewhere");
  WriteTextFile(dir / "elsewhere\\precious", "keep");
  MakeDirectory(dir / "Boot");
  WriteTextFile(dir / "Boot\\BCD", "store");
  if (!links.Make(dir / "Boot", "Fonts", "../elsewhere") || !links.Make(dir.path(), "Link", "elsewhere")) {
    GTEST_SKIP() << "this system cannot make a directory link here";
  }

  // The link is removed as a link where the system allows it (Windows does; Wine refuses to
  // remove a Unix link to a folder), and what it points to is never touched.
  bool removed = DeleteDirectoryTree((dir / "Boot").c_str());
  EXPECT_EQ(removed, !Exists(dir / "Boot"));
  EXPECT_FALSE(Exists(dir / "Boot\\BCD"));
  removed = DeleteDirectoryTree((dir / "Link").c_str());
  EXPECT_EQ(removed, !Exists(dir / "Link"));
  EXPECT_EQ(ReadTextFile(dir / "elsewhere\\precious"), "keep");
  EXPECT_EQ(ListNames(dir / "elsewhere"), Names{"precious"});
}

}  // namespace
}  // namespace xpboot
