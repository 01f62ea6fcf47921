// The resources of xpboot.exe as Windows reads them: the hand cursor, the icon sizes, the
// version information and the manifest's request for administrator rights.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "host/handles.h"
#include "test_support.h"
#include "version.h"

namespace xpboot {
namespace {

std::string ProgramPath() { return test::TestProgramFolder() + "\\xpboot.exe"; }

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = ::LoadLibraryExA(ProgramPath().c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << ProgramPath();
  }
  void TearDown() override {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }

  // The bytes of a resource, empty when it is missing.
  std::vector<BYTE> Bytes(const char* type, const char* name) const {
    HRSRC found = ::FindResourceA(module_, name, type);
    if (found == nullptr) return {};
    HGLOBAL loaded = ::LoadResource(module_, found);
    const BYTE* data = static_cast<const BYTE*>(::LockResource(loaded));
    if (data == nullptr) return {};
    return std::vector<BYTE>(data, data + ::SizeofResource(module_, found));
  }

  HMODULE module_ = nullptr;
};

WORD Word(const std::vector<BYTE>& b, std::size_t at) {
  return static_cast<WORD>(b.at(at) | b.at(at + 1) << 8);
}

// A group directory: 6 bytes of header, then 14 bytes for each image.
constexpr std::size_t kGroupHeader = 6, kGroupEntry = 14;

TEST_F(ProgramResources, TheHandCursorIs32By32InTwoColoursWithItsHotSpotAtTheFingertip) {
  std::vector<BYTE> group = Bytes(RT_GROUP_CURSOR, "HAND_CURSOR");
  ASSERT_GE(group.size(), kGroupHeader + kGroupEntry);
  EXPECT_EQ(Word(group, 2), 2) << "a cursor group";
  ASSERT_EQ(Word(group, 4), 1) << "one image";
  // Cursor entries: width, height (doubled: colour plus mask), planes, bit count, size, id.
  EXPECT_EQ(Word(group, 6), 32);
  EXPECT_EQ(Word(group, 8), 64);
  EXPECT_EQ(Word(group, 12), 1) << "bits per pixel";

  std::vector<BYTE> image =
      Bytes(RT_CURSOR, MAKEINTRESOURCEA(Word(group, kGroupHeader + 12)));
  ASSERT_GE(image.size(), 4 + sizeof(BITMAPINFOHEADER) + 8 + 2 * 32 * 4);
  EXPECT_EQ(Word(image, 0), 6) << "hot spot x";
  EXPECT_EQ(Word(image, 2), 1) << "hot spot y";
  BITMAPINFOHEADER header;
  std::memcpy(&header, image.data() + 4, sizeof header);
  EXPECT_EQ(header.biWidth, 32);
  EXPECT_EQ(header.biHeight, 64);
  EXPECT_EQ(header.biBitCount, 1);

  // The hot spot is an opaque black pixel with nothing above it: the tip of the finger.
  // Rows are stored bottom-up, 4 bytes each: the colour rows, then the mask rows.
  const BYTE* colour = image.data() + 4 + sizeof header + 8;
  const BYTE* mask = colour + 32 * 4;
  auto bit = [](const BYTE* rows, int x, int y) {
    return (rows[(31 - y) * 4 + x / 8] >> (7 - x % 8)) & 1;
  };
  EXPECT_EQ(bit(mask, 6, 1), 0) << "opaque";
  EXPECT_EQ(bit(colour, 6, 1), 0) << "black";
  EXPECT_EQ(bit(mask, 6, 0), 1) << "transparent above the tip";
}

TEST_F(ProgramResources, TheIconComesInEverySizeWindowsAsksFor) {
  std::vector<BYTE> group = Bytes(RT_GROUP_ICON, "DEFAULT_ICON");
  ASSERT_GE(group.size(), kGroupHeader);
  EXPECT_EQ(Word(group, 2), 1) << "an icon group";
  std::set<int> sizes;
  for (std::size_t i = 0; i < Word(group, 4); ++i) {
    std::size_t at = kGroupHeader + i * kGroupEntry;
    int width = group.at(at) == 0 ? 256 : group.at(at);
    int height = group.at(at + 1) == 0 ? 256 : group.at(at + 1);
    EXPECT_EQ(width, height);
    EXPECT_EQ(Word(group, at + 6), 32) << width << " pixels: 32 bits with alpha";
    sizes.insert(width);
  }
  // Small and large icons at 100 % to 250 % scaling, and the extra large one of the shell.
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}));

  // Windows picks its sizes itself: each one it asks for is there to be loaded as it is.
  for (int size : {16, 32, 48, 256}) {
    UniqueIcon icon(static_cast<HICON>(
        ::LoadImageA(module_, "DEFAULT_ICON", IMAGE_ICON, size, size, 0)));
    ASSERT_TRUE(icon) << size;
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    UniqueGdiObject mask(info.hbmMask), colour(info.hbmColor);
    BITMAP bitmap{};
    ::GetObjectA(colour.get(), sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
  }
}

TEST_F(ProgramResources, VersionInformationCarriesTheProgramVersionInChinese) {
  DWORD ignored = 0;
  DWORD size = ::GetFileVersionInfoSizeA(ProgramPath().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(::GetFileVersionInfoA(ProgramPath().c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(XPBOOT_VERSION_MAJOR << 16 | XPBOOT_VERSION_MINOR));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(XPBOOT_VERSION_PATCH << 16));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0804) << "Chinese (PRC)";
  EXPECT_EQ(translation[1], 936) << "GBK";

  for (const char* name : {"FileVersion", "ProductVersion"}) {
    char* text = nullptr;
    std::string query = std::string("\\StringFileInfo\\080403a8\\") + name;
    ASSERT_TRUE(::VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) << name;
    EXPECT_STREQ(text, XPBOOT_VERSION_STRING) << name;
  }
  char* original = nullptr;
  ASSERT_TRUE(::VerQueryValueA(info.data(), "\\StringFileInfo\\080403a8\\OriginalFilename",
                               reinterpret_cast<void**>(&original), &length));
  EXPECT_STREQ(original, "xpboot.exe");
}

TEST_F(ProgramResources, TheManifestAsksForAdministratorRights) {
  std::vector<BYTE> bytes = Bytes(RT_MANIFEST, MAKEINTRESOURCEA(1));
  ASSERT_FALSE(bytes.empty()) << "manifest 1, the one Windows reads when it starts a program";
  std::string manifest(bytes.begin(), bytes.end());
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"requireAdministrator\""),
            std::string::npos)
      << manifest;
  EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
}

}  // namespace
}  // namespace xpboot
