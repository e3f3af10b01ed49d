#include "support/FakeDesktop.h"

#include "trayer/Trayer.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace wrenfold::fake {

std::string Hex(WindowId window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(window.value));
  return text;
}

WindowId FakeDesktop::Add(FakeWindow window) {
  const WindowId id{next_++};
  if (!window.visible) window.style &= ~style::Visible;
  windows_[id.value] = std::move(window);
  return id;
}

const FakeWindow* FakeDesktop::Find(WindowId window) const {
  const auto found = windows_.find(window.value);
  return found == windows_.end() ? nullptr : &found->second;
}

bool FakeDesktop::IsVisible(WindowId window) const {
  if (std::find(failing.begin(), failing.end(), window) != failing.end()) throw std::runtime_error("gone");
  const auto* w = Find(window);
  return w && w->visible;
}

bool FakeDesktop::IsIconic(WindowId window) const {
  const auto* w = Find(window);
  return w && w->iconic;
}

std::uint32_t FakeDesktop::Style(WindowId window) const {
  const auto* w = Find(window);
  return w ? ((w->style & ~style::Visible) | (w->visible ? style::Visible : 0)) : 0;
}

std::uint32_t FakeDesktop::ExStyle(WindowId window) const {
  const auto* w = Find(window);
  return w ? w->exStyle : 0;
}

WindowId FakeDesktop::OwnerOf(WindowId window) const {
  const auto* w = Find(window);
  return w ? w->owner : WindowId{};
}

std::u16string FakeDesktop::Title(WindowId window) const {
  const auto* w = Find(window);
  return w ? w->title : std::u16string();
}

std::string FakeDesktop::ExePathOf(WindowId window) const {
  busyWhenAsked.push_back(TrayerBusy);
  if (std::find(failing.begin(), failing.end(), window) != failing.end()) throw std::runtime_error("gone");
  const auto* w = Find(window);
  return w ? w->exePath : std::string();
}

Rect FakeDesktop::WindowRect(WindowId window) const {
  const auto* w = Find(window);
  return w ? w->rect : Rect{};
}

WindowId FakeDesktop::FindTopLevel(std::string_view className) const {
  for (const auto& [id, w] : windows_) {
    if (w.className == className && !(w.style & style::Child)) return WindowId{id};
  }
  return {};
}

WindowId FakeDesktop::FindChild(WindowId parent, std::string_view className) const {
  for (const auto& [id, w] : windows_) {
    if (w.className == className && (w.style & style::Child) && w.owner == parent) return WindowId{id};
  }
  return {};
}

std::vector<WindowId> FakeDesktop::TopLevelWindows() const {
  std::vector<WindowId> result;
  for (const auto& [id, w] : windows_) {
    if (!(w.style & style::Child)) result.push_back(WindowId{id});
  }
  return result;
}

void FakeDesktop::Show(WindowId window, ShowCommand command) {
  static constexpr const char* kNames[] = {"hide", "show", "shownormal"};
  calls.push_back(std::string(kNames[static_cast<int>(command)]) + " " + Hex(window));
  auto found = windows_.find(window.value);
  if (found == windows_.end()) return;
  found->second.visible = command != ShowCommand::Hide;
  if (command == ShowCommand::ShowNormal) found->second.iconic = false;
}

void FakeDesktop::PostSysCommand(WindowId window, unsigned command) {
  const char* name = command == syscommand::Restore    ? "restore"
                     : command == syscommand::Minimize ? "minimize"
                     : command == syscommand::Close    ? "close"
                                                       : "syscommand";
  calls.push_back(std::string(name) + " " + Hex(window));
}

void FakeDesktop::SetForeground(WindowId window) {
  calls.push_back("foreground " + Hex(window));
  foreground = window;
}

void FakeDesktop::AnimateCaption(WindowId window, const Rect& from, const Rect& to) {
  calls.push_back("animate " + Hex(window) + " from " + std::to_string(from.left) + "," + std::to_string(from.top) +
                  " to " + std::to_string(to.left) + "," + std::to_string(to.top));
}

namespace {

class IconPort final : public ITrayIconPort {
 public:
  IconPort(std::vector<std::shared_ptr<FakeWaysBack::Icon>>& icons, std::shared_ptr<FakeWaysBack::Icon> icon)
      : icons_(icons), icon_(std::move(icon)) {}
  ~IconPort() override { icons_.erase(std::find(icons_.begin(), icons_.end(), icon_)); }
  void SetTooltip(const std::u16string& text) override { icon_->tooltip = text; }

 private:
  std::vector<std::shared_ptr<FakeWaysBack::Icon>>& icons_;
  std::shared_ptr<FakeWaysBack::Icon> icon_;
};

class EntryPort final : public IMenuEntryPort {
 public:
  EntryPort(std::vector<std::shared_ptr<FakeWaysBack::Entry>>& entries, std::shared_ptr<FakeWaysBack::Entry> entry)
      : entries_(entries), entry_(std::move(entry)) {}
  ~EntryPort() override { entries_.erase(std::find(entries_.begin(), entries_.end(), entry_)); }
  void SetCaption(const std::u16string& text) override { entry_->caption = text; }

 private:
  std::vector<std::shared_ptr<FakeWaysBack::Entry>>& entries_;
  std::shared_ptr<FakeWaysBack::Entry> entry_;
};

}  // namespace

std::unique_ptr<ITrayIconPort> FakeWaysBack::AddTrayIcon(const std::string& exePath, const std::u16string& tooltip,
                                                         TrayIconEvents events) {
  if (calls) calls->push_back("icon " + exePath);
  if (refuseIcons) return nullptr;
  auto icon = std::make_shared<Icon>(Icon{exePath, tooltip, std::move(events)});
  icons.push_back(icon);
  return std::make_unique<IconPort>(icons, icon);
}

std::unique_ptr<IMenuEntryPort> FakeWaysBack::AddMenuEntry(const std::string& exePath, const std::u16string& caption,
                                                           std::function<void()> click) {
  if (calls) calls->push_back("entry " + exePath);
  if (refuseEntries) return nullptr;
  auto entry = std::make_shared<Entry>(Entry{exePath, caption, std::move(click)});
  entries.insert(entries.begin(), entry);
  return std::make_unique<EntryPort>(entries, entry);
}

// Like the real dispatch, a copy of the handler is called, so that the handler may destroy its
// source; the shared record keeps the copy's source alive meanwhile too.
void FakeWaysBack::Click(std::size_t icon, MouseButton button) {
  auto handler = icons.at(icon)->events.click;
  handler(button);
}

void FakeWaysBack::MouseMove(std::size_t icon) {
  auto handler = icons.at(icon)->events.mouseMove;
  handler();
}

void FakeWaysBack::ChooseEntry(std::size_t position) {
  auto handler = entries.at(position)->click;
  handler();
}

}  // namespace wrenfold::fake
