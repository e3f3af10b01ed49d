#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace wrenfold::win32 {

// One notification-area icon. Its id is ours to choose and stays the same for its whole life.
class TrayIcon {
 public:
  TrayIcon(UINT id, UINT callbackMessage) : id_(id), callbackMessage_(callbackMessage) {}
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { Remove(); }

  // Adds the icon (or updates it when shown). False when the shell refuses it.
  bool Show(HWND owner, HICON icon, const std::wstring& tooltip);
  void Remove();
  // The shell made a new notification area ("TaskbarCreated"): add the icon again if it is
  // wanted, also when the shell refused it before (a start at logon can come before the tray).
  void Restore();
  [[nodiscard]] bool Shown() const { return shown_; }
  [[nodiscard]] UINT Id() const { return id_; }

  static constexpr std::size_t kMaxTooltip = 127;

 private:
  [[nodiscard]] NOTIFYICONDATAW Data(UINT flags) const;

  UINT id_;
  UINT callbackMessage_;
  HWND owner_ = nullptr;
  HICON icon_ = nullptr;
  std::wstring tooltip_;
  bool shown_ = false;
  bool wanted_ = false;
};

}  // namespace wrenfold::win32
