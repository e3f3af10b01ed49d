#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace wrenfold::fake {

struct FakeWindow {
  std::string className;
  std::u16string title;
  std::uint32_t style = style::Visible;
  std::uint32_t exStyle = 0;
  WindowId owner;
  bool visible = true;
  bool iconic = false;
  std::string exePath;
  Rect rect{10, 10, 410, 310};
};

// An in-memory desktop: windows with their state, and the list of requests made to them.
class FakeDesktop final : public IDesktop {
 public:
  // Adds a window; ids count up from 0x100 in the order windows are added (enumeration order).
  WindowId Add(FakeWindow window);
  void Close(WindowId window) { windows_.erase(window.value); }
  FakeWindow& operator[](WindowId window) { return windows_.at(window.value); }

  [[nodiscard]] bool IsWindow(WindowId window) const override { return windows_.count(window.value) > 0; }
  [[nodiscard]] bool IsVisible(WindowId window) const override;
  [[nodiscard]] bool IsIconic(WindowId window) const override;
  [[nodiscard]] std::uint32_t Style(WindowId window) const override;
  [[nodiscard]] std::uint32_t ExStyle(WindowId window) const override;
  [[nodiscard]] WindowId OwnerOf(WindowId window) const override;
  [[nodiscard]] WindowId DesktopWindow() const override { return kDesktop; }
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

  static constexpr WindowId kDesktop{0x10};
  // "hide 0x101", "show 0x101", "shownormal 0x100", "restore 0x101", "minimize 0x101", "close 0x101",
  // "foreground 0x101", "animate 0x101": requests in the order they were made.
  std::vector<std::string> calls;
  WindowId foreground;
  // TrayerBusy as it was at each question about a window's executable.
  mutable std::vector<bool> busyWhenAsked;
  // Asking these windows for their executable or visibility fails, as a window vanishing
  // mid-question may.
  std::vector<WindowId> failing;

 private:
  const FakeWindow* Find(WindowId window) const;
  std::map<std::uintptr_t, FakeWindow> windows_;
  std::uintptr_t next_ = 0x100;
};

[[nodiscard]] std::string Hex(WindowId window);

// Ways back that live in memory. Tests fire their events and read what they show.
class FakeWaysBack final : public IWaysBack {
 public:
  struct Icon {
    std::string exePath;
    std::u16string tooltip;
    TrayIconEvents events;
  };
  struct Entry {
    std::string exePath;
    std::u16string caption;
    std::function<void()> click;
  };

  [[nodiscard]] std::unique_ptr<ITrayIconPort> AddTrayIcon(const std::string& exePath, const std::u16string& tooltip,
                                                           TrayIconEvents events) override;
  [[nodiscard]] std::unique_ptr<IMenuEntryPort> AddMenuEntry(const std::string& exePath,
                                                             const std::u16string& caption,
                                                             std::function<void()> click) override;

  // Fire events as the platform does: the handler may destroy the icon or entry it came from.
  void Click(std::size_t icon, MouseButton button);
  void MouseMove(std::size_t icon);
  void ChooseEntry(std::size_t position);

  std::vector<std::shared_ptr<Icon>> icons;     // in the order they were added
  std::vector<std::shared_ptr<Entry>> entries;  // as they stand in the menu, top first
  bool refuseIcons = false;
  bool refuseEntries = false;
  std::vector<std::string>* calls = nullptr;    // when set, "icon ..." and "entry ..." are logged
};

}  // namespace wrenfold::fake
