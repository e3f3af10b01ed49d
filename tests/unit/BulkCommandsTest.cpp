#include <gtest/gtest.h>

#include "support/FakeDesktop.h"
#include "support/FakeText.h"
#include "trayer/Trayer.h"

namespace wrenfold {
namespace {

using fake::Hex;

class BulkCommandsTest : public ::testing::Test {
 protected:
  BulkCommandsTest() {
    trayer.DefaultSettings().SkipAnimation = true;
    trayer.OwnExePath = "C:\\Program Files\\Wrenfold\\wrenfold.exe";
    TrayerBusy = false;
  }
  WindowId Window(std::u16string title, std::string exe = "C:\\Apps\\app.exe") {
    return desktop.Add({.title = std::move(title), .exePath = std::move(exe)});
  }
  std::vector<std::string> Calls(const std::string& kind) {
    std::vector<std::string> result;
    for (const auto& call : desktop.calls) {
      if (call.rfind(kind + " ", 0) == 0) result.push_back(call.substr(kind.size() + 1));
    }
    return result;
  }

  fake::FakeDesktop desktop;
  fake::FakeWaysBack ways;
  fake::FakeTextServices text;
  TTrayer trayer{text, desktop, ways};
};

TEST_F(BulkCommandsTest, CandidatesAreVisibleWindowsWithARealTitle) {
  Window(u"Editor");
  Window(u"  \t\u0001 ");  // blanks and control characters only
  Window(u"");
  desktop.Add({.title = u"Hidden", .visible = false});
  desktop.Add({.title = u"Child", .style = style::Child | style::Visible});
  Window(u" x ");
  EXPECT_EQ(trayer.CountCandidateWindows(), 2);
  EXPECT_TRUE(trayer.CandidateList.empty());  // only while a command runs
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(BulkCommandsTest, CloseAllPassesOverOurOwnShellAndHeldWindows) {
  const auto own = Window(u"Wrenfold Settings", "c:\\program files\\wrenfold\\WRENFOLD.EXE");
  const auto desktopWindow = Window(u"Program Manager", "C:\\Windows\\explorer.exe");
  const auto start = Window(u"Start", "C:\\x\\bar.exe");
  const auto held = Window(u"Held");
  const auto a = Window(u"A");
  const auto b = Window(u"B", "C:\\Other\\b.exe");
  trayer.TrayWindow(held, TrayingDestination::Tray);
  desktop.calls.clear();
  trayer.CloseAllWindows();
  EXPECT_EQ(Calls("close"), (std::vector<std::string>{Hex(a), Hex(b)}));
  (void)own, (void)desktopWindow, (void)start;
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(BulkCommandsTest, TrayAllPutsAwayEligibleWindowsOnly) {
  TTraySettingsList list;
  list.Add("skipped.exe").UseWrenfold = false;
  list.Add("kept.exe").UseWrenfold = true;
  trayer.SetSpecialSettings(std::move(list));
  const auto plain = Window(u"Plain");
  const auto skipped = Window(u"Skipped", "D:\\x\\SKIPPED.exe");
  const auto kept = Window(u"Kept", "D:\\x\\kept.exe");
  const auto own = Window(u"Own", trayer.OwnExePath);
  const auto shell = Window(u"Start", "C:\\Windows\\explorer.exe");
  trayer.TrayAllWindows(TrayingDestination::Tray);
  EXPECT_TRUE(trayer.HoldsWindow(plain) && trayer.HoldsWindow(kept));
  EXPECT_FALSE(trayer.HoldsWindow(skipped) || trayer.HoldsWindow(own) || trayer.HoldsWindow(shell));
  EXPECT_EQ(ways.icons.size(), 2u);
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(BulkCommandsTest, TheCommandStaysBusyBetweenTheWindowsItPutsAway) {
  Window(u"A");
  Window(u"B");
  Window(u"C");
  trayer.TrayAllWindows(TrayingDestination::Tray);
  EXPECT_EQ(desktop.busyWhenAsked, std::vector<bool>(desktop.busyWhenAsked.size(), true));
  EXPECT_GE(desktop.busyWhenAsked.size(), 3u);
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(BulkCommandsTest, HideAllListsEntriesInReverseEnumerationOrder) {
  Window(u"First");
  Window(u"Second");
  Window(u"Third");
  trayer.TrayAllWindows(TrayingDestination::Hide);
  ASSERT_EQ(ways.entries.size(), 3u);
  EXPECT_EQ(ways.entries[0]->caption, u"Third");
  EXPECT_EQ(ways.entries[1]->caption, u"Second");
  EXPECT_EQ(ways.entries[2]->caption, u"First");
}

TEST_F(BulkCommandsTest, VisibilityIsAskedAgainAtEachWindowsTurn) {
  // The dialog comes first in the enumeration; putting it away hides its owner, a later candidate.
  const auto dialog = Window(u"Find");
  const auto owner = Window(u"Main");
  desktop[dialog].owner = owner;
  trayer.TrayAllWindows(TrayingDestination::Tray);
  EXPECT_TRUE(trayer.HoldsWindow(dialog));
  EXPECT_FALSE(trayer.HoldsWindow(owner));
  EXPECT_FALSE(desktop.IsVisible(owner));
  EXPECT_EQ(ways.icons.size(), 1u);
}

TEST_F(BulkCommandsTest, AWindowThatFailsIsSkippedAndTheOthersGoOn) {
  const auto a = Window(u"A");
  const auto broken = Window(u"Broken");
  const auto c = Window(u"C");
  desktop.failing = {broken};
  trayer.TrayAllWindows(TrayingDestination::Tray);
  EXPECT_TRUE(trayer.HoldsWindow(a) && trayer.HoldsWindow(c));
  EXPECT_FALSE(trayer.HoldsWindow(broken));
  trayer.RestoreAll();
  desktop.calls.clear();
  trayer.CloseAllWindows();
  EXPECT_EQ(Calls("close"), (std::vector<std::string>{Hex(a), Hex(c)}));
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(BulkCommandsTest, TheWatchLetsBackOrHidesAgainByShowOnFocusSteal) {
  TTraySettingsList list;
  list.Add("stays.exe").ShowOnFocusSteal = false;
  list.Add("returns.exe").ShowOnFocusSteal = true;
  trayer.SetSpecialSettings(std::move(list));
  const auto staysOwner = desktop.Add({.title = u"Stays main"});
  const auto stays = desktop.Add({.title = u"Stays", .owner = staysOwner, .exePath = "C:\\stays.exe"});
  const auto returnsOwner = desktop.Add({.title = u"Returns main"});
  const auto returns = desktop.Add({.title = u"Returns", .owner = returnsOwner, .exePath = "C:\\returns.exe"});
  const auto quiet = desktop.Add({.title = u"Quiet", .exePath = "C:\\returns.exe"});
  for (const auto w : {stays, returns, quiet}) ASSERT_EQ(trayer.TrayWindow(w, TrayingDestination::Tray), w);

  // The window itself shows up again.
  desktop[stays].visible = true;
  desktop[returns].visible = true;
  desktop.calls.clear();
  trayer.WatchWindows();
  EXPECT_FALSE(desktop.IsVisible(stays));
  EXPECT_TRUE(trayer.HoldsWindow(stays));
  EXPECT_TRUE(desktop.IsVisible(returns));
  EXPECT_FALSE(trayer.HoldsWindow(returns));
  EXPECT_TRUE(desktop.IsVisible(returnsOwner));  // hidden with it, so shown with it
  EXPECT_TRUE(Calls("foreground").empty());  // let back, the foreground is left alone
  EXPECT_TRUE(trayer.HoldsWindow(quiet));
  EXPECT_EQ(ways.icons.size(), 2u);

  // Only the owner shows up again.
  trayer.TrayWindow(returns, TrayingDestination::Tray);
  desktop[staysOwner].visible = true;
  desktop[returnsOwner].visible = true;
  desktop.calls.clear();
  trayer.WatchWindows();
  EXPECT_FALSE(desktop.IsVisible(staysOwner));
  EXPECT_TRUE(trayer.HoldsWindow(stays));
  EXPECT_FALSE(trayer.HoldsWindow(returns));
  EXPECT_TRUE(desktop.IsVisible(returns));  // brought back as by a click on its icon
  EXPECT_EQ(Calls("foreground"), std::vector<std::string>{Hex(returns)});
}

TEST_F(BulkCommandsTest, TheDefaultsDecideForApplicationsWithoutARecord) {
  const auto window = Window(u"Plain");
  trayer.TrayWindow(window, TrayingDestination::Hide);
  desktop[window].visible = true;
  trayer.DefaultSettings().ShowOnFocusSteal = false;
  trayer.WatchWindows();
  EXPECT_FALSE(desktop.IsVisible(window));
  desktop[window].visible = true;
  trayer.DefaultSettings().ShowOnFocusSteal = true;
  trayer.WatchWindows();
  EXPECT_FALSE(trayer.HoldsWindow(window));
  EXPECT_TRUE(ways.entries.empty());
}

TEST_F(BulkCommandsTest, AnErrorEndsOnlyTheWatchPass) {
  const auto a = Window(u"A");
  const auto b = Window(u"B");
  trayer.TrayWindow(a, TrayingDestination::Tray);
  trayer.TrayWindow(b, TrayingDestination::Tray);
  trayer.DefaultSettings().ShowOnFocusSteal = false;
  desktop[a].visible = true;
  desktop[b].visible = true;
  desktop.failing = {a};
  EXPECT_NO_THROW(trayer.WatchWindows());
  EXPECT_TRUE(desktop.IsVisible(b));  // the pass ended at the first window
  desktop.failing.clear();
  trayer.WatchWindows();
  EXPECT_FALSE(desktop.IsVisible(a) || desktop.IsVisible(b));
  EXPECT_EQ(trayer.ContainerCount(), 2);
}

}  // namespace
}  // namespace wrenfold
