#pragma once

#include <windows.h>

#include <memory>

#include "ui/Options.h"
#include "win32/ConfirmDialog.h"
#include "win32/TrayIcon.h"
#include "win32/UniqueHandle.h"
#include "win32/WaysBack.h"
#include "win32/Window.h"

namespace wrenfold::win32 {

// The hidden application window that a second start looks for and brings forward. The hooks
// library posts to it; a message loop of the system's (a message box, a common dialog) dispatches
// the hooks message here instead of through our filter, so it is handed to the same handler.
class AppWindow final : public Window {
 public:
  bool Create();
  void Attach(TfrmOptions* logic) { logic_ = logic; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TfrmOptions* logic_ = nullptr;
};

// The splash window: borderless, on top, black shows through.
class SplashWindow final : public Window {
 public:
  bool Create(HWND owner);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A window whose content comes with its own feature; for now it exists, hidden, as a place holder.
class PlainForm final : public Window {
 public:
  bool Create(const wchar_t* className, HWND owner);
};

// The settings window: main window of the program, owner of the main tray icon, its menu and
// the two timers.
class OptionsWindow final : public Window, public IOptionsView {
 public:
  explicit OptionsWindow(AppWindow& app) : app_(app) {}
  bool Create();
  void Attach(TfrmOptions* logic) { logic_ = logic; }
  void AttachDialogs(ConfirmDialog* small, ConfirmDialog* large) {
    dlgDontShowAgain_ = small;
    dlgDontShowAgainLarge_ = large;
  }
  // The icons and menu entries of the windows put away; they live in this window's tray and menu.
  [[nodiscard]] IWaysBack& WaysBack() { return *waysBack_; }

  // IOptionsView
  void SetCaption(const std::u16string& caption) override;
  void SelectPage(int index) override { page_ = index; }
  [[nodiscard]] bool IsVisible() const override;
  void Hide() override;
  void ShowNormal() override;
  void RemoveMenuItem(MenuItemId id) override;
  void EnableMenuItem(MenuItemId id, bool enabled) override;
  void BringLastActivePopupForward() override;
  [[nodiscard]] IConfirmDialog& DlgDontShowAgain() override { return *dlgDontShowAgain_; }
  [[nodiscard]] IConfirmDialog& DlgDontShowAgainLarge() override { return *dlgDontShowAgainLarge_; }
  void ShowTrayIcon(const std::u16string& tooltip) override;
  void RemoveTrayIcon() override;
  void SetTimerEnabled(TimerId timer, bool enabled) override;
  void ShowSplash() override;
  void DestroySplash() override;
  void CloseAsMainWindow() override;

  static constexpr UINT kTrayCallback = WM_APP + 1;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OpenMenuAtCursor();
  // The menu as it is shown: separators reduced, access keys given. The caller destroys it.
  [[nodiscard]] HMENU PresentedMenu() const;
  void RunCommand(MenuItemId id);

  AppWindow& app_;
  TfrmOptions* logic_ = nullptr;
  UniqueMenu menu_;
  std::unique_ptr<Win32WaysBack> waysBack_;
  UniqueIcon smallIcon_;
  TrayIcon trayIcon_{1, kTrayCallback};
  std::unique_ptr<SplashWindow> splash_;
  ConfirmDialog* dlgDontShowAgain_ = nullptr;
  ConfirmDialog* dlgDontShowAgainLarge_ = nullptr;
  UINT taskbarCreated_ = 0;
  int page_ = 0;
};

}  // namespace wrenfold::win32
