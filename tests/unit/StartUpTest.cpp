#include <gtest/gtest.h>

#include <algorithm>

#include "support/OptionsRig.h"
#include "ui/Options.h"

namespace wrenfold {
namespace {

const char* const kFirstRunFile =
    "[Default]\r\nRCMinDest=-1\r\nReplMinWithTray=0\r\nHideByRC=1\r\nShowOnFocusSteal=1\r\nSkipAnimation=0\r\n"
    "DontShowCancelConf=0\r\nDontShowPopupsConf=0\r\nDontShowCloseAllConf=0\r\n";

using fake::OptionsRig;
using Rig = OptionsRig;

class StartUpTest : public ::testing::Test, public Rig {};

TEST_F(StartUpTest, FirstStartWritesTheSettingsCreatesTheShortcutAndBindsTheHooks) {
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(files.files.at(kSettings), kFirstRunFile);
  ASSERT_EQ(system.links.count(kShortcut), 1u);
  EXPECT_EQ(system.links.at(kShortcut).target, system.exePath);

  EXPECT_EQ(form.ProgramFolder, kProgramFolder);
  EXPECT_EQ(form.DataFolder, kDataFolder);
  EXPECT_EQ(form.StartupFolder, "C:\\Users\\ann\\Startup\\");
  EXPECT_EQ(form.HelpFile, "C:\\All\\Application Data\\Pellbrook\\Quillmoor\\QuillmoorUtilities.chm");
  EXPECT_EQ(form.VersionString, "1.0.0.0");
  EXPECT_EQ(view.caption, u"Wrenfold v.1.0.0.0 (EN)");
  EXPECT_EQ(view.tooltip, u"Wrenfold v.1.0.0.0 (EN)");
  EXPECT_EQ(view.page, 0);
  EXPECT_EQ(form.HooksMessage, ui.registered.at("wfnhooksmsg"));
  EXPECT_EQ(form.ClearWindowMenuMessage, ui.registered.at("wfnclearwindowmenu"));
  EXPECT_TRUE(form.HooksActive);
  EXPECT_FALSE(TrayerBusy);
  EXPECT_TRUE(view.timers[TimerId::Timer1]);
  EXPECT_TRUE(view.timers[TimerId::Timer2]);
  EXPECT_TRUE(view.splashShown);
  EXPECT_TRUE(ui.messages.empty());
  // No updater is registered: its two items go.
  EXPECT_EQ(view.removedItems,
            (std::set<MenuItemId>{MenuItemId::UpdateQuillmoorUtilities1, MenuItemId::Configureautomaticupdates1}));

  // The folder exists before the file is written; the hooks come after the tray icon, the splash last.
  EXPECT_LT(At("create folder"), At("save link"));
  EXPECT_LT(At("save link"), At("tray icon"));
  EXPECT_LT(At("tray icon"), At("load " + kProgramFolder + "wfnhooks.dll"));
  EXPECT_LT(At("load"), At("RegisterHooks"));
  EXPECT_LT(At("RegisterHooks"), At("splash"));
}

TEST_F(StartUpTest, AFileWithContentAndAMissingShortcutAreLeftAlone) {
  files.files[kSettings] = "[Default]\r\nHideByRC=0\r\nDontShowCloseAllConf=1\r\n";
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(files.files.at(kSettings), "[Default]\r\nHideByRC=0\r\nDontShowCloseAllConf=1\r\n");
  EXPECT_TRUE(system.links.empty());
  EXPECT_FALSE(form.Trayer->DefaultSettings().HideByRC);
  EXPECT_TRUE(form.DontShow.DontShowCloseAllConf);
}

TEST_F(StartUpTest, AnEmptyFileIsWrittenAsAtFirstStart) {
  files.files[kSettings] = "";
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(files.files.at(kSettings), kFirstRunFile);
  EXPECT_EQ(system.links.count(kShortcut), 1u);
}

TEST_F(StartUpTest, AFirstStartThatCannotWriteSaysSoAndRunsOnDefaults) {
  files.failWrites.insert(kSettings);
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(ui.messages, std::vector<std::string>{"Unable to write to " + kSettings});
  EXPECT_TRUE(form.HooksActive);
  EXPECT_TRUE(form.Trayer->DefaultSettings().HideByRC);
}

TEST_F(StartUpTest, VersionComesFromTheExecutable) {
  system.versions[system.exePath] = {2, 5, 0, 17};
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(view.caption, u"Wrenfold v.2.5.0.17 (EN)");
  EXPECT_EQ(form.AboutVersionString, "2.5.0.17");
}

TEST_F(StartUpTest, FromARemovableDriveTheSettingsLiveBesideTheProgram) {
  system.exePath = "E:\\Wrenfold\\wrenfold.exe";
  system.drives["E:\\Wrenfold\\"] = DriveKind::Removable;
  system.machineTexts[{std::string(kUninstallKey), "ModifyPath"}] = "C:\\Updater\\update.exe";
  files.files["E:\\Wrenfold\\wfnhooks.dll"] = "library";
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(form.DataFolder, "E:\\Wrenfold\\");
  EXPECT_EQ(files.files.count("E:\\Wrenfold\\wrenfold.ini"), 1u);
  EXPECT_EQ(system.registryReads, 0);
  EXPECT_EQ(form.UpdaterPath, "");
  EXPECT_EQ(view.removedItems.size(), 2u);
  EXPECT_EQ(At("create folder"), -1);
}

TEST_F(StartUpTest, ARegisteredUpdaterKeepsTheUpdateItems) {
  system.machineTexts[{std::string(kUninstallKey), "ModifyPath"}] = "C:\\Updater\\update.exe";
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(form.UpdaterPath, "C:\\Updater\\update.exe");
  EXPECT_TRUE(view.removedItems.empty());
}

TEST_F(StartUpTest, UnsetHomeVariablesGiveAFolderOnTheCurrentDrive) {
  system.environment.clear();
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(form.DataFolder, "\\Local Settings\\Application Data\\Pellbrook\\QuillmoorUtilities\\");
}

TEST_F(StartUpTest, WithoutAStartupFolderNoShortcutIsMade) {
  system.specialFolders.clear();
  ASSERT_TRUE(form.StartUp());
  EXPECT_EQ(form.StartupFolder, "");
  EXPECT_TRUE(system.links.empty());
}

TEST_F(StartUpTest, FailuresTellTheUserEndTheRunAndReleaseWhatWasLoaded) {
  struct Case {
    const char* what;
    std::function<void(Rig&)> arrange;
    std::string message;
    bool loaded;
    bool unregisters;
  };
  const std::string notLoaded = "Unable to load hooks library wfnhooks.dll!";
  const Case cases[] = {
      {"data folder", [](Rig& t) { t.system.folderCreationFails = true; },
       "Failed to create directory " + kDataFolder + ". Program exit.", false, false},
      {"library missing", [](Rig& t) { t.files.files.erase(t.kProgramFolder + "wfnhooks.dll"); },
       "Hooks library wfnhooks.dll was not found!", false, false},
      {"loader refuses", [](Rig& t) { t.hooks.loadFails = true; }, notLoaded, false, false},
      {"no RegisterHooks", [](Rig& t) { t.hooks.hasRegister = false; }, notLoaded, true, true},
      {"RegisterHooks says no", [](Rig& t) { t.hooks.registerAnswer = false; }, notLoaded, true, true},
      {"no UnregisterHooks either", [](Rig& t) { t.hooks.hasRegister = t.hooks.hasUnregister = false; },
       notLoaded, true, false},
  };
  for (const auto& c : cases) {
    Rig t;
    c.arrange(t);
    EXPECT_FALSE(t.form.StartUp()) << c.what;
    EXPECT_EQ(t.ui.messages, std::vector<std::string>{c.message}) << c.what;
    EXPECT_FALSE(t.form.HooksActive) << c.what;
    EXPECT_FALSE(t.view.splashShown) << c.what;
    EXPECT_FALSE(t.view.timers[TimerId::Timer2]) << c.what;

    t.form.FormDestroy();
    EXPECT_EQ(t.hooks.unregisterCalls, c.unregisters ? 1 : 0) << c.what;
    EXPECT_EQ(t.hooks.unloadCalls, c.loaded ? 1 : 0) << c.what;
    EXPECT_EQ(t.form.Trayer, nullptr) << c.what;
  }
}

TEST_F(StartUpTest, EveryWayOutReleasesTheHooksExactlyOnce) {
  struct Case {
    const char* what;
    std::function<void(TfrmOptions&)> end;
  };
  const Case cases[] = {
      {"Exit", [](TfrmOptions& f) { f.Exit1Click(); }},
      {"WM_CLOSE while hidden", [](TfrmOptions& f) { f.FormClose(); }},
      {"session end", [](TfrmOptions& f) { EXPECT_TRUE(f.QueryEndSession()); }},
      {"session end called off", [](TfrmOptions& f) {
         EXPECT_TRUE(f.QueryEndSession());
         f.EndSession(false);
       }},
  };
  for (const auto& c : cases) {
    Rig t;
    ASSERT_TRUE(t.form.StartUp());
    c.end(t.form);
    EXPECT_EQ(t.view.closeRequests, 1) << c.what;
    t.form.FormDestroy();
    EXPECT_EQ(t.hooks.unregisterCalls, 1) << c.what;
    EXPECT_EQ(t.hooks.unloadCalls, 1) << c.what;
    EXPECT_EQ(t.ui.broadcasts, std::vector<unsigned>{t.form.ClearWindowMenuMessage}) << c.what;
    // Windows are told to clear up before the hooks go.
    EXPECT_LT(t.At("broadcast"), t.At("UnregisterHooks")) << c.what;
    EXPECT_LT(t.At("UnregisterHooks"), t.At("unload")) << c.what;
    EXPECT_TRUE(TrayerBusy) << c.what;
  }
}

TEST_F(StartUpTest, SessionEndReleasesTheHooksBeforeAnswering) {
  ASSERT_TRUE(form.StartUp());
  EXPECT_TRUE(form.QueryEndSession());
  EXPECT_TRUE(form.SessionEnding);
  EXPECT_EQ(hooks.unregisterCalls, 1);
  form.EndSession(true);
  EXPECT_FALSE(view.trayIcon);
}

TEST_F(StartUpTest, CloseOnAVisibleSettingsWindowOnlyHidesIt) {
  ASSERT_TRUE(form.StartUp());
  view.visible = true;
  form.FormClose();
  EXPECT_FALSE(view.visible);
  EXPECT_EQ(view.closeRequests, 0);
  EXPECT_EQ(hooks.unregisterCalls, 0);
}

TEST_F(StartUpTest, TheSplashGoesOnceAtTheFirstTick) {
  ASSERT_TRUE(form.StartUp());
  form.Timer1Timer();
  form.Timer1Timer();
  EXPECT_EQ(view.splashDestroyed, 1);
  EXPECT_FALSE(view.timers[TimerId::Timer1]);
}

TEST_F(StartUpTest, TheWatchRunsOnlyWhenActiveAndNotBusy) {
  form.Timer2Timer();  // before start-up: nothing to watch, nothing happens
  ASSERT_TRUE(form.StartUp());
  form.Trayer->DefaultSettings().ShowOnFocusSteal = false;
  form.Trayer->DefaultSettings().SkipAnimation = true;
  const auto window = desktop.Add({.title = u"Pops up"});
  ASSERT_EQ(form.Trayer->TrayWindow(window, TrayingDestination::Tray), window);

  desktop[window].visible = true;
  TrayerBusy = true;
  form.Timer2Timer();
  EXPECT_TRUE(desktop.IsVisible(window));  // busy: the watch skips its turn
  TrayerBusy = false;
  form.Timer2Timer();
  EXPECT_FALSE(desktop.IsVisible(window));
  EXPECT_TRUE(view.timers[TimerId::Timer2]);
}

TEST_F(StartUpTest, TheFilterConsumesOnlyTheHooksMessage) {
  EXPECT_FALSE(form.HandleHookMessage(0, 0, 0));  // before start-up nothing is filtered
  ASSERT_TRUE(form.StartUp());
  EXPECT_TRUE(form.HandleHookMessage(form.HooksMessage, 0x1234, 0xD001));
  EXPECT_TRUE(form.HandleHookMessage(form.HooksMessage, 0x1234, 0x7777));
  EXPECT_FALSE(form.HandleHookMessage(form.HooksMessage + 1, 0x1234, 0xD001));
  EXPECT_FALSE(form.HandleHookMessage(0x0112, 0, 0));
}

}  // namespace
}  // namespace wrenfold
