#include "host/zip_reader.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/handles.h"
#include "test_support.h"
#include "zip_fixtures.h"

namespace xpboot {
namespace {

using test::Describe;
using test::Fixture;
using test::FixtureDosTime;
using test::ListTree;
using test::MakeDirectory;
using test::ReadFileTimes;
using test::ReadTextFile;
using test::ScratchDir;
using test::Ticks;
using test::TreeFile;
using test::WriteTextFile;

using Names = std::vector<std::string>;

UniqueZipReader Open(const std::string& path) { return UniqueZipReader(OpenReader(path.c_str())); }

std::vector<EntryInfo> AllEntries(ZipReader* reader) {
  std::vector<EntryInfo> entries;
  EntryInfo info{};
  while (GetEntryInfo(reader, static_cast<int>(entries.size()), &info) == 0) entries.push_back(info);
  return entries;
}

bool IsDirectoryEntry(const EntryInfo& info) { return (info.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// An output file name for an entry, flat in one folder.
std::string FlatName(const char* name) {
  std::string flat = name;
  for (char& c : flat) {
    if (c == '/') c = '_';
  }
  return flat;
}

// --- OpenReader ------------------------------------------------------------------------

TEST(OpenReader, GivesNoReaderForWhatIsNoReadableArchive) {
  ScratchDir dir;
  WriteTextFile(dir / "text.zip", "plain text, no end-of-central-directory record anywhere");
  MakeDirectory(dir / "folder.zip");
  for (const std::string& path : {dir / "missing.zip", dir / "text.zip", dir / "folder.zip", Fixture("short-file.zip")}) {
    EXPECT_EQ(Open(path), nullptr) << path;
  }
  EXPECT_EQ(OpenReader(nullptr), nullptr);
  CloseReader(nullptr);  // accepted, does nothing
}

TEST(OpenReader, KeepsWritersAwayUntilClosedAndCannotOpenAnArchiveBeingWritten) {
  ScratchDir dir;
  std::string archive = dir / "four.zip";
  ASSERT_TRUE(::CopyFileA(Fixture("four-files.zip").c_str(), archive.c_str(), FALSE));
  auto openFor = [&archive](DWORD access) {
    return UniqueFileHandle(::CreateFileA(archive.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  {
    UniqueZipReader reader = Open(archive);
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(openFor(GENERIC_WRITE).valid());
    EXPECT_TRUE(openFor(GENERIC_READ).valid());
  }
  EXPECT_TRUE(openFor(GENERIC_WRITE).valid());

  UniqueFileHandle writer = openFor(GENERIC_WRITE);
  ASSERT_TRUE(writer.valid());
  EXPECT_EQ(Open(archive), nullptr);
}

// --- GetEntryInfo ----------------------------------------------------------------------

TEST(GetEntryInfo, IndexMinusOneGivesTheNumberOfEntriesAlone) {
  UniqueZipReader reader = Open(Fixture("four-files.zip"));
  ASSERT_NE(reader, nullptr);
  EntryInfo info;
  std::memset(&info, 0xCD, sizeof info);
  ASSERT_EQ(GetEntryInfo(reader.get(), -1, &info), 0u);
  EXPECT_EQ(info.index, 4);
  EXPECT_STREQ(info.name, "");
  EXPECT_EQ(info.attributes, 0u);
  EXPECT_EQ(Ticks(info.modificationTime), 0u);
  EXPECT_EQ(info.uncompressedSize, 0u);
}

TEST(GetEntryInfo, BadArgumentsGiveTheArgumentCode) {
  UniqueZipReader reader = Open(Fixture("four-files.zip"));
  ASSERT_NE(reader, nullptr);
  EntryInfo info{};
  EXPECT_EQ(GetEntryInfo(nullptr, 0, &info), kZipBadArgument);
  for (int index : {-2, 4, 5, 1000}) EXPECT_EQ(GetEntryInfo(reader.get(), index, &info), kZipBadArgument) << index;
}

TEST(GetEntryInfo, ReadsNamesAndSizesOfTheCentralDirectory) {
  UniqueZipReader reader = Open(Fixture("tree-deflated.zip"));
  ASSERT_NE(reader, nullptr);
  std::vector<EntryInfo> entries = AllEntries(reader.get());
  Names names;
  for (const EntryInfo& info : entries) {
    EXPECT_EQ(info.index, static_cast<int>(names.size()));
    names.push_back(info.name);
    if (IsDirectoryEntry(info)) continue;
    std::string content = ReadTextFile(TreeFile(info.name));
    EXPECT_EQ(info.uncompressedSize, content.size()) << info.name;
    if (content.size() > 1000) {
      EXPECT_LT(info.compressedSize, info.uncompressedSize) << info.name;
    }
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Names{"data.bin", "empty.txt", "readme.txt", "readonly.txt", "sub/", "sub/deeper/",
                          "sub/deeper/note.txt", "sub/plain.txt"}));
}

TEST(GetEntryInfo, AnyOrderOfIndexesGivesTheSameInformation) {
  UniqueZipReader inOrder = Open(Fixture("tree-deflated.zip"));
  UniqueZipReader mixed = Open(Fixture("tree-deflated.zip"));
  ASSERT_NE(inOrder, nullptr);
  ASSERT_NE(mixed, nullptr);
  std::vector<EntryInfo> expected = AllEntries(inOrder.get());
  ASSERT_EQ(expected.size(), 8u);
  for (int index : {5, 2, 2, 7, 0, 6, 1, 3, 0}) {
    EntryInfo info{};
    ASSERT_EQ(GetEntryInfo(mixed.get(), index, &info), 0u) << index;
    EXPECT_EQ(std::memcmp(&info, &expected[index], sizeof info), 0) << index;
  }
}

TEST(GetEntryInfo, AttributesFromUnixModesAndDosBitsAlike) {
  constexpr DWORD kNormal = FILE_ATTRIBUTE_NORMAL, kDir = FILE_ATTRIBUTE_DIRECTORY, kRO = FILE_ATTRIBUTE_READONLY,
                  kHidden = FILE_ATTRIBUTE_HIDDEN, kSystem = FILE_ATTRIBUTE_SYSTEM, kArchive = FILE_ATTRIBUTE_ARCHIVE;
  struct Case {
    const char* name;
    DWORD expected;
  } cases[] = {
      {"unix-file", kNormal},
      {"unix-file-readonly", kNormal | kRO},
      {"unix-dir/", kNormal | kDir},
      {"unix-dir-readonly/", kNormal | kDir | kRO},
      // Without a Unix mode the owner-write bit is clear: every DOS entry is read-only.
      {"dos-plain", kNormal | kRO},
      {"dos-readonly", kNormal | kRO},
      {"dos-hidden", kNormal | kHidden | kRO},
      {"dos-system", kNormal | kSystem | kRO},
      {"dos-archive", kNormal | kArchive | kRO},
      {"dos-dir/", kNormal | kDir | kRO},
      {"dos-everything", kNormal | kArchive | kHidden | kRO | kSystem},
      {"unix-mode-and-dos-bits", kNormal | kHidden | kSystem},
      {"dos-maker-unix-mode", kNormal},
  };
  UniqueZipReader reader = Open(Fixture("attributes.zip"));
  ASSERT_NE(reader, nullptr);
  std::vector<EntryInfo> entries = AllEntries(reader.get());
  ASSERT_EQ(entries.size(), std::size(cases));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_STREQ(entries[i].name, cases[i].name);
    EXPECT_EQ(entries[i].attributes, cases[i].expected) << cases[i].name;
  }
}

TEST(GetEntryInfo, TimesFromTheDosFieldsAndTheFirstExtendedTimeStampOfTheLocalExtraField) {
  const FILETIME dos = FixtureDosTime();  // 2013-01-01 12:00, unshifted
  const FILETIME mod = test::FileTimeFromUnix(1262347200), acc = test::FileTimeFromUnix(1293883200),
                 cre = test::FileTimeFromUnix(1325419200), none{};
  struct Case {
    const char* name;
    FILETIME modification, access, creation;
  } cases[] = {
      {"dos-only", dos, dos, dos},
      {"ut-m", mod, dos, dos},
      {"ut-a", dos, acc, dos},
      {"ut-c", dos, dos, cre},
      {"ut-ma", mod, acc, dos},
      {"ut-mc", mod, dos, cre},
      {"ut-ac", dos, acc, cre},
      {"ut-mac", mod, acc, cre},
      {"ut-no-flags", dos, dos, dos},
      {"ut-after-other-block", mod, dos, dos},
      {"ut-second-block-ignored", mod, dos, dos},
      {"ut-block-ends-early", mod, dos, dos},
      {"ut-field-ends-early", mod, dos, dos},
      {"ut-central-only", dos, dos, dos},
      {"ut-before-1970", test::FileTimeFromUnix(-86400), dos, dos},
      {"dos-date-invalid", none, none, none},
  };
  UniqueZipReader reader = Open(Fixture("times.zip"));
  ASSERT_NE(reader, nullptr);
  std::vector<EntryInfo> entries = AllEntries(reader.get());
  ASSERT_EQ(entries.size(), std::size(cases));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Case& c = cases[i];
    ASSERT_STREQ(entries[i].name, c.name);
    EXPECT_EQ(Ticks(entries[i].modificationTime), Ticks(c.modification))
        << c.name << ": " << Describe(entries[i].modificationTime);
    EXPECT_EQ(Ticks(entries[i].accessTime), Ticks(c.access)) << c.name << ": " << Describe(entries[i].accessTime);
    EXPECT_EQ(Ticks(entries[i].creationTime), Ticks(c.creation))
        << c.name << ": " << Describe(entries[i].creationTime);
  }
}

TEST(GetEntryInfo, DamagedEntriesGiveTheirCodesAndLeaveTheOthersReadable) {
  struct Case {
    const char* archive;
    std::uint32_t codeOfSecond, codeOfThird;
  } cases[] = {
      {"damaged-third-local-header.zip", 0, kZipDamagedEntry},
      {"bzip2-third.zip", 0, kZipDamagedEntry},
      {"long-name-third.zip", 0, kZipDamagedEntry},
      {"bad-local-extra-second.zip", kZipBadExtraField, 0},
  };
  for (const Case& c : cases) {
    UniqueZipReader reader = Open(Fixture(c.archive));
    ASSERT_NE(reader, nullptr) << c.archive;
    EntryInfo info{};
    EXPECT_EQ(GetEntryInfo(reader.get(), 0, &info), 0u) << c.archive;
    EXPECT_EQ(GetEntryInfo(reader.get(), 1, &info), c.codeOfSecond) << c.archive;
    EXPECT_EQ(GetEntryInfo(reader.get(), 2, &info), c.codeOfThird) << c.archive;
    EXPECT_EQ(GetEntryInfo(reader.get(), 0, &info), 0u) << c.archive;  // going back still works
  }
}

// --- ExtractEntry ----------------------------------------------------------------------

TEST(ExtractEntry, WritesStoredAndDeflatedDataByteForByte) {
  for (const char* archive : {"tree-deflated.zip", "tree-stored.zip", "four-files.zip"}) {
    ScratchDir dir;
    UniqueZipReader reader = Open(Fixture(archive));
    ASSERT_NE(reader, nullptr) << archive;
    std::vector<EntryInfo> entries = AllEntries(reader.get());
    ASSERT_GE(entries.size(), 4u);
    for (const EntryInfo& info : entries) {
      if (IsDirectoryEntry(info)) continue;
      std::string output = dir / FlatName(info.name);
      ASSERT_EQ(ExtractEntry(reader.get(), info.index, output.c_str()), 0u) << archive << ": " << info.name;
      EXPECT_EQ(ReadTextFile(output).size(), info.uncompressedSize) << info.name;
      if (std::string(archive) != "four-files.zip") {
        EXPECT_TRUE(ReadTextFile(output) == ReadTextFile(TreeFile(info.name))) << archive << ": " << info.name;
      }
    }
  }
}

TEST(ExtractEntry, NeedsNoInformationAskedForFirstAndGoesBackwards) {
  ScratchDir dir;
  UniqueZipReader reader = Open(Fixture("tree-stored.zip"));
  ASSERT_NE(reader, nullptr);
  std::vector<EntryInfo> entries = AllEntries(reader.get());
  UniqueZipReader fresh = Open(Fixture("tree-stored.zip"));
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (IsDirectoryEntry(*it)) continue;
    std::string output = dir / FlatName(it->name);
    ASSERT_EQ(ExtractEntry(fresh.get(), it->index, output.c_str()), 0u) << it->name;
    EXPECT_TRUE(ReadTextFile(output) == ReadTextFile(TreeFile(it->name))) << it->name;
  }
}

TEST(ExtractEntry, GivesTheFileTheEntrysThreeTimes) {
  ScratchDir dir;
  UniqueZipReader reader = Open(Fixture("tree-deflated.zip"));
  ASSERT_NE(reader, nullptr);
  for (const EntryInfo& info : AllEntries(reader.get())) {
    if (IsDirectoryEntry(info)) continue;
    std::string output = dir / FlatName(info.name);
    ASSERT_EQ(ExtractEntry(reader.get(), info.index, output.c_str()), 0u);
    // `zip` records modification and access times; the creation time is the DOS time, which
    // the fixture script made equal to the modification time (Wine keeps no creation time of
    // its own on Linux file systems and reports the modification time for it).
    test::FileTimes times = ReadFileTimes(output);
    EXPECT_EQ(Ticks(times.modification), Ticks(test::FileTimeFromUnix(test::kTreeModified))) << info.name;
    EXPECT_EQ(Ticks(times.access), Ticks(test::FileTimeFromUnix(test::kTreeAccessed))) << info.name;
    EXPECT_EQ(Ticks(times.creation), Ticks(FixtureDosTime())) << info.name;
  }
}

TEST(ExtractEntry, CreatesTheFileWithTheEntrysAttributesReplacingAnExistingOne) {
  ScratchDir dir;
  UniqueZipReader reader = Open(Fixture("attributes.zip"));
  ASSERT_NE(reader, nullptr);
  struct Case {
    int index;
    const char* name;
    DWORD kept;
  } cases[] = {
      {0, "unix-file", 0},
      {1, "unix-file-readonly", FILE_ATTRIBUTE_READONLY},
      {10, "dos-everything", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(ExtractEntry(reader.get(), c.index, (dir / c.name).c_str()), 0u) << c.name;
    EXPECT_EQ(test::KeptAttributes(dir / c.name), c.kept) << c.name;
  }
  WriteTextFile(dir / "existing", "old content");
  ASSERT_EQ(ExtractEntry(reader.get(), 0, (dir / "existing").c_str()), 0u);
  EXPECT_EQ(ReadTextFile(dir / "existing"), "a");
}

TEST(ExtractEntry, FailsWhereNoFileCanBeMade) {
  ScratchDir dir;
  UniqueZipReader reader = Open(Fixture("four-files.zip"));
  ASSERT_NE(reader, nullptr);
  MakeDirectory(dir / "folder");
  EXPECT_EQ(ExtractEntry(reader.get(), 0, (dir / "folder").c_str()), kZipCannotOpenFile);
  EXPECT_EQ(ExtractEntry(reader.get(), 0, (dir / "missing\\file").c_str()), kZipCannotOpenFile);
  EXPECT_EQ(ListTree(dir.path()), Names{"folder"});
}

TEST(ExtractEntry, BadArgumentsGiveTheArgumentCode) {
  ScratchDir dir;
  UniqueZipReader reader = Open(Fixture("four-files.zip"));
  ASSERT_NE(reader, nullptr);
  std::string output = dir / "out";
  EXPECT_EQ(ExtractEntry(nullptr, 0, output.c_str()), kZipBadArgument);
  for (int index : {-1, -2, 4, 100}) EXPECT_EQ(ExtractEntry(reader.get(), index, output.c_str()), kZipBadArgument);
  EXPECT_FALSE(test::Exists(output));
}

TEST(ExtractEntry, RelativeOutputPathGetsItsFoldersUnderTheFolderCurrentAtOpening) {
  ScratchDir dir;
  test::CurrentDirectoryScope inside(dir.path());

  UniqueZipReader reader = Open(Fixture("four-files.zip"));
  ASSERT_NE(reader, nullptr);
  // 乗 ends in the byte 0x5C: the levels are 乗 and 子乗, never a stray lead byte.
  EXPECT_EQ(ExtractEntry(reader.get(), 1, "乗\\子乗/out.txt"), 0u);
  EXPECT_EQ(ListTree(dir.path()), (Names{"乗", "乗\\子乗", "乗\\子乗\\out.txt"}));
}

TEST(ExtractEntry, DataThatDoNotMatchTheirChecksumOrSizeAreADataError) {
  for (const char* archive : {"crc-mismatch-stored.zip", "crc-mismatch-deflated.zip", "short-data-stored.zip",
                              "short-data-deflated.zip"}) {
    ScratchDir dir;
    UniqueZipReader reader = Open(Fixture(archive));
    ASSERT_NE(reader, nullptr) << archive;
    EXPECT_EQ(ExtractEntry(reader.get(), 0, (dir / "first").c_str()), 0u) << archive;
    EXPECT_EQ(ExtractEntry(reader.get(), 1, (dir / "second").c_str()), kZipDataError) << archive;
    EXPECT_EQ(ExtractEntry(reader.get(), 2, (dir / "third").c_str()), 0u) << archive;
  }
}

TEST(ExtractEntry, EncryptedEntriesAreRefusedBeforeAnyFileIsTouched) {
  for (const char* archive : {"encrypted-deflated.zip", "encrypted-stored.zip"}) {
    ScratchDir dir;
    WriteTextFile(dir / "existing", "old");
    UniqueZipReader reader = Open(Fixture(archive));
    ASSERT_NE(reader, nullptr) << archive;
    for (const EntryInfo& info : AllEntries(reader.get())) {
      if (IsDirectoryEntry(info)) continue;
      EXPECT_EQ(ExtractEntry(reader.get(), info.index, (dir / "new").c_str()), kZipDataError) << info.name;
      EXPECT_EQ(ExtractEntry(reader.get(), info.index, (dir / "existing").c_str()), kZipDataError) << info.name;
    }
    EXPECT_EQ(ListTree(dir.path()), Names{"existing"}) << archive;
    EXPECT_EQ(ReadTextFile(dir / "existing"), "old") << archive;
  }
}

TEST(ExtractEntry, DirectoryEntryMakesADirectory) {
  ScratchDir dir;
  UniqueZipReader reader = Open(Fixture("directories.zip"));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(ExtractEntry(reader.get(), 0, (dir / "a").c_str()), 0u);
  EXPECT_EQ(ExtractEntry(reader.get(), 0, (dir / "a").c_str()), 0u);  // already there
  EXPECT_TRUE(test::IsDirectory(dir / "a"));
  WriteTextFile(dir / "file", "x");
  EXPECT_EQ(ExtractEntry(reader.get(), 0, (dir / "file").c_str()), kZipCannotOpenFile);
}

}  // namespace
}  // namespace xpboot
