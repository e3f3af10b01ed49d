#include <gtest/gtest.h>

#include <random>

#include "platform/Error.h"
#include "storage/SettingsFile.h"
#include "support/FakeFileSystem.h"
#include "support/FakeText.h"

namespace wrenfold {
namespace {

const std::string kPath = "C:\\Users\\u\\Data\\wrenfold.ini";

const char* const kFirstRunFile =
    "[Default]\r\n"
    "RCMinDest=-1\r\n"
    "ReplMinWithTray=0\r\n"
    "HideByRC=1\r\n"
    "ShowOnFocusSteal=1\r\n"
    "SkipAnimation=0\r\n"
    "DontShowCancelConf=0\r\n"
    "DontShowPopupsConf=0\r\n"
    "DontShowCloseAllConf=0\r\n";

class SettingsFileTest : public ::testing::Test {
 protected:
  void Read() { ReadSettingsFile(files, kPath, text, trayer, flags); }
  void ReadText(std::string contents) {
    files.files[kPath] = std::move(contents);
    Read();
  }
  void Write(const TTraySettingsList& list, SettingsWrite mode = SettingsWrite::FromScratch) {
    WriteSettingsFile(files, kPath, CommonPageState{}, DontShowFlags{}, list, mode);
  }
  const TTraySettingsList& Special() const { return trayer.SpecialSettings(); }
  const TTraySettings& Defaults() { return trayer.DefaultSettings(); }

  // What a file without any usable key reads as.
  void ExpectFileDefaults() {
    EXPECT_EQ(Defaults().RClickMinDest, TrayingDestination::Tray);
    EXPECT_FALSE(Defaults().ReplMinWithTray);
    EXPECT_TRUE(Defaults().HideByRC);
    EXPECT_FALSE(Defaults().ShowOnFocusSteal);
    EXPECT_TRUE(Defaults().SkipAnimation);
    EXPECT_FALSE(Defaults().ShowInAltTab);
    EXPECT_TRUE(Defaults().UseWrenfold);
    EXPECT_FALSE(flags.DontShowCancelConf);
    EXPECT_FALSE(flags.DontShowPopupsConf);
    EXPECT_FALSE(flags.DontShowCloseAllConf);
    EXPECT_EQ(Special().Count(), 0u);
  }

