#include "win32/WaysBack.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "win32/TrayIcon.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32Text.h"

namespace wrenfold::win32 {
namespace {


// The icon the shell shows for the file.
UniqueIcon AssociatedIcon(const std::string& exePath) {
  // The call may write back the path it took the icon from: give it room for a full path.
  std::vector<char> path(std::max<std::size_t>(exePath.size(), MAX_PATH) + 1, '\0');
  std::copy(exePath.begin(), exePath.end(), path.begin());
  WORD index = 0;
  return UniqueIcon(::ExtractAssociatedIconA(::GetModuleHandleW(nullptr), path.data(), &index));
}

// The executable's icon at small-icon size on the inactive caption colour, for a menu item.
UniqueBitmap MenuBitmap(const std::string& exePath) {
  const int width = ::GetSystemMetrics(SM_CXSMICON);
  const int height = ::GetSystemMetrics(SM_CYSMICON);
  const HDC screen = ::GetDC(nullptr);
  UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
  const HDC dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  if (bitmap && dc != nullptr) {
    const HGDIOBJ previous = ::SelectObject(dc, bitmap.Get());
    const RECT all{0, 0, width, height};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_INACTIVECAPTION));
    const UniqueIcon icon = AssociatedIcon(exePath);
    if (icon) ::DrawIconEx(dc, 0, 0, icon.Get(), width, height, 0, nullptr, DI_NORMAL);
    ::SelectObject(dc, previous);
  }
  if (dc != nullptr) ::DeleteDC(dc);
  return bitmap;
}

// Window titles are shown as they are: an '&' marks no access key.
std::wstring MenuCaption(std::u16string_view text) {
  std::wstring caption;
  caption.reserve(text.size());
  for (const char16_t c : text) {
    if (c == u'&') caption += L'&';
    caption += static_cast<wchar_t>(c);
  }
  return caption;
}

}  // namespace

class Win32WaysBack::Icon final : public ITrayIconPort {
 public:
  Icon(const std::shared_ptr<Registry>& registry, UINT id, UINT callbackMessage, HWND owner, UniqueIcon icon,
       TrayIconEvents events)
      : registry_(registry), owner_(owner), icon_(std::move(icon)), tray_(id, callbackMessage),
        events_(std::move(events)) {}
  Icon(const Icon&) = delete;
  Icon& operator=(const Icon&) = delete;
  ~Icon() override {
    if (const auto registry = registry_.lock()) registry->icons.erase(tray_.Id());
  }

  [[nodiscard]] bool Add(const std::u16string& tooltip) { return tray_.Show(owner_, icon_.Get(), AsWide(tooltip)); }
  void SetTooltip(const std::u16string& text) override { tray_.Show(owner_, icon_.Get(), AsWide(text)); }
  void Restore() { tray_.Restore(); }
  [[nodiscard]] const TrayIconEvents& Events() const { return events_; }

 private:
  std::weak_ptr<Registry> registry_;
  HWND owner_;
  UniqueIcon icon_;
  TrayIcon tray_;  // after icon_: the shell lets go of the icon before it is destroyed
  TrayIconEvents events_;
};

class Win32WaysBack::Entry final : public IMenuEntryPort {
 public:
  Entry(const std::shared_ptr<Registry>& registry, HMENU menu, UINT id, UniqueBitmap bitmap,
        std::function<void()> click)
      : registry_(registry), menu_(menu), id_(id), bitmap_(std::move(bitmap)), click_(std::move(click)) {}
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;
  ~Entry() override {
    if (const auto registry = registry_.lock()) registry->entries.erase(id_);
    // Entries come and go at the top, so the item is looked for by its id each time.
    for (int position = ::GetMenuItemCount(menu_) - 1; position >= 0; --position) {
      if (::GetMenuItemID(menu_, position) == id_) {
        ::DeleteMenu(menu_, static_cast<UINT>(position), MF_BYPOSITION);
        break;
      }
    }
  }

  [[nodiscard]] bool Insert(const std::u16string& caption) {
    auto text = MenuCaption(caption);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_BITMAP;
    item.fType = MFT_STRING;
    item.wID = id_;
    item.dwTypeData = text.data();
    item.hbmpItem = bitmap_.Get();
    return ::InsertMenuItemW(menu_, 0, TRUE, &item) != FALSE;
  }
  void SetCaption(const std::u16string& text) override {
    auto caption = MenuCaption(text);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = caption.data();
    ::SetMenuItemInfoW(menu_, id_, FALSE, &item);
  }
  [[nodiscard]] const std::function<void()>& Click() const { return click_; }

 private:
  std::weak_ptr<Registry> registry_;
  HMENU menu_;
  UINT id_;
  UniqueBitmap bitmap_;  // the menu only borrows it: freed after the item is gone
  std::function<void()> click_;
};

Win32WaysBack::Win32WaysBack(HWND owner, UINT callbackMessage, HMENU menu)
    : owner_(owner), callbackMessage_(callbackMessage), menu_(menu), registry_(std::make_shared<Registry>()) {}

Win32WaysBack::~Win32WaysBack() = default;

std::unique_ptr<ITrayIconPort> Win32WaysBack::AddTrayIcon(const std::string& exePath, const std::u16string& tooltip,
                                                          TrayIconEvents events) {
  const UINT id = nextIconId_++;
  auto icon =
      std::make_unique<Icon>(registry_, id, callbackMessage_, owner_, AssociatedIcon(exePath), std::move(events));
  if (!icon->Add(tooltip)) return nullptr;
  registry_->icons[id] = icon.get();
  return icon;
}

std::unique_ptr<IMenuEntryPort> Win32WaysBack::AddMenuEntry(const std::string& exePath, const std::u16string& caption,
                                                            std::function<void()> click) {
  const UINT id = nextCommandId_++;
  auto entry = std::make_unique<Entry>(registry_, menu_, id, MenuBitmap(exePath), std::move(click));
  if (!entry->Insert(caption)) return nullptr;
  registry_->entries[id] = entry.get();
  return entry;
}

bool Win32WaysBack::HandleTrayCallback(WPARAM iconId, LPARAM mouseMessage) {
  const auto found = registry_->icons.find(static_cast<UINT>(iconId));
  if (found == registry_->icons.end()) return false;
  // The handler may destroy the icon, and its events with it: call copies.
  const TrayIconEvents& events = found->second->Events();
  const auto click = [&](MouseButton button) {
    if (auto handler = events.click) handler(button);
  };
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONUP: click(MouseButton::Left); break;
    case WM_RBUTTONUP: click(MouseButton::Right); break;
    case WM_MBUTTONUP: click(MouseButton::Middle); break;
    case WM_MOUSEMOVE:
      if (auto handler = events.mouseMove) handler();
      break;
    default: break;
  }
  return true;
}

bool Win32WaysBack::HandleMenuCommand(UINT id) {
  const auto found = registry_->entries.find(id);
  if (found == registry_->entries.end()) return false;
  if (auto handler = found->second->Click()) handler();  // a copy: the handler may destroy the entry
  return true;
}

void Win32WaysBack::RestoreIcons() {
  for (const auto& [id, icon] : registry_->icons) icon->Restore();
}

}  // namespace wrenfold::win32
