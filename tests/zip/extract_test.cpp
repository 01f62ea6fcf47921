#include "host/extract.h"

#include <gtest/gtest.h>

#include "host/handles.h"
#include "test_support.h"
#include "zip_fixtures.h"

namespace xpboot {
namespace {

using test::Fixture;
using test::IsDirectory;
using test::KeptAttributes;
using test::ListTree;
using test::MakeDirectory;
using test::ReadTextFile;
using test::ScratchDir;
using test::Ticks;
using test::TreeFile;
using test::WriteTextFile;

using Names = std::vector<std::string>;
using Reports = std::vector<int>;

// A progress handler that records every report and asks to stop at report number stopAt.
struct ProgressLog {
  Reports reports;
  std::size_t stopAt = 0;  // 0: never
  ExtractProgressHandler Handler() {
    return [this](int percent) {
      reports.push_back(percent);
      return reports.size() != stopAt;
    };
  }
};

const Names kTreeNames = {"data.bin",      "empty.txt", "readme.txt",          "readonly.txt",
                          "sub",           "sub\\deeper", "sub\\deeper\\note.txt", "sub\\plain.txt"};

// --- Helpers of the extraction ----------------------------------------------------------

TEST(EnsureTrailingSeparator, AppendsABackslashUnlessTheLastCharacterIsOne) {
  struct Case {
    std::string text, expected;
  } cases[] = {
      {"", "\\"},
      {"C:", "C:\\"},
      {"C:\\", "C:\\"},
      {"C://", "C://\\"},
      {"C:\\Boot", "C:\\Boot\\"},
      {"C:\\乗", "C:\\乗\\"},  // the 0x5C that ends 乗 is no backslash
      {"C:\\乗\\", "C:\\乗\\"},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    EnsureTrailingSeparator(text);
    EXPECT_EQ(text, c.expected) << c.text;
  }
}

TEST(CreateDirectoryPath, CreatesEveryMissingLevelSplitOnlyAtBackslashes) {
  ScratchDir dir;
  // 乗 ends in the byte 0x5C: "乗子" is one level, and no level "乗" may appear beside it.
  EXPECT_TRUE(CreateDirectoryPath((dir / "a\\乗子\\子乗").c_str()));
  EXPECT_TRUE(CreateDirectoryPath((dir / "a\\乗子\\second\\").c_str()));  // existing levels are accepted
  EXPECT_TRUE(CreateDirectoryPath((dir.path() + "//doubled\\level").c_str()));
  EXPECT_EQ(ListTree(dir.path()),
            (Names{"a", "a\\乗子", "a\\乗子\\second", "a\\乗子\\子乗", "doubled", "doubled\\level"}));
}

TEST(CreateDirectoryPath, FailsAtALevelThatCannotBeMadeAndKeepsTheLevelsBefore) {
  ScratchDir dir;
  WriteTextFile(dir / "file", "x");
  EXPECT_FALSE(CreateDirectoryPath((dir / "file\\below").c_str()));
  // A forward slash belongs to its level: "x/y" is one level, which the system cannot make
  // while x is missing. The level made before it stays.
  EXPECT_FALSE(CreateDirectoryPath((dir / "made\\x/y\\z").c_str()));
  EXPECT_EQ(ListTree(dir.path()), (Names{"file", "made"}));
}

TEST(CreateDirectoryPath, RelativePathsStartAtTheCurrentFolder) {
  ScratchDir dir;
  test::CurrentDirectoryScope inside(dir.path());
  EXPECT_TRUE(CreateDirectoryPath("rel\\乗"));
  EXPECT_EQ(ListTree(dir.path()), (Names{"rel", "rel\\乗"}));
}

TEST(ProbeArchiveHeader, PassesOnlyFilesThatBeginWithTheHeaderOfANamedEntry) {
  ScratchDir dir;
  MakeDirectory(dir / "folder.zip");
  struct Case {
    std::string path;
    bool expected;
  } cases[] = {
      {Fixture("four-files.zip"), true},
      {Fixture("tree-deflated.zip"), true},
      {Fixture("stub-in-front.zip"), false},
      {Fixture("empty.zip"), false},
      {Fixture("short-file.zip"), false},
      {Fixture("empty-first-name.zip"), false},
      {dir / "folder.zip", false},
      {dir / "missing.zip", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ProbeArchiveHeader(c.path.c_str()), c.expected) << c.path;
}

TEST(CountEntries, CountsTheEntriesReadableFromTheFirstOn) {
  struct Case {
    const char* archive;
    int expected;
  } cases[] = {{"four-files.zip", 4}, {"tree-stored.zip", 8}, {"damaged-third-local-header.zip", 2},
               {"bad-local-extra-second.zip", 1}};
  for (const Case& c : cases) {
    UniqueZipReader reader(OpenReader(Fixture(c.archive).c_str()));
    ASSERT_NE(reader, nullptr) << c.archive;
    EXPECT_EQ(CountEntries(reader.get()), c.expected) << c.archive;
  }
  EXPECT_EQ(CountEntries(nullptr), -1);
}

// --- ExtractArchive ----------------------------------------------------------------------

TEST(ExtractArchive, ExtractsArchivesOfZipWithContentsTimesAndNormalAttributes) {
  for (const char* archive : {"tree-deflated.zip", "tree-stored.zip"}) {
    ScratchDir dir;
    std::string target = dir / "new\\target";  // missing: created with its parent
    ASSERT_EQ(ExtractArchive(Fixture(archive).c_str(), target.c_str()), 1) << archive;
    ASSERT_EQ(ListTree(target), kTreeNames) << archive;
    for (const std::string& name : kTreeNames) {
      std::string path = target + "\\" + name;
      if (IsDirectory(path)) continue;
      // Times first: reading the file may move its access time.
      test::FileTimes times = test::ReadFileTimes(path);
      EXPECT_EQ(Ticks(times.modification), Ticks(test::FileTimeFromUnix(test::kTreeModified))) << name;
      EXPECT_EQ(Ticks(times.access), Ticks(test::FileTimeFromUnix(test::kTreeAccessed))) << name;
      EXPECT_EQ(Ticks(times.creation), Ticks(test::FixtureDosTime())) << name;
      EXPECT_EQ(KeptAttributes(path), 0u) << name;  // readonly.txt is read-only in the archive
      EXPECT_TRUE(ReadTextFile(path) == ReadTextFile(TreeFile(name))) << name;
    }
  }
}

TEST(ExtractArchive, TargetSpellingsWithAndWithoutSeparatorsAllWork) {
  ScratchDir dir;
  for (const std::string& target : {dir / "plain", dir / "trailing\\", dir.path() + "//doubled", dir / "乗"}) {
    EXPECT_EQ(ExtractArchive(Fixture("four-files.zip").c_str(), target.c_str()), 1) << target;
  }
  Names four = {"file0.txt", "file1.txt", "file2.txt", "file3.txt"};
  for (const char* folder : {"plain", "trailing", "doubled", "乗"}) EXPECT_EQ(ListTree(dir / folder), four) << folder;
  EXPECT_EQ(test::ListNames(dir.path()), (Names{"doubled", "plain", "trailing", "乗"}));
}

TEST(ExtractArchive, ArgumentsAndFilesThatGiveNoExtraction) {
  ScratchDir dir;
  MakeDirectory(dir / "folder.zip");
  WriteTextFile(dir / "file", "x");
  WriteTextFile(dir / "text.zip", "PK\x03\x04 is how it starts, but nothing else in it is an archive");
  const std::string target = dir / "target";
  const std::string four = Fixture("four-files.zip");
  struct Case {
    const char* label;
    const char* archive;
    const char* target;
    int expected;
    Reports reports;
  } cases[] = {
      {"no archive path", nullptr, target.c_str(), -1, {}},
      {"no target", four.c_str(), nullptr, -1, {}},
      {"empty archive path", "", target.c_str(), -1, {}},
      {"empty target", four.c_str(), "", -1, {}},
  };
  for (const Case& c : cases) {
    ProgressLog log;
    EXPECT_EQ(ExtractArchive(c.archive, c.target, log.Handler()), c.expected) << c.label;
    EXPECT_EQ(log.reports, c.reports) << c.label;
  }
  EXPECT_EQ(test::ListNames(dir.path()), (Names{"file", "folder.zip", "text.zip"}));

  // These get as far as the target directory, which is made before the archive is looked at.
  struct FileCase {
    std::string archive;
    int expected;
    bool targetMade;
  } fileCases[] = {
      {dir / "missing.zip", -1, false},
      {dir / "folder.zip", 0, true},
      {dir / "text.zip", 0, true},
      {Fixture("stub-in-front.zip"), 0, true},
      {Fixture("empty.zip"), 0, true},
      {Fixture("short-file.zip"), 0, true},
      {Fixture("empty-first-name.zip"), 0, true},
  };
  for (const FileCase& c : fileCases) {
    ProgressLog log;
    EXPECT_EQ(ExtractArchive(c.archive.c_str(), target.c_str(), log.Handler()), c.expected) << c.archive;
    EXPECT_EQ(log.reports, Reports{0}) << c.archive;
    EXPECT_EQ(test::Exists(target), c.targetMade) << c.archive;
    EXPECT_EQ(ListTree(dir.path()), c.targetMade ? (Names{"file", "folder.zip", "target", "text.zip"})
                                                 : (Names{"file", "folder.zip", "text.zip"}))
        << c.archive;
    test::ForceRemoveTree(target);
  }

  // A target that cannot be made, and an archive that another process is writing.
  EXPECT_EQ(ExtractArchive(four.c_str(), (dir / "file\\below").c_str()), 0);
  std::string busy = dir / "busy.zip";
  ASSERT_TRUE(::CopyFileA(four.c_str(), busy.c_str(), FALSE));
  UniqueFileHandle writer(::CreateFileA(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.valid());
  EXPECT_EQ(ExtractArchive(busy.c_str(), target.c_str()), 0);
  EXPECT_EQ(ListTree(target), Names{});
}

TEST(ExtractArchive, DirectoryEntriesMakeTheirFoldersAndAcceptWhatIsAlreadyThere) {
  ScratchDir dir;
  const std::string archive = Fixture("directories.zip");
  EXPECT_EQ(ExtractArchive(archive.c_str(), (dir / "fresh").c_str()), 1);
  EXPECT_EQ(ListTree(dir / "fresh"), (Names{"a", "a\\b", "a\\b\\inner.txt", "top.txt"}));

  MakeDirectory(dir / "existing");
  MakeDirectory(dir / "existing\\a");
  WriteTextFile(dir / "existing\\a\\kept.txt", "kept");
  EXPECT_EQ(ExtractArchive(archive.c_str(), (dir / "existing").c_str()), 1);
  EXPECT_EQ(ListTree(dir / "existing"), (Names{"a", "a\\b", "a\\b\\inner.txt", "a\\kept.txt", "top.txt"}));

  // A file where a directory entry points is left as it is; the file entry inside that
  // directory then has nowhere to go.
  MakeDirectory(dir / "blocked");
  MakeDirectory(dir / "blocked\\a");
  WriteTextFile(dir / "blocked\\a\\b", "a file");
  EXPECT_EQ(ExtractArchive(archive.c_str(), (dir / "blocked").c_str()), 0);
  EXPECT_EQ(ReadTextFile(dir / "blocked\\a\\b"), "a file");
  EXPECT_EQ(ListTree(dir / "blocked"), (Names{"a", "a\\b"}));
}

TEST(ExtractArchive, AFileWhoseFolderHasNoEntryNeedsTheFolderToExist) {
  ScratchDir dir;
  const std::string archive = Fixture("missing-directory.zip");
  EXPECT_EQ(ExtractArchive(archive.c_str(), (dir / "without").c_str()), 0);
  EXPECT_EQ(ListTree(dir / "without"), Names{"first.txt"});

  MakeDirectory(dir / "with");
  MakeDirectory(dir / "with\\nodir");
  EXPECT_EQ(ExtractArchive(archive.c_str(), (dir / "with").c_str()), 1);
  EXPECT_EQ(ListTree(dir / "with"), (Names{"after.txt", "first.txt", "nodir", "nodir\\file.txt"}));
}

TEST(ExtractArchive, ReplacesReadOnlyHiddenAndSystemFilesAndLeavesEveryFileNormal) {
  ScratchDir dir;
  std::string target = dir / "t";
  MakeDirectory(target);
  struct Case {
    const char* name;
    DWORD attributes;
  } cases[] = {
      {"readonly.txt", FILE_ATTRIBUTE_READONLY},
      {"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
      {"system.txt", FILE_ATTRIBUTE_SYSTEM},
      {"everything.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
  };
  for (const Case& c : cases) {
    WriteTextFile(target + "\\" + c.name, "old", c.attributes);
    ASSERT_EQ(KeptAttributes(target + "\\" + c.name), c.attributes) << c.name;
  }
  // The archive comes from a DOS/Windows maker: every entry is read-only by the attribute rule.
  EXPECT_EQ(ExtractArchive(Fixture("replace.zip").c_str(), target.c_str()), 1);
  for (const Case& c : cases) {
    EXPECT_EQ(ReadTextFile(target + "\\" + c.name), std::string("new ") + c.name);
    EXPECT_EQ(KeptAttributes(target + "\\" + c.name), 0u) << c.name;
  }
}

TEST(ExtractArchive, OnlyTheDirectoryBitOfTheArchivesAttributesHasAnEffect) {
  ScratchDir dir;
  std::string target = dir / "t";
  EXPECT_EQ(ExtractArchive(Fixture("attributes.zip").c_str(), target.c_str()), 1);
  Names names = ListTree(target);
  EXPECT_EQ(names.size(), 13u);
  for (const std::string& name : names) {
    bool folder = name.find("dir") != std::string::npos;
    EXPECT_EQ(KeptAttributes(target + "\\" + name), folder ? DWORD{FILE_ATTRIBUTE_DIRECTORY} : 0u) << name;
  }
}

TEST(ExtractArchive, AnEntryThatCannotBeReadEndsTheExtractionWithSuccess) {
  struct Case {
    const char* archive;
    Names extracted;
  } cases[] = {
      {"damaged-third-local-header.zip", {"file0.txt", "file1.txt"}},
      {"bzip2-third.zip", {"file0.txt", "file1.txt"}},
      {"long-name-third.zip", {"first.txt", "second.txt"}},
      {"bad-local-extra-second.zip", {"first.txt"}},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    ProgressLog log;
    EXPECT_EQ(ExtractArchive(Fixture(c.archive).c_str(), dir.path().c_str(), log.Handler()), 1) << c.archive;
    EXPECT_EQ(ListTree(dir.path()), c.extracted) << c.archive;
    EXPECT_EQ(log.reports.back(), 100) << c.archive;
  }
}

TEST(ExtractArchive, DataErrorsAndEncryptedEntriesFailTheExtraction) {
  struct Case {
    const char* archive;
    Names left;
  } cases[] = {
      // The file in error stays as far as it was written.
      {"crc-mismatch-stored.zip", {"bad.txt", "first.txt"}},
      {"crc-mismatch-deflated.zip", {"bad.txt", "first.txt"}},
      {"short-data-stored.zip", {"first.txt", "short.txt"}},
      {"short-data-deflated.zip", {"first.txt", "short.txt"}},
      // Refused before its output file is made.
      {"encrypted-deflated.zip", {}},
      {"encrypted-stored.zip", {}},
  };
  for (const Case& c : cases) {
    ScratchDir dir;
    ProgressLog log;
    EXPECT_EQ(ExtractArchive(Fixture(c.archive).c_str(), dir.path().c_str(), log.Handler()), 0) << c.archive;
    EXPECT_EQ(ListTree(dir.path()), c.left) << c.archive;
    EXPECT_EQ(log.reports.back(), 100) << c.archive;
  }
}

TEST(ExtractArchive, RefusesNamesThatWouldLeaveTheTargetBeforeWritingThem) {
  for (const char* archive :
       {"escape-parent.zip", "escape-parent-deep.zip", "escape-parent-backslash.zip",
        "escape-parent-trailing-space.zip", "escape-slash-root.zip", "escape-backslash-root.zip",
        "escape-drive-relative.zip", "escape-drive-absolute.zip", "escape-parent-directory-entry.zip"}) {
    ScratchDir dir;
    std::string target = dir / "deep\\target";
    EXPECT_EQ(ExtractArchive(Fixture(archive).c_str(), target.c_str()), 0) << archive;
    EXPECT_EQ(ListTree(dir.path()), (Names{"deep", "deep\\target", "deep\\target\\first.txt"})) << archive;
    EXPECT_FALSE(test::Exists("C:\\xpboot-escape.txt")) << archive;
    EXPECT_FALSE(test::Exists("C:\\xpboot-escape")) << archive;
  }
}

TEST(ExtractArchive, GbkNamesWhoseSecondByteIsTheBackslashCode) {
  ScratchDir dir;
  std::string target = dir / "乗";  // missing, and ends in the byte 0x5C
  EXPECT_EQ(ExtractArchive(Fixture("gbk-names.zip").c_str(), target.c_str()), 1);
  EXPECT_EQ(ListTree(dir.path()), (Names{"乗", "乗\\乗", "乗\\乗\\子乗", "乗\\乗\\子乗\\乗.txt", "乗\\表乗.txt"}));
  EXPECT_EQ(ReadTextFile(target + "\\乗\\子乗\\乗.txt"), "gbk");
  EXPECT_EQ(ReadTextFile(target + "\\表乗.txt"), "top");
}

TEST(ExtractArchive, ReportsTheShareDoneAfterEachEntryAndOneHundredAtTheEnd) {
  ScratchDir dir;
  ProgressLog log;
  EXPECT_EQ(ExtractArchive(Fixture("four-files.zip").c_str(), dir.path().c_str(), log.Handler()), 1);
  EXPECT_EQ(log.reports, (Reports{0, 25, 50, 75, 100}));
  // A failure ends with a report as well.
  ProgressLog failing;
  EXPECT_EQ(ExtractArchive(Fixture("crc-mismatch-deflated.zip").c_str(), (dir / "f").c_str(), failing.Handler()), 0);
  EXPECT_EQ(failing.reports, (Reports{0, 100}));
}

TEST(ExtractArchive, AHandlerThatReturnsFalseStopsAfterTheEntryInProgress) {
  ScratchDir dir;
  ProgressLog log;
  log.stopAt = 2;
  EXPECT_EQ(ExtractArchive(Fixture("four-files.zip").c_str(), dir.path().c_str(), log.Handler()), 1);
  EXPECT_EQ(log.reports, (Reports{0, 25}));
  EXPECT_EQ(ListTree(dir.path()), (Names{"file0.txt", "file1.txt"}));
  EXPECT_EQ(ReadTextFile(dir / "file1.txt").size(), 5100u);
}

}  // namespace
}  // namespace xpboot
