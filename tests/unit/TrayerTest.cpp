#include <gtest/gtest.h>

#include "support/FakeDesktop.h"
#include "support/FakeText.h"
#include "trayer/Trayer.h"

namespace wrenfold {
namespace {

using fake::Hex;

class TrayerTest : public ::testing::Test {
 protected:
  TrayerTest() {
    trayer.DefaultSettings().SkipAnimation = true;
    TrayerBusy = false;
  }
  WindowId Window(std::u16string title = u"Editor", std::string exe = "C:\\Apps\\editor.exe") {
    return desktop.Add({.title = std::move(title), .exePath = std::move(exe)});
  }
  std::vector<std::string> TakeCalls() { return std::exchange(desktop.calls, {}); }

  fake::FakeDesktop desktop;
  fake::FakeWaysBack ways;
  fake::FakeTextServices text;
  TTrayer trayer{text, desktop, ways};
};

TEST_F(TrayerTest, TrayWindowHidesTheWindowThenItsOwnerBehindAnIcon) {
  const auto owner = desktop.Add({.title = u"Main"});
  const auto dialog = desktop.Add({.title = u"Find", .owner = owner, .exePath = "C:\\Apps\\editor.exe"});
  EXPECT_EQ(trayer.TrayWindow(dialog, TrayingDestination::Tray), dialog);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"hide " + Hex(dialog), "hide " + Hex(owner)}));
  ASSERT_EQ(ways.icons.size(), 1u);
  EXPECT_EQ(ways.icons[0]->tooltip, u"Find");
  EXPECT_EQ(ways.icons[0]->exePath, "C:\\Apps\\editor.exe");
  const auto* container = trayer.ContainerAt(0);
  ASSERT_NE(container, nullptr);
  EXPECT_EQ(container->Owner, owner);
  EXPECT_TRUE(container->Held);
  EXPECT_NE(container->WindowIcon, nullptr);
  EXPECT_EQ(container->MenuEntry, nullptr);
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(TrayerTest, TrayWindowRefusesWhatItCannotPutAwayAndLeavesNothingBehind) {
  const auto window = Window();
  ASSERT_EQ(trayer.TrayWindow(window, TrayingDestination::Tray), window);
  EXPECT_EQ(trayer.TrayWindow(window, TrayingDestination::Hide), kNoSuccess);  // held already
  EXPECT_EQ(trayer.ContainerCount(), 1);

  const auto child = desktop.Add({.style = style::Child | style::Visible, .owner = window});
  EXPECT_EQ(trayer.TrayWindow(child, TrayingDestination::Tray), kNoSuccess);

  // The shell refuses the icon: the window must not be hidden, or the user could not get it back.
  ways.refuseIcons = true;
  ways.refuseEntries = true;
  const auto other = Window(u"Other");
  TakeCalls();
  EXPECT_EQ(trayer.TrayWindow(other, TrayingDestination::Tray), kNoSuccess);
  EXPECT_EQ(trayer.TrayWindow(other, TrayingDestination::Hide), kNoSuccess);
  EXPECT_TRUE(TakeCalls().empty());
  EXPECT_TRUE(desktop.IsVisible(other));
  EXPECT_EQ(trayer.ContainerCount(), 1);
  EXPECT_FALSE(trayer.HoldsWindow(child) || trayer.HoldsWindow(other));
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(TrayerTest, HiddenWindowsGetEntriesAtTheTopNewestFirst) {
  const auto first = Window(u"First");
  const auto second = Window(u"Second");
  trayer.TrayWindow(first, TrayingDestination::Hide);
  trayer.TrayWindow(second, TrayingDestination::Hide);
  ASSERT_EQ(ways.entries.size(), 2u);
  EXPECT_EQ(ways.entries[0]->caption, u"Second");
  EXPECT_EQ(ways.entries[1]->caption, u"First");
  EXPECT_TRUE(ways.icons.empty());
}

TEST_F(TrayerTest, RestoreWindowShowsTheOwnerThenTheWindowRestoresAndBringsItForward) {
  const auto owner = desktop.Add({.title = u"Main"});
  const auto window = desktop.Add({.title = u"Find", .owner = owner});
  trayer.TrayWindow(window, TrayingDestination::Hide);
  desktop[window].iconic = true;
  TakeCalls();
  EXPECT_EQ(trayer.RestoreWindow(window), window);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"shownormal " + Hex(owner), "show " + Hex(window),
                                                   "restore " + Hex(window), "foreground " + Hex(window)}));
  EXPECT_TRUE(ways.entries.empty());
  EXPECT_EQ(trayer.ContainerCount(), 0);
  EXPECT_EQ(trayer.RestoreWindow(window), kNoSuccess);
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(TrayerTest, AnOwnerHiddenWithAWindowComesBackWhenTheWindowCameBackAlone) {
  const auto owner = desktop.Add({.title = u"Main"});
  const auto dialog = desktop.Add({.title = u"Find", .owner = owner});
  trayer.TrayWindow(dialog, TrayingDestination::Tray);
  desktop[dialog].visible = true;  // the program showed its dialog again; the owner is still hidden
  TakeCalls();
  ways.MouseMove(0);
  EXPECT_FALSE(trayer.HoldsWindow(dialog));
  EXPECT_TRUE(desktop.IsVisible(owner));
  EXPECT_EQ(desktop.foreground, WindowId{});  // nothing taken to the front
}

