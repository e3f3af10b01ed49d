// Our INI reader against the platform's own profile-file functions, on the same files.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "WinTestSupport.h"
#include "platform/Text.h"
#include "storage/IniFile.h"
#include "storage/SettingsFile.h"
#include "support/FakeText.h"
#include "win32/Win32FileSystem.h"

namespace wrenfold {
namespace {

constexpr char kMissing[] = "<missing>";
constexpr int kIntDefault = 12345;

struct TrickyFile {
  const char* name;
  std::string bytes;
};

std::vector<TrickyFile> TrickyFiles() {
  const std::string longValue(3000, 'L');
  return {
      {"plain", "[S]\r\nk=v\r\na=1\r\n"},
      {"lf", "[S]\nk=v\na=1\n"},
      {"cr", "[S]\rk=v\ra=1\r"},
      {"no-final-newline", "[S]\r\nk=v\r\na=1"},
      {"duplicate-sections", "[S]\r\nk=first\r\n[T]\r\nk=t\r\n[S]\r\nk=second\r\nb=only-in-second\r\n"},
      {"duplicate-keys", "[S]\r\nk=first\r\nK=second\r\nk=third\r\n"},
      {"letter-case", "[s]\r\nK=v\r\nA=0X1F\r\n[t]\r\nk=t\r\n"},
      {"blanks", "  [ S ]  \r\n\t k \t= \t v  w \t\r\n a = 7 \r\n"},
      {"quotes", "[S]\r\nk=\"quoted\"\r\na=' single '\r\nb=\"unmatched'\r\nc=\"\r\nd=\"\"x\"\"\r\n"},
      {"empty-values", "[S]\r\nk=\r\na= \r\nb\r\n=novalue\r\n"},
      {"long-value", "[S]\r\nk=" + longValue + "\r\na=" + std::string(2047, 'M') + "\r\n"},
      {"utf8-description",
       "[SpecApp0]\r\nAppName=app.exe\r\nAppDescription=\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80\r\n"},
      {"ansi-text", "[S]\r\nk=caf\xE9 \x80\r\n"},
      {"comments", "; comment\r\n[S]\r\n;k=commented\r\nk=v\r\n# hash=1\r\n"},
      {"integers", "[S]\r\nk=0x10\r\na=-5\r\nb=12abc\r\nc=true\r\nd= 42 \r\n"},
      {"header-without-bracket", "[S]\r\n[T\r\nk=v\r\n"},
      {"bracket-in-header", "[S]x]\r\nk=v\r\n[T] trailing\r\nk=t\r\n"},
      {"utf8-bom", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
      {"equals-in-value", "[S]\r\nk=a=b\r\n"},
      {"no-keys", "[S]\r\n\r\n[T]\r\n"},
      {"text-before-sections", "k=top\r\n[S]\r\na=1\r\n"},
      {"ctrl-z", "[S]\r\nk=v\x1A\r\n\x1A"},
      {"nul-bytes", std::string("[S]\r\nk=a\0b\r\na\0x=1\r\nb=2\r\n", 24)},
      {"nbsp-and-tabs", "[S]\r\nk=\xA0v\xA0\r\n\ta\t=\t1\t\r\n"},
  };
}

const char* const kSections[] = {"S", "s", "T", "SpecApp0", "X"};
const char* const kKeys[] = {"k", "K", "a", "b", "c", "d", "AppDescription", "AppName", "X"};

std::string PlatformString(const std::string& path, const char* section, const char* key) {
  std::vector<char> buffer(2048 + 16, '\x7F');
  const DWORD length = ::GetPrivateProfileStringA(section, key, kMissing, buffer.data(), 2048, path.c_str());
  return std::string(buffer.data(), length);
}

std::string OurString(const IniDocument& doc, const char* section, const char* key) {
  return doc.ReadString(section, key).value_or(kMissing);
}

bool PlatformSectionHasKeys(const std::string& path, const char* section) {
  char buffer[4096] = {};
  return ::GetPrivateProfileStringA(section, nullptr, "", buffer, sizeof buffer, path.c_str()) > 0;
}

TEST(IniCrossCheck, OurReaderGivesThePlatformsAnswers) {
  wintest::TempFolder folder;
  for (const auto& file : TrickyFiles()) {
    const auto path = folder.Path(std::string(file.name) + ".ini");
    wintest::WriteRawFile(path, file.bytes);
    const auto doc = IniDocument::Parse(file.bytes);
    for (const char* section : kSections) {
      EXPECT_EQ(doc.SectionHasKeys(section), PlatformSectionHasKeys(path, section))
          << file.name << " [" << section << "]";
      for (const char* key : kKeys) {
        const std::string where = std::string(file.name) + " [" + section + "] " + key;
        const auto platform = PlatformString(path, section, key);
        const auto ours = OurString(doc, section, key);
        EXPECT_EQ(ours, platform) << where;
      }
    }
  }
}

// The integers of the settings file are whole numbers: decimal, or hexadecimal after "0x" or "0X".
// The platform's integer reader takes any leading digits ("12abc" is 12), reads a word as 0, and
// under Wine knows only the lower-case "0x"; we give a value that is not a whole number the key's
// default instead, so that a hand-edited "true" cannot turn an option off.
TEST(IniCrossCheck, IntegersAgreeWhereTheTextIsAWholeNumber) {
  wintest::TempFolder folder;
  struct Value {
    const char* text;
    std::optional<int> ours;
    bool platformAgrees;
  };
  const Value values[] = {
      {"0", 0, true},   {"1", 1, true},     {"42", 42, true},     {" 42 ", 42, true},
      {"-5", -5, true}, {"007", 7, true},   {"0x10", 16, true},   {"0X1f", 31, false},
      {"12abc", {}, false}, {"true", {}, false}, {"", {}, false}, {"0x", {}, false},
  };
  std::string bytes = "[S]\r\n";
  for (std::size_t i = 0; i < std::size(values); ++i) bytes += "v" + std::to_string(i) + "=" + values[i].text + "\r\n";
  const auto path = folder.Path("integers.ini");
  wintest::WriteRawFile(path, bytes);
  const auto doc = IniDocument::Parse(bytes);
  for (std::size_t i = 0; i < std::size(values); ++i) {
    const auto key = "v" + std::to_string(i);
    const auto ours = ParseInteger(doc.ReadString("S", key).value_or(""));
    EXPECT_EQ(ours, values[i].ours) << values[i].text;
    const auto platform = static_cast<int>(::GetPrivateProfileIntA("S", key.c_str(), kIntDefault, path.c_str()));
    EXPECT_EQ(ours.has_value() && platform == *ours, values[i].platformAgrees) << values[i].text;
  }
}

// Files we write read back through the platform's functions, and files the platform writes read
// back through ours.
TEST(IniCrossCheck, WrittenFilesReadTheSameBothWays) {
  wintest::TempFolder folder;
  win32::Win32FileSystem files;
  fake::FakeTextServices text;

  TTraySettingsList list;
  auto& record = list.Add("Editor.exe");
  record.AppFullName = "C:\\Program Files\\Editor\\Editor.exe";
  record.AppDescription = u" \"Editor\" \u00e9 \u4e2d ";
  record.HideByRC = false;
  const auto ours = folder.Path("ours.ini");
  WriteSettingsFile(files, ours, CommonPageState{}, DontShowFlags{}, list, SettingsWrite::FromScratch);
  EXPECT_EQ(PlatformString(ours, "Default", "RCMinDest"), "-1");
  EXPECT_EQ(PlatformString(ours, "Default", "DontShowCloseAllConf"), "0");
  EXPECT_EQ(PlatformString(ours, "SpecApp0", "AppFullName"), record.AppFullName);
  EXPECT_EQ(PlatformString(ours, "SpecApp0", "AppDescription"), Utf16ToUtf8(record.AppDescription));
  EXPECT_EQ(::GetPrivateProfileIntA("SpecApp0", "HideByRC", kIntDefault, ours.c_str()), 0u);

  const auto theirs = folder.Path("theirs.ini");
  ASSERT_TRUE(::WritePrivateProfileStringA("Default", "RCMinDest", "1", theirs.c_str()));
  ASSERT_TRUE(::WritePrivateProfileStringA("SpecApp0", "AppName", "Other.EXE", theirs.c_str()));
  ASSERT_TRUE(::WritePrivateProfileStringA("SpecApp0", "UseWrenfold", "1", theirs.c_str()));
  ASSERT_TRUE(::WritePrivateProfileStringA("SpecApp0", "AppDescription", "\xC3\xA9", theirs.c_str()));
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, theirs.c_str());  // flush the cache
  TTrayer trayer(text);
  DontShowFlags flags;
  ReadSettingsFile(files, theirs, text, trayer, flags);
  EXPECT_EQ(trayer.DefaultSettings().RClickMinDest, TrayingDestination::Hide);
  ASSERT_EQ(trayer.SpecialSettings().Count(), 1u);
  const auto* found = trayer.FindSettings("c:\\x\\other.exe");
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found->UseWrenfold);
  EXPECT_EQ(found->AppDescription, u"\u00e9");

  // A single-key write by us keeps the rest of the platform's file readable by the platform.
  WriteDontShowCloseAllConf(files, theirs);
  EXPECT_EQ(PlatformString(theirs, "Default", "DontShowCloseAllConf"), "1");
  EXPECT_EQ(PlatformString(theirs, "SpecApp0", "AppName"), "Other.EXE");
}

}  // namespace
}  // namespace wrenfold
