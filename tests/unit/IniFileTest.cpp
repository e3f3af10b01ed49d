#include <gtest/gtest.h>

#include "storage/IniFile.h"

namespace wrenfold {
namespace {

using Value = std::optional<std::string>;

TEST(IniDocument, ReadsWithTheProfileRules) {
  struct Case {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    Value expected;
  };
  const std::string longValue(3000, 'v');
  const Case cases[] = {
      {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
      {"LF only, no final newline", "[S]\nk=v", "S", "k", "v"},
      {"CR only", "[S]\rk=v\r", "S", "k", "v"},
      {"names without regard to case", "[sEcTiOn]\nKeY=v\n", "Section", "key", "v"},
      {"blanks around everything", "  [ S ]  \n\t k \t=\t v w \t\n", "S", "k", "v w"},
      {"first section wins", "[S]\nk=1\n[s]\nk=2\n", "S", "k", "1"},
      {"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
      {"key only in a later duplicate section", "[S]\na=1\n[S]\nk=2\n", "S", "k", std::nullopt},
      {"empty value", "[S]\nk=\n", "S", "k", ""},
      {"line without =", "[S]\nk\n", "S", "k", std::nullopt},
      {"value holding =", "[S]\nk=a=b\n", "S", "k", "a=b"},
      {"double quotes dropped", "[S]\nk=\" a \"\n", "S", "k", " a "},
      {"single quotes dropped", "[S]\nk='a'\n", "S", "k", "a"},
      {"unmatched quotes kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
      {"lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
      {"only the outer pair goes", "[S]\nk=\"\"a\"\"\n", "S", "k", "\"a\""},
      {"value cut to 2047", "[S]\nk=" + longValue + "\n", "S", "k", std::string(2047, 'v')},
      {"text before any section is in none", "k=v\n[S]\n", "S", "k", std::nullopt},
      {"header without ] is a key line", "[S]\n[T\nk=v\n", "S", "k", "v"},
      {"section name ends at the last ]", "[S]x]\nk=v\n", "S]x", "k", "v"},
      {"text after the header is ignored", "[S] note\nk=v\n", "S", "k", "v"},
      {"missing section", "[S]\nk=v\n", "T", "k", std::nullopt},
      {"UTF-8 byte order mark", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
      {"NUL ends a value", std::string("[S]\nk=a\0b\n", 10), "S", "k", "a"},
      {"bytes kept as they are", "[S]\nk=\xE9\xC3\xA9\n", "S", "k", "\xE9\xC3\xA9"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniDocument::Parse(c.text).ReadString(c.section, c.key), c.expected) << c.what;
  }
}

TEST(IniDocument, ASectionIsPresentOnlyWithAKey) {
  const auto doc = IniDocument::Parse("[Empty]\n\n[Blank]\n   \n[Bare]\nword\n[Full]\nk=v\n");
  EXPECT_FALSE(doc.SectionHasKeys("Empty"));
  EXPECT_FALSE(doc.SectionHasKeys("Blank"));
  EXPECT_TRUE(doc.SectionHasKeys("Bare"));
  EXPECT_TRUE(doc.SectionHasKeys("full"));
  EXPECT_FALSE(doc.SectionHasKeys("Missing"));
}

TEST(IniDocument, WritingChangesOnlyTheKeyAndKeepsEverythingElse) {
  auto doc = IniDocument::Parse("; note\n[Default]\nHIDEBYRC = 0\nOther=x\n\n[Mine]\nkept=1\n");
  doc.WriteString("Default", "HideByRC", "1");
  doc.WriteString("default", "New", "n");
  doc.WriteString("Added", "k", "v");
  EXPECT_EQ(doc.Serialize(),
            "; note\r\n[Default]\r\nHIDEBYRC=1\r\nOther=x\r\nNew=n\r\n\r\n[Mine]\r\nkept=1\r\n[Added]\r\nk=v\r\n");
}

TEST(IniDocument, WrittenValuesReadBackUnchanged) {
  const std::string values[] = {"", "plain", " leading", "trailing\t", "\"quoted\"", "'single'",
                                "\"", "a=b", "[not a section]", "\xE9\xC3\xA9"};
  for (const auto& value : values) {
    IniDocument doc;
    doc.WriteString("S", "k", value);
    EXPECT_EQ(IniDocument::Parse(doc.Serialize()).ReadString("S", "k"), value) << value;
  }
}

TEST(IniDocument, LinesAreWrittenBackAsTheyStand) {
  // A byte order mark behind leading blanks is no mark; writing must not make it the file's own,
  // or the header behind it would come to light and hide the section written below.
  auto doc = IniDocument::Parse("\f\xEF\xBB\xBF[Default]\r\n  ; note \r\n\t\r\n");
  doc.WriteString("Default", "k", "1");
  EXPECT_EQ(doc.Serialize(), "\f\xEF\xBB\xBF[Default]\r\n  ; note \r\n\t\r\n[Default]\r\nk=1\r\n");
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).ReadString("Default", "k"), "1");
}

TEST(IniDocument, AByteOrderMarkIsKeptSoThatTheTextReadsTheSameAfterAWrite) {
  // A second mark hides the header behind it; writing must not bring that header to light.
  auto doc = IniDocument::Parse("\xEF\xBB\xBF\xEF\xBB\xBF[Default]\r\nk=old\r\n");
  doc.WriteString("Default", "k", "new");
  const auto text = doc.Serialize();
  EXPECT_EQ(text.substr(0, 6), "\xEF\xBB\xBF\xEF\xBB\xBF");
  EXPECT_EQ(IniDocument::Parse(text).ReadString("Default", "k"), "new");
}

TEST(IniDocument, ALineBreakInAValueCannotStartAnotherKey) {
  IniDocument doc;
  doc.WriteString("S", "Description", "first\r\n[Default]\nHideByRC=0");
  doc.WriteString("S", "next", "1");
  const auto reread = IniDocument::Parse(doc.Serialize());
  EXPECT_EQ(reread.ReadString("S", "Description"), "first  [Default] HideByRC=0");
  EXPECT_EQ(reread.ReadString("S", "next"), "1");
  EXPECT_FALSE(reread.SectionHasKeys("Default"));
}

TEST(ParseInteger, DecimalOrHexadecimalWithin32Bits) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"0", 0},           {"1", 1},           {"-1", -1},          {"+7", 7},
      {"0x10", 16},       {"0X1f", 31},       {"-0x10", -16},      {"0xFFFFFFFF", -1},
      {"007", 7},         {"2147483647", 2147483647},              {"-2147483648", INT32_MIN},
      {"2147483648", {}}, {"0x100000000", {}}, {"", {}},           {"-", {}},
      {"0x", {}},         {"x10", {}},        {"12abc", {}},       {"true", {}},
      {"1 ", {}},         {" 1", {}},         {"1.5", {}},         {"99999999999999999999", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace wrenfold