  fake::FakeFileSystem files;
  fake::FakeTextServices text;
  TTrayer trayer{text};
  DontShowFlags flags;
};

TEST_F(SettingsFileTest, FirstRunWritesExactlyTheNineLines) {
  Write(TTraySettingsList{});
  EXPECT_EQ(files.files.at(kPath), kFirstRunFile);
}

TEST_F(SettingsFileTest, TheFirstRunFileReadsAsTheDefaults) {
  // Start from the opposite of every value, so that each one must be read.
  trayer.DefaultSettings().UseWrenfold = false;
  trayer.DefaultSettings().HideByRC = false;
  trayer.DefaultSettings().SkipAnimation = true;
  trayer.DefaultSettings().ShowInAltTab = true;
  flags = {true, true, true};
  TTraySettingsList old;
  old.Add("old.exe");
  trayer.SetSpecialSettings(std::move(old));

  ReadText(kFirstRunFile);
  EXPECT_EQ(Defaults().RClickMinDest, TrayingDestination::Tray);
  EXPECT_FALSE(Defaults().ReplMinWithTray);
  EXPECT_TRUE(Defaults().HideByRC);
  EXPECT_TRUE(Defaults().ShowOnFocusSteal);
  EXPECT_FALSE(Defaults().SkipAnimation);
  EXPECT_FALSE(Defaults().ShowInAltTab);
  EXPECT_TRUE(Defaults().UseWrenfold);
  EXPECT_FALSE(flags.DontShowCancelConf || flags.DontShowPopupsConf || flags.DontShowCloseAllConf);
  EXPECT_EQ(Special().Count(), 0u);
  EXPECT_EQ(files.files.at(kPath), kFirstRunFile);  // reading changes nothing
}

TEST_F(SettingsFileTest, AMissingOrUnreadableFileGivesEveryDefault) {
  Read();
  ExpectFileDefaults();
  files.files[kPath] = "[Default]\nHideByRC=0\n";
  files.failReads.insert(kPath);
  Read();
  ExpectFileDefaults();
}

TEST_F(SettingsFileTest, DefaultSectionValues) {
  struct Case {
    const char* file;
    TrayingDestination destination;
    bool hideByRC;
    bool dontShowCloseAll;
  };
  const Case cases[] = {
      {"[Default]\nRCMinDest=1\n", TrayingDestination::Hide, true, false},
      {"[Default]\nRCMinDest=0x1\n", TrayingDestination::Hide, true, false},
      {"[default]\nrcmindest= 1 \n", TrayingDestination::Hide, true, false},
      {"[Default]\nRCMinDest=-1\n", TrayingDestination::Tray, true, false},
      {"[Default]\nRCMinDest=2\n", TrayingDestination::Tray, true, false},
      {"[Default]\nRCMinDest=one\n", TrayingDestination::Tray, true, false},
      {"[Default]\nHideByRC=0\nDontShowCloseAllConf=1\n", TrayingDestination::Tray, false, true},
      {"[Default]\nHideByRC=true\nDontShowCloseAllConf=true\n", TrayingDestination::Tray, true, false},
      {"[Default]\nHideByRC=0x0\nDontShowCloseAllConf=0x10\n", TrayingDestination::Tray, false, true},
      {"[Default]\nHideByRC=\nDontShowCloseAllConf=-3\n", TrayingDestination::Tray, true, true},
  };
  for (const auto& c : cases) {
    ReadText(c.file);
    EXPECT_EQ(Defaults().RClickMinDest, c.destination) << c.file;
    EXPECT_EQ(Defaults().HideByRC, c.hideByRC) << c.file;
    EXPECT_EQ(flags.DontShowCloseAllConf, c.dontShowCloseAll) << c.file;
  }
}

TEST_F(SettingsFileTest, ShowInAltTabIsReadButNeverWritten) {
  ReadText(std::string(kFirstRunFile) + "ShowInAltTab=1\r\n");
  EXPECT_TRUE(Defaults().ShowInAltTab);
  Write(TTraySettingsList{});
  EXPECT_EQ(files.files.at(kPath), kFirstRunFile);
}

TEST_F(SettingsFileTest, PerApplicationSectionsAreReadUntilTheFirstGap) {
  ReadText("[SpecApp0]\nAppName=a.exe\n[SpecApp2]\nAppName=c.exe\n");
  ASSERT_EQ(Special().Count(), 1u);
  EXPECT_EQ(Special()[0].AppName, "a.exe");

  ReadText("[SpecApp0]\n\n[SpecApp1]\nAppName=b.exe\n");
  EXPECT_EQ(Special().Count(), 0u);
}

TEST_F(SettingsFileTest, ASectionWithoutAppNameIsPassedOver) {
  ReadText("[SpecApp0]\nAppName=\nHideByRC=0\n[SpecApp1]\nUseWrenfold=1\n[SpecApp2]\nAppName=c.exe\n");
  ASSERT_EQ(Special().Count(), 1u);
  EXPECT_EQ(Special()[0].AppName, "c.exe");
}

TEST_F(SettingsFileTest, TheLaterOfTwoSectionsWithOneNameGivesTheValues) {
  ReadText(
      "[SpecApp0]\nAppName=App.exe\nHideByRC=0\nUseWrenfold=1\n"
      "[SpecApp1]\nAppName=x.exe\n"
      "[SpecApp2]\nAppName=APP.EXE\nShowOnFocusSteal=1\n");
  ASSERT_EQ(Special().Count(), 2u);
  const auto& record = Special()[0];
  EXPECT_EQ(record.AppName, "APP.EXE");
  EXPECT_TRUE(record.HideByRC);  // the later section's default
  EXPECT_FALSE(record.UseWrenfold);
  EXPECT_TRUE(record.ShowOnFocusSteal);
  EXPECT_EQ(trayer.FindSettings("C:\\app.exe"), &record);
}

TEST_F(SettingsFileTest, MissingPerApplicationKeysTakeTheFileDefaults) {
  ReadText("[SpecApp0]\nAppName=a.exe\n");
  const auto& record = Special()[0];
  EXPECT_EQ(record.AppFullName, "");
  EXPECT_EQ(record.ImageIndex, -1);
  EXPECT_EQ(record.AppDescription, u"");
  EXPECT_FALSE(record.UseWrenfold);
  EXPECT_EQ(record.RClickMinDest, TrayingDestination::Tray);
  EXPECT_FALSE(record.ShowInAltTab);
  EXPECT_FALSE(record.ReplMinWithTray);
  EXPECT_TRUE(record.HideByRC);
  EXPECT_FALSE(record.ShowOnFocusSteal);
  EXPECT_FALSE(record.SkipAnimation);  // never stored per application
}

TEST_F(SettingsFileTest, ImageIndexIsReadOnlyWithoutAFullName) {
  ReadText(
      "[SpecApp0]\nAppName=a.exe\nImageIndex=4\n"
      "[SpecApp1]\nAppName=b.exe\nAppFullName=C:\\b.exe\nImageIndex=4\n");
  EXPECT_EQ(Special()[0].ImageIndex, 4);
  EXPECT_EQ(Special()[1].ImageIndex, -1);
}

TEST_F(SettingsFileTest, RightClickDestinationUnderEitherKey) {
  struct Case {
    const char* keys;
    TrayingDestination expected;
  };
  const Case cases[] = {
      {"", TrayingDestination::Tray},
      {"RCMinDest=1\n", TrayingDestination::Hide},
      {"RCMinDest=0\n", TrayingDestination::Tray},
      {"RClickMinDest=1\n", TrayingDestination::Hide},
      {"RClickMinDest=0\n", TrayingDestination::Tray},
      {"RCMinDest=0\nRClickMinDest=1\n", TrayingDestination::Tray},
      {"RCMinDest=yes\n", TrayingDestination::Hide},  // any text but "0"
  };
  for (const auto& c : cases) {
    ReadText(std::string("[SpecApp0]\nAppName=a.exe\n") + c.keys);
    EXPECT_EQ(Special()[0].RClickMinDest, c.expected) << c.keys;
  }
}

TEST_F(SettingsFileTest, PerApplicationRecordsSurviveAWriteAndARead) {
  TTraySettingsList list;
  auto& a = list.Add("Notepad.exe");
  a.AppDescription = u"Editor \u00e9 \u4e2d \U0001F600 \"quoted\"";
  a.ImageIndex = 2;
  a.UseWrenfold = false;
  a.RClickMinDest = TrayingDestination::Hide;
  a.ShowInAltTab = true;
  a.ReplMinWithTray = true;
  a.HideByRC = false;
  a.ShowOnFocusSteal = true;
  auto& b = list.Add("calc.exe");
  b.AppFullName = "C:\\Windows\\calc.exe";
  b.ImageIndex = 7;  // stored as -1: the icon comes from the full name
  Write(list);

  EXPECT_NE(files.files.at(kPath).find(
                "[SpecApp1]\r\nAppName=calc.exe\r\nAppFullName=C:\\Windows\\calc.exe\r\nImageIndex=-1\r\n"
                "AppDescription=\r\nUseWrenfold=1\r\nRCMinDest=0\r\nShowInAltTab=1\r\nReplMinWithTray=0\r\n"
                "HideByRC=1\r\nShowOnFocusSteal=1\r\n"),
            std::string::npos)
      << files.files.at(kPath);

  Read();
  ASSERT_EQ(Special().Count(), 2u);
  for (std::size_t i = 0; i < 2; ++i) EXPECT_TRUE(Special()[i].SameAs(list[i])) << i;
  EXPECT_EQ(Special()[0].ImageIndex, 2);
  EXPECT_EQ(Special()[1].ImageIndex, -1);
  EXPECT_EQ(Special()[1].AppFullName, "C:\\Windows\\calc.exe");
}

TEST_F(SettingsFileTest, WritingIntoAnExistingFileKeepsWhatItDoesNotWrite) {
  TTraySettingsList two;
  two.Add("a.exe");
  two.Add("b.exe");
  Write(two);
  files.files[kPath] += "[Other]\r\nkept=1\r\n";

  TTraySettingsList one;
  one.Add("c.exe");
  Write(one, SettingsWrite::IntoExisting);
  auto doc = files.files.at(kPath);
  EXPECT_NE(doc.find("[SpecApp0]\r\nAppName=c.exe\r\n"), std::string::npos);
  EXPECT_NE(doc.find("[SpecApp1]\r\nAppName=b.exe\r\n"), std::string::npos);
  EXPECT_NE(doc.find("[Other]\r\nkept=1\r\n"), std::string::npos);

  Write(one, SettingsWrite::FromScratch);
  doc = files.files.at(kPath);
  EXPECT_EQ(doc.find("SpecApp1"), std::string::npos);
  EXPECT_EQ(doc.find("[Other]"), std::string::npos);
}

TEST_F(SettingsFileTest, AFailedWriteRaisesAndLeavesTheFileAsItWas) {
  const std::string before = "[Default]\r\nHideByRC=0\r\n";
  struct Writer {
    const char* name;
    std::function<void()> write;
    bool readsOldFile;
  };
  const Writer writers[] = {
      {"from scratch", [&] { Write(TTraySettingsList{}, SettingsWrite::FromScratch); }, false},
      {"into existing", [&] { Write(TTraySettingsList{}, SettingsWrite::IntoExisting); }, true},
      {"cancel flag", [&] { WriteDontShowCancelConf(files, kPath); }, true},
      {"close-all flag", [&] { WriteDontShowCloseAllConf(files, kPath); }, true},
  };
  for (const bool failRead : {false, true}) {
    for (const auto& writer : writers) {
      files.files[kPath] = before;
      (failRead ? files.failReads : files.failWrites).insert(kPath);
      const bool mustFail = !failRead || writer.readsOldFile;
      try {
        writer.write();
        EXPECT_FALSE(mustFail) << writer.name << ": no error raised";
      } catch (const Error& error) {
        EXPECT_TRUE(mustFail) << writer.name;
        EXPECT_STREQ(error.what(), ("Unable to write to " + kPath).c_str());
        EXPECT_EQ(files.files.at(kPath), before) << writer.name;
      }
      files.failReads.clear();
      files.failWrites.clear();
    }
  }
}

TEST_F(SettingsFileTest, SingleKeyWritersSetOneKeyOfDefault) {
  WriteDontShowCloseAllConf(files, kPath);
  EXPECT_EQ(files.files.at(kPath), "[Default]\r\nDontShowCloseAllConf=1\r\n");

  files.files[kPath] = kFirstRunFile;
  WriteDontShowCancelConf(files, kPath);
  std::string expected = kFirstRunFile;
  expected.replace(expected.find("DontShowCancelConf=0"), 20, "DontShowCancelConf=1");
  EXPECT_EQ(files.files.at(kPath), expected);
  Read();
  EXPECT_TRUE(flags.DontShowCancelConf);
  EXPECT_FALSE(flags.DontShowCloseAllConf);
}

TEST_F(SettingsFileTest, FileSizeOf) {
  EXPECT_EQ(FileSizeOf(files, kPath), -1);
  files.files[kPath] = "";
  EXPECT_EQ(FileSizeOf(files, kPath), 0);
  files.files[kPath] = kFirstRunFile;
  EXPECT_EQ(FileSizeOf(files, kPath), static_cast<std::int64_t>(std::string(kFirstRunFile).size()));
}

TEST_F(SettingsFileTest, BadInputTakesTheDefaults) {
  std::mt19937 random(7);
  std::string junk(1 << 16, '\0');
  for (char& c : junk) c = static_cast<char>(random());
  std::string tenMegabytes;
  while (tenMegabytes.size() < (10u << 20)) tenMegabytes += "[Section" + std::to_string(tenMegabytes.size()) + "]\nkey=value\n";

  const std::string inputs[] = {
      junk,
      std::string(4096, '\0'),
      "[Default]\n" + std::string(100000, 'k') + "\n" + std::string(100000, '['),
      tenMegabytes,
      "[SpecApp0]\n[SpecApp1]\n[Default]\n",
      "[Default]\nHideByRC\nRCMinDest\n=1\n==\n[SpecApp0]\nAppName\n",
  };
  for (const auto& input : inputs) {
    ReadText(input);
    ExpectFileDefaults();
  }
}

TEST_F(SettingsFileTest, TenThousandSectionsAreReadInFull) {
  std::string file = "[Default]\nRCMinDest=1\n";
  for (int n = 0; n < 10000; ++n) {
    file += "[SpecApp" + std::to_string(n) + "]\nAppName=app" + std::to_string(n) + ".exe\nUseWrenfold=1\n";
  }
  ReadText(file);
  ASSERT_EQ(Special().Count(), 10000u);
  EXPECT_EQ(Defaults().RClickMinDest, TrayingDestination::Hide);
  ASSERT_NE(trayer.FindSettings("C:\\APP9999.EXE"), nullptr);
  EXPECT_TRUE(trayer.FindSettings("C:\\APP9999.EXE")->UseWrenfold);
}

}  // namespace
}  // namespace wrenfold
