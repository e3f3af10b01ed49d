#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Desktop.h"
#include "platform/Text.h"
#include "trayer/SettingsIndex.h"
#include "trayer/TraySettings.h"

namespace wrenfold {

// Raised by every trayer operation while it changes the list of held windows, so that the watch
// never runs in the middle of one. Program-wide, on the user-interface thread only.
inline bool TrayerBusy = false;

// Raises TrayerBusy for a scope and puts back what it found on every way out, so that an
// operation inside another leaves the outer one busy.
class BusyScope {
 public:
  BusyScope() : previous_(std::exchange(TrayerBusy, true)) {}
  ~BusyScope() { TrayerBusy = previous_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool previous_;
};

class TTrayer;
class TWndContainer;

// A held window's icon in the notification area.
class TTrTrayIcon {
 public:
  TWndContainer* Container = nullptr;
  std::unique_ptr<ITrayIconPort> Port;
};

// A hidden window's entry at the top of the main tray menu.
class TTrMenuItem {
 public:
  TWndContainer* Container = nullptr;
  std::unique_ptr<IMenuEntryPort> Port;
};

// One window put away.
class TWndContainer {
 public:
  WindowId Window;
  WindowId Owner;          // the window that stands for its application; may be the window, or null
  std::u16string Title;    // kept current while held
  std::string ExePath;     // empty when it cannot be told
  TrayingDestination Destination = TrayingDestination::Tray;
  bool Held = false;
  std::unique_ptr<TTrTrayIcon> WindowIcon;  // only while held with Tray
  std::unique_ptr<TTrMenuItem> MenuEntry;   // only while held with Hide
  TTrayer* Trayer = nullptr;
};

// The one trayer: the windows put away, the defaults and the per-application settings. The
// per-application list is only ever replaced as a whole, so the lookup index always matches it.
class TTrayer {
 public:
  // A trayer that only answers settings lookups.
  explicit TTrayer(const ITextServices& text);
  TTrayer(const ITextServices& text, IDesktop& desktop, IWaysBack& waysBack);
  ~TTrayer();
  TTrayer(const TTrayer&) = delete;
  TTrayer& operator=(const TTrayer&) = delete;

  [[nodiscard]] TTraySettings& DefaultSettings() { return defaults_; }
  [[nodiscard]] const TTraySettings& DefaultSettings() const { return defaults_; }

  // The special settings of the executable at `exePath` (only its file name counts, without
  // regard to letter case; the first match wins), or null. Borrowed until the list is replaced.
  [[nodiscard]] const TTraySettings* FindSettings(std::string_view exePath) const;
  // The settings that apply to an executable: its own record, else the defaults.
  [[nodiscard]] const TTraySettings& EffectiveSettings(std::string_view exePath) const;

  [[nodiscard]] const TTraySettingsList& SpecialSettings() const { return special_; }
  // Takes the list over; the list held before is destroyed.
  void SetSpecialSettings(TTraySettingsList list);

  // Puts a window away; gives the window when it is held afterwards, else kNoSuccess. A window
  // that cannot be given a way back (the shell refuses its icon) is not hidden.
  WindowId TrayWindow(WindowId window, TrayingDestination destination);
  // Brings a window back and drops its container; gives the window, or kNoSuccess when no
  // container held it.
  WindowId RestoreWindow(WindowId window);
  // Brings every window back, oldest first, and empties the list.
  void RestoreAll();
  // Brings everything back without animation; the trayer holds nothing afterwards.
  void Dispose();

  [[nodiscard]] int IndexOfWindow(WindowId window) const;
  [[nodiscard]] bool HoldsWindow(WindowId window) const { return IndexOfWindow(window) >= 0; }
  [[nodiscard]] int ContainerCount() const { return static_cast<int>(containers_.size()); }
  [[nodiscard]] TWndContainer* ContainerAt(int index) const;

  // Drops the containers of windows that closed or came back by themselves, and brings every
  // tooltip and entry up to date with its window's title. Run before the main tray menu opens.
  void RefreshContainers();
  void RefreshTitle(TWndContainer& container);

  // Events of the ways back. Each may end with the container (and its icon or entry) destroyed.
  void IconMouseClick(TWndContainer& container, MouseButton button);
  void IconMouseMove(TWndContainer& container);
  void EntryClick(TWndContainer& container);

  // Bulk commands over every candidate window: a visible top-level window with a title that is
  // not blank. Each window is handled on its own; one that fails is skipped.
  [[nodiscard]] int CountCandidateWindows();
  void CloseAllWindows();
  void TrayAllWindows(TrayingDestination destination);
  void CollectCandidate(WindowId window);
  // One pass of the half-second watch: a held window that showed itself again is let back or
  // hidden again, as its application's settings say.
  void WatchWindows();

  // The program's own executable: its windows are never put away or closed by the bulk commands.
  std::string OwnExePath;
  // Exists only while a bulk command runs, in the platform's enumeration order.
  std::vector<WindowId> CandidateList;

  void PutAway(TWndContainer& container);
  void BringBack(TWndContainer& container);
  // Destroys the container at `index` and takes it out of the list.
  void DropContainer(int index);

 private:
  bool MakeWayBack(TWndContainer& container);
  void Animate(WindowId window, bool away);
  [[nodiscard]] bool Gone(WindowId window) const;

  const ITextServices* text_;
  IDesktop* desktop_ = nullptr;
  IWaysBack* waysBack_ = nullptr;
  std::vector<std::unique_ptr<TWndContainer>> containers_;
  TTraySettings defaults_;
  TTraySettingsList special_;
  SettingsIndex index_;
};

}  // namespace wrenfold
