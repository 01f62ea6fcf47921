// OpenLink below the window: which target a link has, how the registered web-page program's
// command line is cut, and the way through that program when the shell refuses a target.
#include "about/open_link.h"

#include <gtest/gtest.h>

#include <string>

#include "registry_override.h"
#include "web_page_program.h"

namespace xpboot {
namespace {

using test::kUnclaimedTarget;
using test::WebPageProgram;

TEST(LinkTargetText, MailGetsItsSchemeAndWebAddressesStayAsStored) {
  struct Case {
    LinkTarget kind;
    const char* email;
    const char* web;
    std::string target;
  } cases[] = {
      {LinkTarget::EmailAddress, "bugs@example.com", "www.example.org", "mailto:bugs@example.com"},
      // Nothing is escaped: GBK bytes and '&' go on as they are.
      {LinkTarget::EmailAddress, "用户&x@example.com", "", "mailto:用户&x@example.com"},
      {LinkTarget::WebAddress, "bugs@example.com", "www.example.org", "www.example.org"},
      {LinkTarget::WebAddress, "", "https://shop.example.com/a.htm?id=1&b=%1", "https://shop.example.com/a.htm?id=1&b=%1"},
      // The address of the other kind does not stand in for an empty one.
      {LinkTarget::EmailAddress, "", "www.example.org", ""},
      {LinkTarget::EmailAddress, nullptr, "www.example.org", ""},
      {LinkTarget::WebAddress, "bugs@example.com", "", ""},
      {LinkTarget::WebAddress, "bugs@example.com", nullptr, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LinkTargetText(c.kind, c.email, c.web), c.target)
        << (c.email ? c.email : "(null)") << " / " << (c.web ? c.web : "(null)");
  }
}

TEST(CutAtPlaceholder, CutsBeforeTheQuotedPlaceholderElseTheBareOneElseNowhere) {
  struct Case {
    std::string command;
    std::string cut;
  } cases[] = {
      // The opening quote goes with the placeholder; the blank before it stays.
      {"\"C:\\Program Files\\Browser\\browser.exe\" \"%1\"", "\"C:\\Program Files\\Browser\\browser.exe\" "},
      {"C:\\Browser\\browser.exe -url \"%1\" -new-window", "C:\\Browser\\browser.exe -url "},
      {"C:\\Browser\\browser.exe %1", "C:\\Browser\\browser.exe "},
      {"C:\\Browser\\browser.exe -nohome %1 -x", "C:\\Browser\\browser.exe -nohome "},
      // The quoted placeholder wins even when a bare one comes first.
      {"browser.exe %1 \"%1\"", "browser.exe %1 "},
      {"\"%1\"", ""},
      {"C:\\Browser\\browser.exe -nohome", "C:\\Browser\\browser.exe -nohome"},
      {"browser.exe %2 \"%\" %", "browser.exe %2 \"%\" %"},
      {"", ""},
      // GBK folders, one of them ending in 乗 (81 5C): the trail byte is no separator and
      // nothing is cut inside a character.
      {"\"C:\\浏览器\\乗\\浏览.exe\" \"%1\"", "\"C:\\浏览器\\乗\\浏览.exe\" "},
      {"C:\\浏览器\\乗\\浏览.exe %1", "C:\\浏览器\\乗\\浏览.exe "},
      // A lead byte right before the placeholder takes the next byte as its trail byte:
      // the quote, so only the bare %1 is on a character boundary ...
      {"browser.exe \x81\"%1\"", "browser.exe \x81\""},
      // ... or the '%', so no placeholder is left at all.
      {"browser.exe \x81%1", "browser.exe \x81%1"},
  };
  ASSERT_EQ(::GetACP(), 936u) << "the cases are written for the GBK code page";
  for (const Case& c : cases) EXPECT_EQ(CutAtPlaceholder(c.command), c.cut) << c.command;
}

// The shell refuses kUnclaimedTarget; the web-page program gets the cut command line, one
// blank and the target, started with the show command.
TEST(OpenLink, HandsARefusedTargetToTheRegisteredWebPageProgram) {
  WebPageProgram program("{recorder} {log} \"%1\" -new");
  ASSERT_TRUE(OpenLink(LinkTarget::WebAddress, "bugs@example.com", kUnclaimedTarget, SW_SHOW));
  ASSERT_TRUE(program.WaitForLaunches(1));
  std::string expected = "show=5|\"" + program.RecorderPath() + "\" \"" + program.LogPath() +
                         "\"  " + kUnclaimedTarget;
  EXPECT_EQ(program.Launches(), std::vector<std::string>{expected});

  ASSERT_TRUE(OpenLink(LinkTarget::WebAddress, "", kUnclaimedTarget, SW_SHOWMINNOACTIVE));
  ASSERT_TRUE(program.WaitForLaunches(2));
  EXPECT_EQ(program.Launches().at(1).substr(0, 7), "show=7|");
}

TEST(OpenLink, FailsWhenNeitherTheShellNorAWebPageProgramTakesTheTarget) {
  ASSERT_FALSE(test::ReadRegistryString(HKEY_CLASSES_ROOT, ".htm", ""))
      << "the test prefix registers no file type for web pages";
  EXPECT_FALSE(OpenLink(LinkTarget::WebAddress, "", kUnclaimedTarget, SW_SHOW));
  {
    // The file type has no open command.
    test::RegistryOverride type(HKEY_CLASSES_ROOT, ".htm", "", "XpbootNoSuchPageType");
    EXPECT_FALSE(OpenLink(LinkTarget::WebAddress, "", kUnclaimedTarget, SW_SHOW));
  }
  {
    // Its open command names a program that does not exist.
    WebPageProgram program("\"C:\\xpboot-nowhere\\browser.exe\" \"%1\"");
    EXPECT_FALSE(OpenLink(LinkTarget::WebAddress, "", kUnclaimedTarget, SW_SHOW));
  }
  // An empty target goes nowhere, not even to a registered program.
  WebPageProgram program("{recorder} {log} %1");
  EXPECT_FALSE(OpenLink(LinkTarget::EmailAddress, "", "www.example.org", SW_SHOW));
  EXPECT_FALSE(OpenLink(LinkTarget::WebAddress, "bugs@example.com", "", SW_SHOW));
  ::Sleep(300);
  EXPECT_TRUE(program.Launches().empty());
}

}  // namespace
}  // namespace xpboot
