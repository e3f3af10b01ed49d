#include <gtest/gtest.h>
#include <windows.h>

#include "support/FakeText.h"
#include "win32/Win32Text.h"

namespace wrenfold {
namespace {

// The fake that the unit tests run on must answer as the real code page 1252 does.
class TextServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::GetACP() != 1252) GTEST_SKIP() << "the system's ANSI code page is " << ::GetACP() << ", not 1252";
  }
  win32::Win32TextServices real;
  fake::FakeTextServices fake;
};

TEST_F(TextServicesTest, EveryByteLowerCasesAndConvertsAsTheFakeDoes) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(real.AnsiLowerCase(one), fake.AnsiLowerCase(one)) << "byte " << byte;
    EXPECT_EQ(real.AnsiToWide(one), fake.AnsiToWide(one)) << "byte " << byte;
    EXPECT_EQ(real.WideToAnsi(real.AnsiToWide(one)), one) << "byte " << byte;
  }
}

TEST_F(TextServicesTest, CharactersOutsideTheCodePage) {
  for (const std::u16string text : {u"\u4e2d\u6587", u"\U0001F600", u"a\u20acb"}) {
    EXPECT_EQ(real.WideToAnsi(text), fake.WideToAnsi(text));
  }
}

TEST_F(TextServicesTest, LongAndEmptyTexts) {
  const std::string upper(100000, 'Q');
  EXPECT_EQ(real.AnsiLowerCase(upper), std::string(100000, 'q'));
  EXPECT_EQ(real.AnsiLowerCase(""), "");
  EXPECT_EQ(real.AnsiToWide(""), u"");
  EXPECT_EQ(real.WideToAnsi(u""), "");
  EXPECT_EQ(real.AnsiLowerCase(std::string("A\0B", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace wrenfold
