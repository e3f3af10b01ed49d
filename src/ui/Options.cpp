#include "ui/Options.h"

#include "app/Folders.h"
#include "app/HookEvents.h"
#include "app/Version.h"
#include "platform/Error.h"
#include "platform/Trace.h"
#include "storage/StartAtLogon.h"
#include "trayer/WindowHelpers.h"

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

  ExePath = services_.system.ExecutablePath();
  VersionString = GetFileVersionString(services_.system, ExePath);
  view_.SetCaption(VersionCaption());

  ProgramFolder = FolderOf(ExePath);
  HelpFile = services_.system.EnvironmentVariable("ALLUSERSPROFILE") + std::string(kHelpSubfolder) +
             std::string(kHelpFileName);
  Trayer = std::make_unique<TTrayer>(services_.text, services_.desktop, services_.waysBack);
  Trayer->OwnExePath = ExePath;
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
  const bool removable = system.DriveKindOf(ProgramFolder) == DriveKind::Removable;
  DataFolder = DataFolderFor(removable, ProgramFolder, system.EnvironmentVariable("HOMEDRIVE"),
                             system.EnvironmentVariable("HOMEPATH"));
  if (removable) {
    UpdaterPath.clear();
    return true;
  }
  if (!system.ForceDirectories(DataFolder)) {
    services_.ui.ShowMessage(Substitute(kCannotCreateDataFolder, DataFolder));
    return false;
  }
  UpdaterPath = system.ReadMachineText(std::string(kUninstallKey), "ModifyPath").value_or("");
  return true;
}

void TfrmOptions::WriteSettingsFile(SettingsWrite mode) {
  ApplyStartAtLogon(services_.system, StartupFolder, ExePath, TntCheckBox7);
  wrenfold::WriteSettingsFile(services_.files, SettingsFilePath(), Common, DontShow, WorkingSpecialSettings, mode);
}

bool TfrmOptions::HandleHookMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (!HookFilterInstalled || message != HooksMessage) return false;
  if (TraceEnabled()) {
    Trace("hooks message window=" + HexText(wParam) + " code=" + HexText(static_cast<std::uint64_t>(lParam)));
  }
  if (!Trayer) return true;
  using hooks::HookEvent;
  const WindowId window{wParam};
  const auto code = static_cast<HookEvent>(static_cast<std::uint32_t>(lParam));
  const bool known = code == HookEvent::Hide || code == HookEvent::Tray || code == HookEvent::CloseRightClick ||
                     code == HookEvent::MinimizeLeftClick || code == HookEvent::TrayAlt;
  if (!known || static_cast<std::uintptr_t>(lParam) > 0xFFFFFFFFu) return true;

  auto& desktop = services_.desktop;
  // A window already held that shows up again is simply hidden again: no second way back.
  if (Trayer->HoldsWindow(window)) {
    desktop.Show(window, ShowCommand::Hide);
    return true;
  }
  const auto exe = ExePathOfWindow(desktop, window);
  const auto& settings = Trayer->EffectiveSettings(exe);
  const bool use = settings.UseWrenfold && !IsOwnExecutable(services_.text, exe, ExePath);
  switch (code) {
    case HookEvent::Hide:
      if (use) Trayer->TrayWindow(window, TrayingDestination::Hide);
      break;
    case HookEvent::Tray:
    case HookEvent::TrayAlt:
      if (use) Trayer->TrayWindow(window, TrayingDestination::Tray);
      break;
    case HookEvent::CloseRightClick:
      if (use && settings.HideByRC) Trayer->TrayWindow(window, TrayingDestination::Hide);
      break;
    case HookEvent::MinimizeLeftClick:
      if (use && settings.ReplMinWithTray) {
        Trayer->TrayWindow(window, TrayingDestination::Tray);
      } else {
        // The hooks library kept the click from the window; the usual minimize comes from here.
        desktop.PostSysCommand(window, syscommand::Minimize);
      }
      break;
  }
  return true;
}

void TfrmOptions::PopupMenu1Popup() {
  if (!Trayer) return;
  Trayer->RefreshContainers();
  view_.EnableMenuItem(MenuItemId::Restoreall1, Trayer->ContainerCount() > 0);
  const bool several = Trayer->CountCandidateWindows() > 1;
  view_.EnableMenuItem(MenuItemId::Hidealltotray1, several);
  view_.EnableMenuItem(MenuItemId::Minimizealltotray1, several);
  view_.BringLastActivePopupForward();
}

namespace {

// A menu command's item is disabled while the command runs, and enabled again however it ends.
class ItemBusy {
 public:
  ItemBusy(IOptionsView& view, MenuItemId item) : view_(view), item_(item) { view_.EnableMenuItem(item_, false); }
  ~ItemBusy() { view_.EnableMenuItem(item_, true); }
  ItemBusy(const ItemBusy&) = delete;
  ItemBusy& operator=(const ItemBusy&) = delete;

 private:
  IOptionsView& view_;
  MenuItemId item_;
};

}  // namespace

void TfrmOptions::Minimizealltotray1Click() {
  ItemBusy busy(view_, MenuItemId::Minimizealltotray1);
  Trayer->TrayAllWindows(TrayingDestination::Tray);
}

void TfrmOptions::Hidealltotray1Click() {
  ItemBusy busy(view_, MenuItemId::Hidealltotray1);
  Trayer->TrayAllWindows(TrayingDestination::Hide);
}

void TfrmOptions::Restoreall1Click() {
  ItemBusy busy(view_, MenuItemId::Restoreall1);
  Trayer->RestoreAll();
}

void TfrmOptions::Closeallwindows1Click() {
  ItemBusy busy(view_, MenuItemId::Closeallwindows1);
  if (!DontShow.DontShowCloseAllConf) {
    if (!AskDontShowAgain(view_.DlgDontShowAgain(), kCloseAllQuestion, DontShow.DontShowCloseAllConf)) return;
    // A failed write ends the command here, with the error shown; the answer still holds for this run.
    if (DontShow.DontShowCloseAllConf) WriteDontShowCloseAllConf(services_.files, SettingsFilePath());
  }
  Trayer->CloseAllWindows();
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
  Trayer->WatchWindows();
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
  hooks_.Release(ClearWindowMenuMessage, false);
  view_.CloseAsMainWindow();
  return true;
}

void TfrmOptions::EndSession(bool ending) {
  if (ending) view_.RemoveTrayIcon();
}

void TfrmOptions::FormDestroy() {
  TrayerBusy = true;
  if (!SessionEnding) ReleaseHooks();
  hooks_.Unload();
  TearDown();
}

void TfrmOptions::ReleaseHooks() { hooks_.Release(ClearWindowMenuMessage); }

void TfrmOptions::TearDown() {
  WorkingSpecialSettings.Clear();
  ShownSpecialSettings.Clear();
  if (Trayer) Trayer->Dispose();
  Trayer.reset();
}

}  // namespace wrenfold
