#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wrenfold {

// A window of any program: an opaque handle, passed by value, never owned.
struct WindowId {
  std::uintptr_t value = 0;
  [[nodiscard]] explicit operator bool() const { return value != 0; }
  friend bool operator==(WindowId, WindowId) = default;
};

// What trayer operations give when they did not succeed (all bits set).
inline constexpr WindowId kNoSuccess{~std::uintptr_t{0}};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class ShowCommand { Hide, Show, ShowNormal };

namespace style {
inline constexpr std::uint32_t Child = 0x40000000;      // WS_CHILD
inline constexpr std::uint32_t Visible = 0x10000000;    // WS_VISIBLE
inline constexpr std::uint32_t ToolWindow = 0x00000080; // WS_EX_TOOLWINDOW
inline constexpr std::uint32_t AppWindow = 0x00040000;  // WS_EX_APPWINDOW
}  // namespace style

namespace syscommand {
inline constexpr unsigned Minimize = 0xF020;  // SC_MINIMIZE
inline constexpr unsigned Close = 0xF060;     // SC_CLOSE
inline constexpr unsigned Restore = 0xF120;   // SC_RESTORE
}  // namespace syscommand

// The window services the trayer needs. No call waits on another program: a hung window never
// holds the program up.
class IDesktop {
 public:
  virtual ~IDesktop() = default;

  [[nodiscard]] virtual bool IsWindow(WindowId window) const = 0;
  [[nodiscard]] virtual bool IsVisible(WindowId window) const = 0;
  [[nodiscard]] virtual bool IsIconic(WindowId window) const = 0;
  [[nodiscard]] virtual std::uint32_t Style(WindowId window) const = 0;
  [[nodiscard]] virtual std::uint32_t ExStyle(WindowId window) const = 0;
  // The owner of a top-level window, the parent of a child window; null for none.
  [[nodiscard]] virtual WindowId OwnerOf(WindowId window) const = 0;
  [[nodiscard]] virtual WindowId DesktopWindow() const = 0;
  // The whole title, whatever its length; empty for no window.
  [[nodiscard]] virtual std::u16string Title(WindowId window) const = 0;
  // Full path of the executable of the window's process (ANSI); empty when it cannot be told.
  [[nodiscard]] virtual std::string ExePathOf(WindowId window) const = 0;
  [[nodiscard]] virtual Rect WindowRect(WindowId window) const = 0;
  [[nodiscard]] virtual WindowId FindTopLevel(std::string_view className) const = 0;
  [[nodiscard]] virtual WindowId FindChild(WindowId parent, std::string_view className) const = 0;
  // Every top-level window, in the platform's enumeration order.
  [[nodiscard]] virtual std::vector<WindowId> TopLevelWindows() const = 0;

  // Requests to a window; fire-and-forget.
  virtual void Show(WindowId window, ShowCommand command) = 0;
  virtual void PostSysCommand(WindowId window, unsigned command) = 0;
  virtual void SetForeground(WindowId window) = 0;
  // The caption zoom between two rectangles, on behalf of the window.
  virtual void AnimateCaption(WindowId window, const Rect& from, const Rect& to) = 0;
};

enum class MouseButton { Left, Right, Middle };

// A per-window icon in the notification area. Destroying it takes it out.
class ITrayIconPort {
 public:
  virtual ~ITrayIconPort() = default;
  virtual void SetTooltip(const std::u16string& text) = 0;
};

// A per-window entry at the top of the main tray menu. Destroying it takes it out of the menu.
class IMenuEntryPort {
 public:
  virtual ~IMenuEntryPort() = default;
  virtual void SetCaption(const std::u16string& text) = 0;
};

struct TrayIconEvents {
  std::function<void(MouseButton)> click;  // a button pressed and released on the icon
  std::function<void()> mouseMove;
};

// Makes the ways back of windows put away. An event handler may destroy the very icon or entry
// whose event it handles.
class IWaysBack {
 public:
  virtual ~IWaysBack() = default;

  // An icon showing the shell's icon for the executable; null when the shell refuses it.
  [[nodiscard]] virtual std::unique_ptr<ITrayIconPort> AddTrayIcon(const std::string& exePath,
                                                                   const std::u16string& tooltip,
                                                                   TrayIconEvents events) = 0;
  // An entry inserted above every other item of the main tray menu; null when that fails.
  [[nodiscard]] virtual std::unique_ptr<IMenuEntryPort> AddMenuEntry(const std::string& exePath,
                                                                     const std::u16string& caption,
                                                                     std::function<void()> click) = 0;
};

}  // namespace wrenfold
