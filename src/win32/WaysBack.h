#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "platform/Desktop.h"

namespace wrenfold::win32 {

// Tray icons and menu entries for the windows put away. The owner window, its tray callback
// message and the main tray menu are borrowed; the owner window hands their events back through
// the Handle... functions.
class Win32WaysBack final : public IWaysBack {
 public:
  Win32WaysBack(HWND owner, UINT callbackMessage, HMENU menu);
  Win32WaysBack(const Win32WaysBack&) = delete;
  Win32WaysBack& operator=(const Win32WaysBack&) = delete;
  ~Win32WaysBack() override;

  [[nodiscard]] std::unique_ptr<ITrayIconPort> AddTrayIcon(const std::string& exePath, const std::u16string& tooltip,
                                                           TrayIconEvents events) override;
  [[nodiscard]] std::unique_ptr<IMenuEntryPort> AddMenuEntry(const std::string& exePath,
                                                             const std::u16string& caption,
                                                             std::function<void()> click) override;

  // The tray callback message: true when `iconId` is one of our icons.
  bool HandleTrayCallback(WPARAM iconId, LPARAM mouseMessage);
  // WM_COMMAND from the main tray menu: true when `id` is one of our entries.
  bool HandleMenuCommand(UINT id);
  // "TaskbarCreated": the shell starts afresh and has forgotten our icons.
  void RestoreIcons();

  // Far from the main icon's id and the menu's own command ids; never taken from a window handle.
  static constexpr UINT kFirstIconId = 100;
  static constexpr UINT kFirstCommandId = 20000;

 private:
  class Icon;
  class Entry;
  // What the icons and entries are found by; each leaves it when destroyed.
  struct Registry {
    std::map<UINT, Icon*> icons;
    std::map<UINT, Entry*> entries;
  };

  HWND owner_;
  UINT callbackMessage_;
  HMENU menu_;
  UINT nextIconId_ = kFirstIconId;
  UINT nextCommandId_ = kFirstCommandId;
  // Shared with the icons and entries, which may outlive us.
  std::shared_ptr<Registry> registry_;
};

}  // namespace wrenfold::win32
