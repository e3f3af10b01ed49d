#include <gtest/gtest.h>

#include "platform/Text.h"
#include "support/FakeText.h"

namespace wrenfold {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
  const std::u16string text = u"plain \u00e9\u00df \u20ac \u4e2d\u6587 \U0001F600";
  const auto utf8 = Utf16ToUtf8(text);
  EXPECT_EQ(utf8, "plain \xC3\xA9\xC3\x9F \xE2\x82\xAC \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16(utf8), text);
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"a\xFF" "b", u"a\uFFFDb"},                  // byte that never starts a sequence
      {"\xC3", u"\uFFFD"},                         // truncated sequence at the end
      {"\xC0\xAF", u"\uFFFD\uFFFD"},               // overlong encoding of '/'
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},     // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.bytes), c.expected) << testing::PrintToString(c.bytes);

  // Lone surrogates in UTF-16 cannot be encoded; they become U+FFFD as well.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', char16_t(0xD800)}), "x\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'y'}), "\xEF\xBF\xBDy");
}

TEST(ClipUtf16, NeverSplitsASurrogatePair) {
  const std::u16string emoji = u"\U0001F600";
  EXPECT_EQ(ClipUtf16(u"abc", 5), u"abc");
  EXPECT_EQ(ClipUtf16(u"abcdef", 3), u"abc");
  EXPECT_EQ(ClipUtf16(u"ab" + emoji, 3), u"ab");
  EXPECT_EQ(ClipUtf16(u"ab" + emoji, 4), u"ab" + emoji);
  EXPECT_EQ(ClipUtf16(std::u16string(200, u'x'), 127).size(), 127u);
}

TEST(FakeCodePage1252, LowerCasesLettersOfTheCodePageOnly) {
  fake::FakeTextServices text;
  EXPECT_EQ(text.AnsiLowerCase("NOTEPAD.EXE"), "notepad.exe");
  // E acute, S caron, OE, Y diaeresis lower-case; the multiplication sign and digits do not.
  EXPECT_EQ(text.AnsiLowerCase("\xC9\x8A\x8C\x9F\xD7" "1"), "\xE9\x9A\x9C\xFF\xD7" "1");
}

TEST(FakeCodePage1252, ConvertsToAndFromUtf16) {
  fake::FakeTextServices text;
  EXPECT_EQ(text.AnsiToWide("\x80 \xE9"), u"\u20ac \u00e9");
  EXPECT_EQ(text.WideToAnsi(u"\u20ac \u00e9"), "\x80 \xE9");
  // Outside the code page: one default character per UTF-16 unit, as the system gives them.
  EXPECT_EQ(text.WideToAnsi(u"\u4e2d\U0001F600!"), "??" "?!");
}

}  // namespace
}  // namespace wrenfold
