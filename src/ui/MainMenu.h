#pragma once

#include <span>
#include <string_view>

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

struct MenuItemSpec {
  MenuItemId id;
  std::u16string_view caption;  // empty for a separator
};

[[nodiscard]] std::span<const MenuItemSpec> FixedMenuItems();

}  // namespace wrenfold
