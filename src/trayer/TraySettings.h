#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wrenfold {

// Where a window goes when it is put away.
enum class TrayingDestination : std::uint8_t {
  Tray = 0,  // its own notification-area icon
  Hide = 1,  // hidden, with an entry at the top of the main tray menu
};

// One settings record: the defaults, or one application's special settings.
class TTraySettings {
 public:
  std::string AppName;              // executable file name, no folder (ANSI); the lookup key
  std::string AppFullName;          // full path as the user picked it; may be empty (ANSI)
  std::u16string AppDescription;    // shown beside the name in the settings window
  std::int32_t ImageIndex = -1;     // icon in the settings window's image list; -1 = none
  bool UseWrenfold = true;
  TrayingDestination RClickMinDest = TrayingDestination::Tray;
  bool ShowInAltTab = true;
  bool ReplMinWithTray = false;
  bool HideByRC = true;
  bool ShowOnFocusSteal = true;
  bool SkipAnimation = false;

  [[nodiscard]] std::unique_ptr<TTraySettings> Clone() const;

  // Whether the user changed anything the settings window shows. AppFullName, ImageIndex and
  // SkipAnimation are not shown per application and take no part.
  [[nodiscard]] bool SameAs(const TTraySettings& other) const;
};

// Ordered list that owns its records. Records live on the heap, so a record borrowed from the
// list stays where it is while the list grows.
class TTraySettingsList {
 public:
  TTraySettingsList() = default;
  TTraySettingsList(TTraySettingsList&&) noexcept = default;
  TTraySettingsList& operator=(TTraySettingsList&&) noexcept = default;
  // Copies are explicit (Clone), so that no two owners ever share a list by accident.
  TTraySettingsList(const TTraySettingsList&) = delete;
  TTraySettingsList& operator=(const TTraySettingsList&) = delete;

  // Appends a record with the values at creation and the given name; the list keeps it.
  TTraySettings& Add(std::string_view appName);
  void Delete(std::size_t index);
  void Clear();
  [[nodiscard]] TTraySettingsList Clone() const;

  [[nodiscard]] std::size_t Count() const { return items_.size(); }
  [[nodiscard]] TTraySettings& operator[](std::size_t index) { return *items_.at(index); }
  [[nodiscard]] const TTraySettings& operator[](std::size_t index) const { return *items_.at(index); }

 private:
  std::vector<std::unique_ptr<TTraySettings>> items_;
};

}  // namespace wrenfold
