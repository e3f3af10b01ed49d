#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/HooksBinding.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/HooksLibrary.h"
#include "platform/System.h"
#include "platform/Text.h"
#include "platform/UserInterface.h"
#include "storage/SettingsFile.h"
#include "trayer/Trayer.h"
#include "ui/Confirm.h"
#include "ui/MainMenu.h"

namespace wrenfold {

enum class TimerId { Timer1, Timer2 };

// What the settings window's logic asks of its window: the window itself, the main tray icon and
// its menu, the two timers and the splash window that it owns.
class IOptionsView {
 public:
  virtual ~IOptionsView() = default;

  virtual void SetCaption(const std::u16string& caption) = 0;
  virtual void SelectPage(int index) = 0;
  [[nodiscard]] virtual bool IsVisible() const = 0;
  virtual void Hide() = 0;
  virtual void ShowNormal() = 0;
  virtual void RemoveMenuItem(MenuItemId id) = 0;
  virtual void EnableMenuItem(MenuItemId id, bool enabled) = 0;
  // Brings the program's last active pop-up window (an open settings window or dialog) forward.
  virtual void BringLastActivePopupForward() = 0;
  [[nodiscard]] virtual IConfirmDialog& DlgDontShowAgain() = 0;
  [[nodiscard]] virtual IConfirmDialog& DlgDontShowAgainLarge() = 0;
  // Shows the main tray icon; it comes back by itself when the shell re-creates the tray.
  virtual void ShowTrayIcon(const std::u16string& tooltip) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void SetTimerEnabled(TimerId timer, bool enabled) = 0;
  virtual void ShowSplash() = 0;
  virtual void DestroySplash() = 0;
  // Ends the message loop.
  virtual void CloseAsMainWindow() = 0;
};

struct OptionsServices {
  ISystem& system;
  IFileSystem& files;
  ITextServices& text;
  IHooksLibrary& hooks;
  IUserInterface& ui;
  IDesktop& desktop;
  IWaysBack& waysBack;
};

inline constexpr std::string_view kApplicationTitle = "Wrenfold";
inline constexpr std::string_view kHooksMessageName = "wfnhooksmsg";
inline constexpr std::string_view kClearWindowMenuMessageName = "wfnclearwindowmenu";
inline constexpr std::string_view kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillmoor Utilities";
inline constexpr std::string_view kHelpSubfolder = "\\Application Data\\Pellbrook\\Quillmoor\\";
inline constexpr std::string_view kHelpFileName = "QuillmoorUtilities.chm";
inline constexpr std::string_view kCannotCreateDataFolder = "Failed to create directory %s. Program exit.";

// The settings window: the program's main window, always hidden at start, owner of the main tray
// icon, its menu, the timers and the program-wide state.
class TfrmOptions {
 public:
  TfrmOptions(OptionsServices services, IOptionsView& view);
  ~TfrmOptions();

  // Start-up, once per process. False when it failed (the user was told) and the program ends.
  [[nodiscard]] bool StartUp();

  // Filter of every message the program's message loops retrieve. True when the message was
  // the hooks message, which then goes no further: the reported window is put away, hidden
  // again, minimized as usual, or left alone, by its application's settings.
  [[nodiscard]] bool HandleHookMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

  // Runs just before the main tray menu opens.
  void PopupMenu1Popup();
  void Minimizealltotray1Click();
  void Hidealltotray1Click();
  void Restoreall1Click();
  void Closeallwindows1Click();

  void Timer1Timer();
  void Timer2Timer();

  void Exit1Click();
  void Settings1Click();
  // WM_CLOSE: a visible window acts as Cancel; a hidden one ends the program.
  void FormClose();
  // WM_QUERYENDSESSION: releases the hooks, ends the program, and never objects.
  [[nodiscard]] bool QueryEndSession();
  // WM_ENDSESSION
  void EndSession(bool ending);
  void FormDestroy();

  // Writes the whole settings file from the window's state, after applying the start-at-logon box.
  void WriteSettingsFile(SettingsWrite mode);
  [[nodiscard]] std::string SettingsFilePath() const { return DataFolder + std::string(kSettingsFileName); }
  [[nodiscard]] std::u16string VersionCaption() const;

  // Program-wide state.
  std::string ExePath;  // the program's own executable
  std::string ProgramFolder;
  std::string DataFolder;
  std::string UpdaterPath;
  std::string VersionString;
  std::string StartupFolder;
  std::string HelpFile;
  std::string AboutVersionString;  // handed to the about window
  unsigned HooksMessage = 0;
  unsigned ClearWindowMenuMessage = 0;
  bool HooksActive = false;
  bool SessionEnding = false;
  DontShowFlags DontShow;
  TTraySettingsList WorkingSpecialSettings;
  TTraySettingsList ShownSpecialSettings;
  int SortColumn = 0;
  int PreviousSortColumn = 0;
  bool SortAscending = true;
  std::unique_ptr<TTrayer> Trayer;
  bool HookFilterInstalled = false;

  // The controls the settings file is written from, in a fresh window's state.
  CommonPageState Common;
  bool TntCheckBox7 = true;  // "Start Wrenfold at logon"

 private:
  void ReleaseHooks();
  void TearDown();
  [[nodiscard]] bool FindDataFolderAndUpdater();

  OptionsServices services_;
  IOptionsView& view_;
  HooksBinding hooks_;
  bool splashAlive_ = false;
};

}  // namespace wrenfold
