#include "ui/MainMenu.h"

#include <array>

namespace wrenfold {

std::span<const MenuItemSpec> FixedMenuItems() {
  static constexpr std::array<MenuItemSpec, 15> items = {{
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

}  // namespace wrenfold
