#include <gtest/gtest.h>

#include "support/OptionsRig.h"

namespace wrenfold {
namespace {

using fake::Hex;

constexpr std::intptr_t kHide = 0xD000, kTray = 0xD001, kClose = 0xD002, kMinimize = 0xD003, kTrayAlt = 0xD010;

class HookDispatchTest : public ::testing::Test, public fake::OptionsRig {
 protected:
  HookDispatchTest() {
    EXPECT_TRUE(form.StartUp());
    form.Trayer->DefaultSettings().SkipAnimation = true;
    window = desktop.Add({.title = u"Report", .exePath = "D:\\Tools\\Writer.exe"});
  }
  // Sends one hooks message; what the desktop was asked, and where the window went.
  std::string Dispatch(std::intptr_t code) {
    desktop.calls.clear();
    EXPECT_TRUE(form.HandleHookMessage(form.HooksMessage, window.value, code));
    const int index = form.Trayer->IndexOfWindow(window);
    if (index >= 0) {
      return form.Trayer->ContainerAt(index)->Destination == TrayingDestination::Tray ? "tray" : "hide";
    }
    return desktop.calls.empty() ? "nothing" : desktop.calls.back();
  }
  void GiveSettings(std::function<void(TTraySettings&)> change) {
    TTraySettingsList list;
    change(list.Add("WRITER.EXE"));
    form.Trayer->SetSpecialSettings(std::move(list));
  }

  WindowId window;
};

TEST_F(HookDispatchTest, EachCodeByTheApplicationsSettings) {
  struct Case {
    const char* what;
    std::function<void(TTraySettings&)> settings;  // null: no record of its own, the defaults
    std::intptr_t code;
    std::string expected;
  };
  const auto none = std::function<void(TTraySettings&)>{};
  const auto useOff = [](TTraySettings& s) { s.UseWrenfold = false; };
  const Case cases[] = {
      {"hide", none, kHide, "hide"},
      {"tray", none, kTray, "tray"},
      {"tray alt", none, kTrayAlt, "tray"},
      {"close, HideByRC", none, kClose, "hide"},
      {"close without HideByRC", [](TTraySettings& s) { s.HideByRC = false; }, kClose, "nothing"},
      {"minimize click", none, kMinimize, "minimize"},
      {"minimize click, ReplMinWithTray", [](TTraySettings& s) { s.ReplMinWithTray = true; }, kMinimize, "tray"},
      {"hide, UseWrenfold off", useOff, kHide, "nothing"},
      {"tray, UseWrenfold off", useOff, kTray, "nothing"},
      {"tray alt, UseWrenfold off", useOff, kTrayAlt, "nothing"},
      {"close, UseWrenfold off", useOff, kClose, "nothing"},
      {"minimize, UseWrenfold off",
       [](TTraySettings& s) {
         s.UseWrenfold = false;
         s.ReplMinWithTray = true;
       },
       kMinimize, "minimize"},
      {"unknown code", none, 0xD004, "nothing"},
      {"code beyond 32 bits", none, (std::intptr_t{1} << 40) | kTray, "nothing"},
  };
  for (const auto& c : cases) {
    form.Trayer->RestoreAll();
    TTraySettingsList empty;
    form.Trayer->SetSpecialSettings(std::move(empty));
    if (c.settings) GiveSettings(c.settings);
    auto result = Dispatch(c.code);
    if (result.rfind("minimize", 0) == 0) result = "minimize";
    EXPECT_EQ(result, c.expected) << c.what;
  }
}

TEST_F(HookDispatchTest, AHeldWindowIsOnlyHiddenAgain) {
  ASSERT_EQ(Dispatch(kTray), "tray");
  desktop[window].visible = true;
  for (const auto code : {kHide, kTray, kClose, kMinimize, kTrayAlt}) {
    desktop[window].visible = true;
    EXPECT_EQ(Dispatch(code), "tray") << code;
    EXPECT_EQ(desktop.calls, std::vector<std::string>{"hide " + Hex(window)}) << code;
    EXPECT_EQ(waysBack.icons.size(), 1u) << code;
  }
}

TEST_F(HookDispatchTest, OurOwnWindowsAreNeverPutAway) {
  desktop[window].exePath = "c:\\program files\\WRENFOLD\\Wrenfold.EXE";  // our path in other letter case
  for (const auto code : {kHide, kTray, kClose, kTrayAlt}) EXPECT_EQ(Dispatch(code), "nothing") << code;
  EXPECT_EQ(Dispatch(kMinimize), "minimize " + Hex(window));
}

TEST_F(HookDispatchTest, AWindowWithoutKnownExecutableTakesTheDefaults) {
  desktop[window].exePath = "";
  form.Trayer->DefaultSettings().HideByRC = false;
  EXPECT_EQ(Dispatch(kClose), "nothing");
  form.Trayer->DefaultSettings().HideByRC = true;
  EXPECT_EQ(Dispatch(kClose), "hide");
}

TEST_F(HookDispatchTest, OtherMessagesPassUntouched) {
  EXPECT_FALSE(form.HandleHookMessage(form.HooksMessage + 1, window.value, kTray));
  EXPECT_FALSE(form.Trayer->HoldsWindow(window));
}

TEST_F(HookDispatchTest, TheMenuDropsStaleEntriesBeforeItOpens) {
  ASSERT_EQ(Dispatch(kHide), "hide");
  desktop.Close(window);
  form.PopupMenu1Popup();
  EXPECT_TRUE(waysBack.entries.empty());
  EXPECT_EQ(form.Trayer->ContainerCount(), 0);
}

TEST_F(HookDispatchTest, ExitBringsEveryHeldWindowBackWithoutAnimation) {
  form.Trayer->DefaultSettings().SkipAnimation = false;
  const auto tray = desktop.Add({.className = "Shell_TrayWnd"});
  desktop.Add({.className = "TrayNotifyWnd", .style = style::Child | style::Visible, .owner = tray});
  const auto second = desktop.Add({.title = u"Second", .exePath = "C:\\b.exe"});
  Dispatch(kTray);
  EXPECT_TRUE(form.HandleHookMessage(form.HooksMessage, second.value, kHide));
  desktop.calls.clear();
  form.Exit1Click();
  form.FormDestroy();
  EXPECT_TRUE(desktop.IsVisible(window) && desktop.IsVisible(second));
  EXPECT_TRUE(waysBack.icons.empty() && waysBack.entries.empty());
  for (const auto& call : desktop.calls) EXPECT_EQ(call.rfind("animate", 0), std::string::npos) << call;
}

}  // namespace
}  // namespace wrenfold
