#include "ui/Options.h"

#include "app/Folders.h"
#include "app/Version.h"
#include "platform/Error.h"
#include "platform/Trace.h"
#include "storage/StartAtLogon.h"

namespace wrenfold {
namespace {

std::string HexText(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value);
  return "0x" + text;
}

}  // namespace

TfrmOptions::TfrmOptions(OptionsServices services, IOptionsView& view)
    : services_(services), view_(view), hooks_(services.system, services.hooks, services.ui) {}

TfrmOptions::~TfrmOptions() = default;

std::u16string TfrmOptions::VersionCaption() const {
  return services_.text.AnsiToWide(std::string(kApplicationTitle) + " v." + VersionString + " (EN)");
}

bool TfrmOptions::StartUp() {
  SessionEnding = false;
  SortColumn = PreviousSortColumn = 0;
  SortAscending = true;
  WorkingSpecialSettings.Clear();
  ShownSpecialSettings.Clear();
  view_.SelectPage(0);

  HooksMessage = services_.ui.RegisterMessage(kHooksMessageName);
  ClearWindowMenuMessage = services_.ui.RegisterMessage(kClearWindowMenuMessageName);

  const auto exePath = services_.system.ExecutablePath();
  VersionString = GetFileVersionString(services_.system, exePath);
  view_.SetCaption(VersionCaption());

  ProgramFolder = FolderOf(exePath);
  HelpFile = services_.system.EnvironmentVariable("ALLUSERSPROFILE") + std::string(kHelpSubfolder) +
             std::string(kHelpFileName);
  Trayer = std::make_unique<TTrayer>(services_.text);
  HookFilterInstalled = true;

  if (!FindDataFolderAndUpdater()) return false;
  if (UpdaterPath.empty()) {
    view_.RemoveMenuItem(MenuItemId::UpdateQuillmoorUtilities1);
    view_.RemoveMenuItem(MenuItemId::Configureautomaticupdates1);
  }
  AboutVersionString = VersionString;
  StartupFolder = GetSpecialFolderPath(services_.system, kCsidlStartup);

  if (FileSizeOf(services_.files, SettingsFilePath()) <= 0) {
    try {
      WriteSettingsFile(SettingsWrite::FromScratch);
    } catch (const Error& error) {
      // Without a settings file the program still works, on its defaults; say so once.
      services_.ui.ShowMessage(error.what());
    }
  }
  ReadSettingsFile(services_.files, SettingsFilePath(), services_.text, *Trayer, DontShow);

  view_.ShowTrayIcon(VersionCaption());

  if (const auto failure = hooks_.Bind(ProgramFolder); !failure.empty()) {
    services_.ui.ShowMessage(failure);
    return false;
  }
  HooksActive = true;
  TrayerBusy = false;

  view_.ShowSplash();
  splashAlive_ = true;
  view_.SetTimerEnabled(TimerId::Timer1, true);
  view_.SetTimerEnabled(TimerId::Timer2, true);
  Trace("started");
  return true;
}

bool TfrmOptions::FindDataFolderAndUpdater() {
  auto& system = services_.system;
  if (system.DriveKindOf(ProgramFolder) == DriveKind::Removable) {
    DataFolder = ProgramFolder;
    UpdaterPath.clear();
    return true;
  }
  DataFolder = DataFolderFor(false, ProgramFolder, system.EnvironmentVariable("HOMEDRIVE"),
                             system.EnvironmentVariable("HOMEPATH"));
  if (!system.ForceDirectories(DataFolder)) {
    services_.ui.ShowMessage(Substitute(kCannotCreateDataFolder, DataFolder));
    return false;
  }
  UpdaterPath = system.ReadMachineText(std::string(kUninstallKey), "ModifyPath").value_or("");
  return true;
}

void TfrmOptions::WriteSettingsFile(SettingsWrite mode) {
  ApplyStartAtLogon(services_.system, StartupFolder, services_.system.ExecutablePath(), TntCheckBox7);
  wrenfold::WriteSettingsFile(services_.files, SettingsFilePath(), Common, DontShow, WorkingSpecialSettings, mode);
}

bool TfrmOptions::HandleHookMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (!HookFilterInstalled || message != HooksMessage) return false;
  if (TraceEnabled()) {
    Trace("hooks message window=" + HexText(wParam) + " code=" + HexText(static_cast<std::uint64_t>(lParam)));
  }
  return true;
}

void TfrmOptions::Timer1Timer() {
  view_.SetTimerEnabled(TimerId::Timer1, false);
  if (splashAlive_) {
    splashAlive_ = false;
    view_.DestroySplash();
  }
}

void TfrmOptions::Timer2Timer() {
  if (!HooksActive || TrayerBusy) return;
  view_.SetTimerEnabled(TimerId::Timer2, false);
  if (WatchWindows) WatchWindows();
  view_.SetTimerEnabled(TimerId::Timer2, true);
}

void TfrmOptions::Exit1Click() { view_.CloseAsMainWindow(); }

void TfrmOptions::Settings1Click() { view_.ShowNormal(); }

void TfrmOptions::FormClose() {
  if (view_.IsVisible()) {
    // Acts as the Cancel button.
    view_.Hide();
    return;
  }
  view_.CloseAsMainWindow();
}

bool TfrmOptions::QueryEndSession() {
  SessionEnding = true;
  ReleaseHooks();
  view_.CloseAsMainWindow();
  return true;
}

void TfrmOptions::EndSession(bool ending) {
  if (ending) view_.RemoveTrayIcon();
}

void TfrmOptions::FormDestroy() {
  TrayerBusy = true;
  if (!SessionEnding) ReleaseHooks();
  TearDown();
}

void TfrmOptions::ReleaseHooks() { hooks_.Release(ClearWindowMenuMessage); }

void TfrmOptions::TearDown() {
  WorkingSpecialSettings.Clear();
  ShownSpecialSettings.Clear();
  Trayer.reset();
}

}  // namespace wrenfold
