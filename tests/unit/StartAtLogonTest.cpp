#include <gtest/gtest.h>

#include "storage/StartAtLogon.h"
#include "support/FakePlatform.h"

namespace wrenfold {
namespace {

class StartAtLogonTest : public ::testing::Test {
 protected:
  fake::FakeFileSystem files;
  fake::CallLog log;
  fake::FakeSystem system{files, log};
  const std::string startup = "C:\\Users\\ann\\Start Menu\\Programs\\Startup\\";
  const std::string exe = "D:\\Tools\\Wrenfold\\wrenfold.exe";
  const std::string shortcut = startup + "Wrenfold.lnk";
};

TEST_F(StartAtLogonTest, SpecialFolderGetsATrailingBackslashOrIsEmpty) {
  EXPECT_EQ(GetSpecialFolderPath(system, kCsidlStartup), "");
  system.specialFolders[kCsidlStartup] = "C:\\Startup";
  EXPECT_EQ(GetSpecialFolderPath(system, kCsidlStartup), "C:\\Startup\\");
}

TEST_F(StartAtLogonTest, ShortcutPointsAtTheProgramInItsFolder) {
  EXPECT_TRUE(CreateShortcut(system, "C:\\Links", exe, "Name"));
  EXPECT_TRUE(CreateShortcut(system, "C:\\Links\\", exe, "Other"));
  ASSERT_EQ(system.links.count("C:\\Links\\Name.lnk"), 1u);
  ASSERT_EQ(system.links.count("C:\\Links\\Other.lnk"), 1u);
  const auto& link = system.links.at("C:\\Links\\Name.lnk");
  EXPECT_EQ(link.target, exe);
  EXPECT_EQ(link.workingFolder, "D:\\Tools\\Wrenfold\\");
  EXPECT_EQ(link.iconPath, exe);
  EXPECT_EQ(link.iconIndex, 0);
}

TEST_F(StartAtLogonTest, TheBoxDecidesWhetherTheShortcutExists) {
  struct Case {
    bool ticked;
    bool existsBefore;
    bool existsAfter;
    bool saved;
  };
  const Case cases[] = {
      {true, false, true, true},
      {true, true, true, false},  // left as it is, wherever it points
      {false, true, false, false},
      {false, false, false, false},
  };
  for (const auto& c : cases) {
    system.links.clear();
    log.clear();
    if (c.existsBefore) system.links[shortcut] = {"C:\\Old\\wrenfold.exe", "C:\\Old\\", "C:\\Old\\wrenfold.exe", 0};
    ApplyStartAtLogon(system, startup, exe, c.ticked);
    EXPECT_EQ(StartAtLogonShortcutExists(system, startup), c.existsAfter) << c.ticked << c.existsBefore;
    EXPECT_EQ(!log.empty() && log.front().rfind("save link", 0) == 0, c.saved) << c.ticked << c.existsBefore;
    if (c.ticked && c.existsBefore) {
      EXPECT_EQ(system.links.at(shortcut).target, "C:\\Old\\wrenfold.exe");
    }
  }
}

TEST_F(StartAtLogonTest, WithoutAStartupFolderNothingIsDone) {
  ApplyStartAtLogon(system, "", exe, true);
  EXPECT_TRUE(system.links.empty());
  EXPECT_FALSE(StartAtLogonShortcutExists(system, ""));
}

}  // namespace
}  // namespace wrenfold
