#include <gtest/gtest.h>

#include <functional>

#include "trayer/TraySettings.h"

namespace wrenfold {
namespace {

TEST(TTraySettings, NewRecordHasTheValuesAtCreation) {
  const TTraySettings record;
  EXPECT_EQ(record.AppName, "");
  EXPECT_EQ(record.AppFullName, "");
  EXPECT_EQ(record.AppDescription, u"");
  EXPECT_EQ(record.ImageIndex, -1);
  EXPECT_TRUE(record.UseWrenfold);
  EXPECT_EQ(record.RClickMinDest, TrayingDestination::Tray);
  EXPECT_TRUE(record.ShowInAltTab);
  EXPECT_FALSE(record.ReplMinWithTray);
  EXPECT_TRUE(record.HideByRC);
  EXPECT_TRUE(record.ShowOnFocusSteal);
  EXPECT_FALSE(record.SkipAnimation);
  EXPECT_EQ(static_cast<int>(TrayingDestination::Tray), 0);
  EXPECT_EQ(static_cast<int>(TrayingDestination::Hide), 1);
}

TTraySettings Sample() {
  TTraySettings record;
  record.AppName = "Notepad.exe";
  record.AppFullName = "C:\\Windows\\Notepad.exe";
  record.AppDescription = u"Editor \u00e9";
  record.ImageIndex = 3;
  record.UseWrenfold = false;
  record.RClickMinDest = TrayingDestination::Hide;
  record.ShowInAltTab = false;
  record.ReplMinWithTray = true;
  record.HideByRC = false;
  record.ShowOnFocusSteal = false;
  record.SkipAnimation = true;
  return record;
}

TEST(TTraySettings, CloneCopiesEveryFieldIndependently) {
  auto original = Sample();
  const auto copy = original.Clone();
  original.AppName = "changed";
  original.AppFullName.clear();
  original.AppDescription = u"x";
  EXPECT_EQ(copy->AppName, "Notepad.exe");
  EXPECT_EQ(copy->AppFullName, "C:\\Windows\\Notepad.exe");
  EXPECT_EQ(copy->AppDescription, u"Editor \u00e9");
  EXPECT_EQ(copy->ImageIndex, 3);
  EXPECT_FALSE(copy->UseWrenfold);
  EXPECT_EQ(copy->RClickMinDest, TrayingDestination::Hide);
  EXPECT_FALSE(copy->ShowInAltTab);
  EXPECT_TRUE(copy->ReplMinWithTray);
  EXPECT_FALSE(copy->HideByRC);
  EXPECT_FALSE(copy->ShowOnFocusSteal);
  EXPECT_TRUE(copy->SkipAnimation);
}

TEST(TTraySettings, SameAsComparesWhatTheUserEdits) {
  struct Case {
    const char* change;
    std::function<void(TTraySettings&)> apply;
    bool same;
  };
  const Case cases[] = {
      {"nothing", [](TTraySettings&) {}, true},
      {"AppFullName", [](TTraySettings& r) { r.AppFullName = "D:\\other.exe"; }, true},
      {"ImageIndex", [](TTraySettings& r) { r.ImageIndex = 9; }, true},
      {"SkipAnimation", [](TTraySettings& r) { r.SkipAnimation = !r.SkipAnimation; }, true},
      {"AppName letter case", [](TTraySettings& r) { r.AppName = "NOTEPAD.EXE"; }, false},
      {"AppDescription letter case", [](TTraySettings& r) { r.AppDescription = u"EDITOR \u00c9"; }, false},
      {"UseWrenfold", [](TTraySettings& r) { r.UseWrenfold = !r.UseWrenfold; }, false},
      {"RClickMinDest", [](TTraySettings& r) { r.RClickMinDest = TrayingDestination::Tray; }, false},
      {"ShowInAltTab", [](TTraySettings& r) { r.ShowInAltTab = !r.ShowInAltTab; }, false},
      {"ReplMinWithTray", [](TTraySettings& r) { r.ReplMinWithTray = !r.ReplMinWithTray; }, false},
      {"HideByRC", [](TTraySettings& r) { r.HideByRC = !r.HideByRC; }, false},
      {"ShowOnFocusSteal", [](TTraySettings& r) { r.ShowOnFocusSteal = !r.ShowOnFocusSteal; }, false},
  };
  for (const auto& c : cases) {
    const auto original = Sample();
    auto copy = *original.Clone();
    c.apply(copy);
    EXPECT_EQ(original.SameAs(copy), c.same) << c.change;
    EXPECT_EQ(copy.SameAs(original), c.same) << c.change;
  }
}

std::vector<std::string> Names(const TTraySettingsList& list) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < list.Count(); ++i) names.push_back(list[i].AppName);
  return names;
}

TEST(TTraySettingsList, AddAppendsFreshRecordsAndKeepsThemInPlace) {
  TTraySettingsList list;
  auto& first = list.Add("a.exe");
  first.HideByRC = false;
  for (int i = 0; i < 100; ++i) list.Add("more.exe");
  // A borrowed record stays valid while the list grows.
  EXPECT_EQ(&first, &list[0]);
  EXPECT_FALSE(list[0].HideByRC);
  EXPECT_TRUE(list[1].HideByRC);
  EXPECT_EQ(list[1].ImageIndex, -1);
  EXPECT_EQ(list.Count(), 101u);
}

TEST(TTraySettingsList, DeleteAndClearKeepTheOrderOfTheRest) {
  TTraySettingsList list;
  list.Add("one.exe");
  list.Add("two.exe");
  list.Add("three.exe");
  list.Delete(0);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"two.exe", "three.exe"}));
  list.Delete(1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"two.exe"}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0u);
}

TEST(TTraySettingsList, CloneIsADeepCopyInTheSameOrder) {
  TTraySettingsList list;
  list.Add("one.exe").AppDescription = u"first";
  list.Add("two.exe").UseWrenfold = false;
  auto copy = list.Clone();
  ASSERT_EQ(copy.Count(), 2u);
  for (std::size_t i = 0; i < list.Count(); ++i) {
    EXPECT_NE(&copy[i], &list[i]);
    EXPECT_TRUE(copy[i].SameAs(list[i]));
  }
  copy[0].AppName = "ONE.EXE";
  copy.Delete(1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"one.exe", "two.exe"}));
  EXPECT_FALSE(copy[0].SameAs(list[0]));
}

}  // namespace
}  // namespace wrenfold
