#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wrenfold {

// Command ids of the fixed items of the main tray menu, top to bottom. The entries of hidden
// windows go above them.
enum class MenuItemId : unsigned {
  N5 = 1000,
  Configureautomaticupdates1,
  UpdateQuillmoorUtilities1,
  N4,
  Help1,
  About1,
  Settings1,
  N3,
  Closeallwindows1,
  N6,
  Restoreall1,
  Hidealltotray1,
  Minimizealltotray1,
  N1,
  Exit1,
};

struct MenuItemDef {
  MenuItemId id;
  std::u16string_view caption;  // empty for a separator
};

[[nodiscard]] std::span<const MenuItemDef> FixedMenuItems();

// Every caption without an access key gets one: its first letter or digit that no item above it
// (or any item with a key of its own) has taken; "&&" is a literal ampersand, not a key.
[[nodiscard]] std::vector<std::u16string> WithAccessKeys(const std::vector<std::u16string>& captions);

// Which items show, given which are separators: a separator shows only between two shown items
// that are not separators, and of several in a row only the last.
[[nodiscard]] std::vector<bool> ShownItems(const std::vector<bool>& separators);

}  // namespace wrenfold
