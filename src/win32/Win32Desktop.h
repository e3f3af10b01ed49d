#pragma once

#include <windows.h>

#include "platform/Desktop.h"

namespace wrenfold::win32 {

[[nodiscard]] inline HWND ToHwnd(WindowId window) { return reinterpret_cast<HWND>(window.value); }
[[nodiscard]] inline WindowId ToWindowId(HWND window) { return WindowId{reinterpret_cast<std::uintptr_t>(window)}; }

// The desktop as the Windows API shows it. Nothing here sends a message to another program's
// window: titles come from the window manager's copy, requests are posted.
class Win32Desktop final : public IDesktop {
 public:
  [[nodiscard]] bool IsWindow(WindowId window) const override;
  [[nodiscard]] bool IsVisible(WindowId window) const override;
  [[nodiscard]] bool IsIconic(WindowId window) const override;
  [[nodiscard]] std::uint32_t Style(WindowId window) const override;
  [[nodiscard]] std::uint32_t ExStyle(WindowId window) const override;
  [[nodiscard]] WindowId OwnerOf(WindowId window) const override;
  [[nodiscard]] WindowId DesktopWindow() const override;
  [[nodiscard]] std::u16string Title(WindowId window) const override;
  [[nodiscard]] std::string ExePathOf(WindowId window) const override;
  [[nodiscard]] Rect WindowRect(WindowId window) const override;
  [[nodiscard]] WindowId FindTopLevel(std::string_view className) const override;
  [[nodiscard]] WindowId FindChild(WindowId parent, std::string_view className) const override;
  [[nodiscard]] std::vector<WindowId> TopLevelWindows() const override;

  void Show(WindowId window, ShowCommand command) override;
  void PostSysCommand(WindowId window, unsigned command) override;
  void SetForeground(WindowId window) override;
  void AnimateCaption(WindowId window, const Rect& from, const Rect& to) override;
};

}  // namespace wrenfold::win32
