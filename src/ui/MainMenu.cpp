#include "ui/MainMenu.h"

#include <array>
#include <set>

namespace wrenfold {

std::span<const MenuItemDef> FixedMenuItems() {
  static constexpr std::array<MenuItemDef, 15> items = {{
      {MenuItemId::N5, u""},
      {MenuItemId::Configureautomaticupdates1, u"Quillmoor Utilities Automatic Updates"},
      {MenuItemId::UpdateQuillmoorUtilities1, u"Update Quillmoor Utilities"},
      {MenuItemId::N4, u""},
      {MenuItemId::Help1, u"Wrenfold Help"},
      {MenuItemId::About1, u"About Wrenfold"},
      {MenuItemId::Settings1, u"Wrenfold Settings"},
      {MenuItemId::N3, u""},
      {MenuItemId::Closeallwindows1, u"Close all windows"},
      {MenuItemId::N6, u""},
      {MenuItemId::Restoreall1, u"Restore all windows"},
      {MenuItemId::Hidealltotray1, u"Hide all windows to tray"},
      {MenuItemId::Minimizealltotray1, u"Minimize all windows to tray"},
      {MenuItemId::N1, u""},
      {MenuItemId::Exit1, u"Exit Wrenfold"},
  }};
  return items;
}

namespace {

bool CanBeKey(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c >= 0xC0;
}

char16_t KeyOf(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// Position of the character after a single '&', or npos.
std::size_t AccessKeyAt(std::u16string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return i + 1;
    ++i;  // "&&"
  }
  return std::u16string_view::npos;
}

}  // namespace

std::vector<std::u16string> WithAccessKeys(const std::vector<std::u16string>& captions) {
  std::set<char16_t> taken;
  for (const auto& caption : captions) {
    if (const auto at = AccessKeyAt(caption); at != std::u16string_view::npos) taken.insert(KeyOf(caption[at]));
  }
  std::vector<std::u16string> result;
  result.reserve(captions.size());
  for (const auto& caption : captions) {
    auto keyed = caption;
    if (!caption.empty() && AccessKeyAt(caption) == std::u16string_view::npos) {
      for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {  // a literal "&&": neither character can be the key
          ++i;
          continue;
        }
        if (CanBeKey(caption[i]) && taken.insert(KeyOf(caption[i])).second) {
          keyed.insert(i, 1, u'&');
          break;
        }
      }
    }
    result.push_back(std::move(keyed));
  }
  return result;
}

std::vector<bool> ShownItems(const std::vector<bool>& separators) {
  std::vector<bool> shown(separators.size(), false);
  int pendingSeparator = -1;
  bool itemBefore = false;
  for (std::size_t i = 0; i < separators.size(); ++i) {
    if (separators[i]) {
      if (itemBefore) pendingSeparator = static_cast<int>(i);  // the last of a run wins
      continue;
    }
    if (pendingSeparator >= 0) shown[static_cast<std::size_t>(pendingSeparator)] = true;
    pendingSeparator = -1;
    shown[i] = true;
    itemBefore = true;
  }
  return shown;
}

}  // namespace wrenfold
