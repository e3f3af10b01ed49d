#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/OptionsRig.h"
#include "ui/MainMenu.h"

namespace wrenfold {
namespace {

TEST(MenuAccessKeys, EachItemGetsTheFirstFreeLetter) {
  const std::vector<std::u16string> captions = {
      u"Wrenfold Help", u"About Wrenfold", u"Wrenfold Settings", u"", u"E&xit", u"Restore all windows",
      u"Report && review", u"!!!", u"w", u"\u00c9t\u00e9"};
  const std::vector<std::u16string> expected = {
      u"&Wrenfold Help", u"&About Wrenfold", u"W&renfold Settings", u"", u"E&xit", u"R&estore all windows",
      u"Re&port && review",  // "&&" stays a literal ampersand
      u"!!!",                // nothing that can be a key
      u"w",                  // every letter of it taken
      u"&\u00c9t\u00e9"};
  EXPECT_EQ(WithAccessKeys(captions), expected);
}

TEST(MenuSeparators, OnlyBetweenShownItemsAndTheLastOfARun) {
  struct Case {
    const char* layout;  // '-' separator, 'i' item
    const char* shown;   // '+' a shown separator, 'i' a shown item, '.' hidden
  };
  const Case cases[] = {
      {"-i-i-", ".i+i."},
      {"--i--i", "..i.+i"},
      {"i---i", "i..+i"},
      {"---", "..."},
      {"", ""},
  };
  for (const auto& c : cases) {
    std::vector<bool> separators;
    for (const char* p = c.layout; *p; ++p) separators.push_back(*p == '-');
    std::string shown;
    const auto result = ShownItems(separators);
    for (std::size_t i = 0; i < result.size(); ++i) shown += result[i] ? (separators[i] ? '+' : 'i') : '.';
    EXPECT_EQ(shown, c.shown) << c.layout;
  }
}

class MenuCommandsTest : public ::testing::Test, public fake::OptionsRig {
 protected:
  MenuCommandsTest() {
    EXPECT_TRUE(form.StartUp());
    form.Trayer->DefaultSettings().SkipAnimation = true;
  }
  WindowId Window(std::u16string title) { return desktop.Add({.title = std::move(title), .exePath = "C:\\a.exe"}); }
  int Closed() const {
    return static_cast<int>(std::count_if(desktop.calls.begin(), desktop.calls.end(),
                                          [](const std::string& c) { return c.rfind("close", 0) == 0; }));
  }
};

TEST_F(MenuCommandsTest, TheBulkItemsFollowWhatThereIsToActOn) {
  const auto only = Window(u"Only");
  form.PopupMenu1Popup();
  EXPECT_FALSE(view.enabled[MenuItemId::Restoreall1]);
  EXPECT_FALSE(view.enabled[MenuItemId::Hidealltotray1]);
  EXPECT_FALSE(view.enabled[MenuItemId::Minimizealltotray1]);
  EXPECT_EQ(view.enabled.count(MenuItemId::Closeallwindows1), 0u);  // never touched here

  Window(u"Second");
  form.PopupMenu1Popup();
  EXPECT_TRUE(view.enabled[MenuItemId::Hidealltotray1]);
  EXPECT_TRUE(view.enabled[MenuItemId::Minimizealltotray1]);

  form.Trayer->TrayWindow(only, TrayingDestination::Tray);
  form.PopupMenu1Popup();
  EXPECT_TRUE(view.enabled[MenuItemId::Restoreall1]);
  EXPECT_FALSE(view.enabled[MenuItemId::Hidealltotray1]);  // one candidate left
  EXPECT_GE(Count("popup forward"), 3);
}

TEST_F(MenuCommandsTest, EachBulkCommandDisablesItsItemWhileItRuns) {
  Window(u"A");
  Window(u"B");
  form.Minimizealltotray1Click();
  EXPECT_EQ(form.Trayer->ContainerCount(), 2);
  EXPECT_EQ(waysBack.icons.size(), 2u);
  form.Restoreall1Click();
  EXPECT_EQ(form.Trayer->ContainerCount(), 0);
  form.Hidealltotray1Click();
  EXPECT_EQ(waysBack.entries.size(), 2u);
  for (const auto item : {MenuItemId::Minimizealltotray1, MenuItemId::Restoreall1, MenuItemId::Hidealltotray1}) {
    EXPECT_EQ(view.enabledHistory[item], (std::vector<bool>{false, true})) << static_cast<int>(item);
  }
}

TEST_F(MenuCommandsTest, CloseAllAsksAndNoClosesNothingAndWritesNothing) {
  Window(u"A");
  view.dialog.answer = DialogResult::No;
  view.dialog.tickBox = true;
  const auto before = files.files.at(kSettings);
  form.Closeallwindows1Click();
  EXPECT_EQ(view.dialog.question, u"Are you sure that you want to close all windows?");
  EXPECT_EQ(Closed(), 0);
  EXPECT_FALSE(form.DontShow.DontShowCloseAllConf);
  EXPECT_EQ(files.files.at(kSettings), before);
  EXPECT_EQ(view.enabledHistory[MenuItemId::Closeallwindows1], (std::vector<bool>{false, true}));

  // Asked again, with the box cleared though it was ticked last time.
  form.Closeallwindows1Click();
  EXPECT_EQ(view.dialog.boxWhenShown, (std::vector<bool>{false, false}));
}

TEST_F(MenuCommandsTest, YesWithTheBoxWritesTheAnswerAtOnceAndStopsAsking) {
  Window(u"A");
  Window(u"B");
  view.dialog.tickBox = true;
  form.Closeallwindows1Click();
  EXPECT_EQ(Closed(), 2);
  EXPECT_TRUE(form.DontShow.DontShowCloseAllConf);
  EXPECT_NE(files.files.at(kSettings).find("DontShowCloseAllConf=1"), std::string::npos);
  form.Closeallwindows1Click();
  EXPECT_EQ(view.dialog.showings, 1);
  EXPECT_EQ(Closed(), 4);

  // Yes without the box: closes, asks again next time, writes nothing.
  fake::OptionsRig other;
  ASSERT_TRUE(other.form.StartUp());
  other.desktop.Add({.title = u"C"});
  const auto before = other.files.files.at(other.kSettings);
  other.form.Closeallwindows1Click();
  other.form.Closeallwindows1Click();
  EXPECT_EQ(other.view.dialog.showings, 2);
  EXPECT_EQ(other.files.files.at(other.kSettings), before);
}

TEST_F(MenuCommandsTest, AFailedWriteOfTheAnswerEndsTheCommandWithTheError) {
  Window(u"A");
  view.dialog.tickBox = true;
  files.failWrites.insert(kSettings);
  EXPECT_THROW(form.Closeallwindows1Click(), Error);
  EXPECT_EQ(Closed(), 0);
  EXPECT_TRUE(form.DontShow.DontShowCloseAllConf);  // not asked again this run
  EXPECT_TRUE(view.enabled[MenuItemId::Closeallwindows1]);
}

}  // namespace
}  // namespace wrenfold
