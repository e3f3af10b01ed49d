#include <gtest/gtest.h>

#include "support/FakeText.h"
#include "trayer/SettingsIndex.h"
#include "trayer/Trayer.h"

namespace wrenfold {
namespace {

class FindSettingsTest : public ::testing::Test {
 protected:
  // Gives the trayer a list of records with these names, in this order.
  void Give(std::initializer_list<const char*> names) {
    TTraySettingsList list;
    int n = 0;
    for (const char* name : names) list.Add(name).ImageIndex = n++;
    trayer.SetSpecialSettings(std::move(list));
  }
  // Position of the record found, -1 for none.
  int Found(std::string_view path) {
    const auto* record = trayer.FindSettings(path);
    return record ? record->ImageIndex : -1;
  }

  fake::FakeTextServices text;
  TTrayer trayer{text};
};

TEST_F(FindSettingsTest, ComparesTheFileNameWithoutRegardToCaseOrFolder) {
  Give({"notepad.exe", "Calc.EXE", "\xC9" "dit.exe"});
  struct Case {
    const char* path;
    int expected;
  };
  const Case cases[] = {
      {"notepad.exe", 0},
      {"C:\\Windows\\NOTEPAD.EXE", 0},
      {"D:\\Other\\Folder\\Notepad.Exe", 0},
      {"C:notepad.exe", 0},  // drive-relative: the colon ends the folder part
      {"calc.exe", 1},
      {"C:\\Program Files\\\xE9" "DIT.EXE", 2},  // letters beyond ASCII in the code page
      {"C:\\notepad.exe\\other.exe", -1},
      {"notepad.exe ", -1},
      {"C:\\Windows\\", -1},
      {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(Found(c.path), c.expected) << c.path;
}

TEST_F(FindSettingsTest, TheFirstOfTwoNamesDifferingInCaseWins) {
  Give({"other.exe", "APP.exe", "app.EXE"});
  EXPECT_EQ(Found("c:\\x\\App.Exe"), 1);
}

TEST_F(FindSettingsTest, EmptyPathFindsOnlyARecordWithoutName) {
  Give({"a.exe"});
  EXPECT_EQ(Found(""), -1);
  Give({"a.exe", ""});
  EXPECT_EQ(Found(""), 1);
}

TEST_F(FindSettingsTest, NothingIsFoundInAnEmptyListAndDefaultsAreAlwaysThere) {
  EXPECT_EQ(Found("anything.exe"), -1);
  Give({"a.exe"});
  Give({});
  EXPECT_EQ(Found("a.exe"), -1);
  EXPECT_TRUE(trayer.DefaultSettings().UseWrenfold);
}

TEST_F(FindSettingsTest, ReplacingTheListDropsTheOldRecords) {
  Give({"old.exe"});
  EXPECT_EQ(Found("old.exe"), 0);
  Give({"x.exe", "new.exe"});
  EXPECT_EQ(Found("old.exe"), -1);
  EXPECT_EQ(Found("new.exe"), 1);
}

TEST_F(FindSettingsTest, ALookupLowerCasesOneNameHoweverLongTheList) {
  TTraySettingsList list;
  for (int i = 0; i < 1000; ++i) list.Add("app" + std::to_string(i) + ".exe");
  trayer.SetSpecialSettings(std::move(list));
  text.lowerCaseCalls = 0;
  EXPECT_NE(trayer.FindSettings("C:\\APP999.EXE"), nullptr);
  EXPECT_EQ(trayer.FindSettings("C:\\none.exe"), nullptr);
  EXPECT_EQ(text.lowerCaseCalls, 2);
}

TEST(SettingsIndex, FollowsRenamesAndKeepsTheFirstMatch) {
  fake::FakeTextServices text;
  SettingsIndex index(text);
  index.Appended(0, "a.exe");
  index.Appended(1, "b.exe");
  index.Appended(2, "A.EXE");
  EXPECT_EQ(index.Find("a.exe"), 0u);
  index.Renamed(0, "a.exe", "c.exe");
  EXPECT_EQ(index.Find("A.exe"), 2u);
  EXPECT_EQ(index.Find("c.exe"), 0u);
  index.Renamed(1, "b.exe", "C.EXE");
  EXPECT_EQ(index.Find("c.exe"), 0u);
  EXPECT_FALSE(index.Find("b.exe"));
  // A record renamed onto a later name's key comes first again.
  index.Renamed(0, "c.exe", "a.exe");
  EXPECT_EQ(index.Find("a.exe"), 0u);
  EXPECT_EQ(index.Find("c.exe"), 1u);
}

}  // namespace
}  // namespace wrenfold
