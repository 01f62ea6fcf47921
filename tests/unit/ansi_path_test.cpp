#include "host/ansi_path.h"

#include <gtest/gtest.h>

namespace xpboot {
namespace {

// 乗 is 0x81 0x5C in GBK: its second byte is the code of the backslash.
constexpr const char* kTrailBackslash = "乗";

TEST(AnsiPath, GbkCharacterWithBackslashTrailByteIsOneCharacter) {
  ASSERT_STREQ(kTrailBackslash, "\x81\x5C");
  EXPECT_EQ(CharLengthAt("\x81\x5C", 0), 2u);
  EXPECT_EQ(CharLengthAt("a\\", 1), 1u);
  // A lead byte at the very end has no trail byte: it counts alone.
  EXPECT_EQ(CharLengthAt("a\x81", 1), 1u);
}

TEST(AnsiPath, FindLastBackslashSkipsTrailBytes) {
  struct Case {
    std::string text;
    std::size_t expected;
  } cases[] = {
      {"C:\\dir\\name", 6},
      {std::string("C:\\") + kTrailBackslash, 2},
      {std::string("C:\\a") + kTrailBackslash + "b", 2},
      {std::string(kTrailBackslash) + "\\x", 2},
      {"name", std::string::npos},
      {kTrailBackslash, std::string::npos},
  };
  for (const Case& c : cases) EXPECT_EQ(FindLastBackslash(c.text), c.expected) << c.text;
}

TEST(AnsiPath, EndsWithBackslashSkipsTrailBytes) {
  EXPECT_TRUE(EndsWithBackslash("C:\\"));
  EXPECT_TRUE(EndsWithBackslash(std::string(kTrailBackslash) + "\\"));
  EXPECT_FALSE(EndsWithBackslash(std::string("C:\\") + kTrailBackslash));
  EXPECT_FALSE(EndsWithBackslash("C:/"));
  EXPECT_FALSE(EndsWithBackslash(""));
}

TEST(AnsiPath, EverySpellingOfAVolumeRootIsARoot) {
  for (const char* root : {"C:", "c:", "C:\\", "C:/", "C://", "C:\\\\", "C:/\\", "C:\\\\\\",
                           "C:\\Boot\\..", "C://Boot/../", "C:\\.", "\\\\?\\C:\\", "\\\\.\\C:",
                           "\\\\server\\share", "\\\\server\\share\\", "\\\\?\\UNC\\server\\share",
                           "\\", "/"}) {
    EXPECT_TRUE(NamesVolumeRoot(root)) << root;
  }
}

TEST(AnsiPath, FoldersBelowARootAreNotRoots) {
  for (const std::string& path :
       {std::string("C:\\Boot"), std::string("C://Boot"), std::string("C:/Boot/"),
        std::string("C:\\") + kTrailBackslash, std::string("C:\\") + kTrailBackslash + "\\",
        std::string("\\\\server\\share\\dir"), std::string("C:\\a\\b\\..")}) {
    EXPECT_FALSE(NamesVolumeRoot(path)) << path;
  }
}

}  // namespace
}  // namespace xpboot