TEST_F(TrayerTest, AWindowThatCameBackOrClosedOnlyLosesItsWayBack) {
  const auto shown = Window(u"Shown");
  const auto closed = Window(u"Closed");
  trayer.TrayWindow(shown, TrayingDestination::Tray);
  trayer.TrayWindow(closed, TrayingDestination::Tray);
  desktop[shown].visible = true;
  desktop.Close(closed);
  TakeCalls();
  EXPECT_EQ(trayer.RestoreWindow(shown), shown);
  EXPECT_EQ(trayer.RestoreWindow(closed), closed);
  EXPECT_TRUE(TakeCalls().empty());
  EXPECT_TRUE(ways.icons.empty());
}

TEST_F(TrayerTest, RestoreAllBringsEveryWindowBackOldestFirst) {
  const auto a = Window(u"A");
  const auto b = Window(u"B");
  const auto c = Window(u"C");
  trayer.TrayWindow(a, TrayingDestination::Tray);
  trayer.TrayWindow(b, TrayingDestination::Hide);
  trayer.TrayWindow(c, TrayingDestination::Tray);
  TakeCalls();
  trayer.RestoreAll();
  std::vector<std::string> foregrounds;
  for (const auto& call : TakeCalls()) {
    if (call.rfind("foreground", 0) == 0) foregrounds.push_back(call);
  }
  EXPECT_EQ(foregrounds, (std::vector<std::string>{"foreground " + Hex(a), "foreground " + Hex(b),
                                                   "foreground " + Hex(c)}));
  EXPECT_EQ(desktop.foreground, c);
  EXPECT_EQ(trayer.ContainerCount(), 0);
  EXPECT_TRUE(ways.icons.empty() && ways.entries.empty());
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(TrayerTest, TheZoomPlaysOnlyWithANotificationAreaAndWithoutSkipAnimation) {
  const auto window = Window();
  trayer.DefaultSettings().SkipAnimation = false;
  trayer.TrayWindow(window, TrayingDestination::Tray);  // no notification area yet
  trayer.RestoreWindow(window);
  for (const auto& call : TakeCalls()) EXPECT_EQ(call.rfind("animate", 0), std::string::npos) << call;

  const auto tray = desktop.Add({.className = "Shell_TrayWnd", .rect = {0, 740, 1024, 768}});
  desktop.Add({.className = "TrayNotifyWnd", .style = style::Child | style::Visible, .owner = tray,
               .rect = {900, 742, 1020, 766}});
  trayer.TrayWindow(window, TrayingDestination::Hide);
  EXPECT_EQ(TakeCalls().front(), "animate " + Hex(window) + " from 10,10 to 900,742");
  trayer.RestoreWindow(window);
  EXPECT_EQ(TakeCalls().front(), "animate " + Hex(window) + " from 900,742 to 10,10");

  // Dispose brings everything back without animation, whatever the defaults said.
  trayer.TrayWindow(window, TrayingDestination::Tray);
  TakeCalls();
  trayer.Dispose();
  for (const auto& call : TakeCalls()) EXPECT_EQ(call.rfind("animate", 0), std::string::npos) << call;
  EXPECT_TRUE(desktop.IsVisible(window));
  EXPECT_EQ(trayer.ContainerCount(), 0);
}

TEST_F(TrayerTest, IconEventsRestoreOrRefresh) {
  const auto window = Window(u"Old title");
  trayer.TrayWindow(window, TrayingDestination::Tray);
  ways.Click(0, MouseButton::Right);
  ways.Click(0, MouseButton::Middle);
  EXPECT_TRUE(trayer.HoldsWindow(window));

  desktop[window].title = u"New title";
  ways.MouseMove(0);
  EXPECT_EQ(ways.icons[0]->tooltip, u"New title");
  EXPECT_EQ(trayer.ContainerAt(0)->Title, u"New title");

  // The click destroys the icon it came from.
  ways.Click(0, MouseButton::Left);
  EXPECT_FALSE(trayer.HoldsWindow(window));
  EXPECT_TRUE(desktop.IsVisible(window));
  EXPECT_TRUE(ways.icons.empty());
  EXPECT_FALSE(TrayerBusy);

  // Pointing at the icon of a window that closed drops it.
  trayer.TrayWindow(window, TrayingDestination::Tray);
  desktop.Close(window);
  ways.MouseMove(0);
  EXPECT_EQ(trayer.ContainerCount(), 0);
  EXPECT_TRUE(ways.icons.empty());
}

TEST_F(TrayerTest, ChoosingAnEntryBringsItsWindowBack) {
  const auto window = Window();
  trayer.TrayWindow(window, TrayingDestination::Hide);
  ways.ChooseEntry(0);
  EXPECT_FALSE(trayer.HoldsWindow(window));
  EXPECT_EQ(desktop.foreground, window);
  EXPECT_TRUE(ways.entries.empty());
  EXPECT_FALSE(TrayerBusy);
}

TEST_F(TrayerTest, RefreshContainersDropsClosedAndReturnedWindowsAndUpdatesTitles) {
  const auto closed = Window(u"Closed");
  const auto returned = Window(u"Returned");
  const auto renamed = Window(u"Before");
  const auto kept = Window(u"Kept");
  for (const auto window : {closed, returned, renamed}) trayer.TrayWindow(window, TrayingDestination::Hide);
  trayer.TrayWindow(kept, TrayingDestination::Tray);
  desktop.Close(closed);
  desktop[returned].visible = true;
  desktop[renamed].title = u"After";
  desktop[kept].title = u"Kept too";
  TakeCalls();

  trayer.RefreshContainers();
  EXPECT_EQ(trayer.ContainerCount(), 2);
  EXPECT_TRUE(trayer.HoldsWindow(renamed) && trayer.HoldsWindow(kept));
  ASSERT_EQ(ways.entries.size(), 1u);
  EXPECT_EQ(ways.entries[0]->caption, u"After");
  EXPECT_EQ(ways.icons[0]->tooltip, u"Kept too");
  // The window that came back by itself is left as it is, and the foreground too.
  EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(TrayerTest, ContainerAtOutsideTheListGivesNone) {
  trayer.TrayWindow(Window(), TrayingDestination::Tray);
  EXPECT_EQ(trayer.ContainerAt(-1), nullptr);
  EXPECT_EQ(trayer.ContainerAt(1), nullptr);
  EXPECT_NE(trayer.ContainerAt(0), nullptr);
  EXPECT_EQ(trayer.IndexOfWindow(WindowId{0x999}), -1);
}

}  // namespace
}  // namespace wrenfold
