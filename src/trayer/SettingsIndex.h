#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Text.h"
#include "trayer/TraySettings.h"

namespace wrenfold {

// The file-name part of a path: everything after the last backslash or colon.
[[nodiscard]] std::string_view FileNamePart(std::string_view path);

// Finds the first record of a list whose AppName equals a file name without regard to letter
// case (the system's ANSI lower-casing). Each name is lower-cased once, when it enters the
// index, so a lookup costs one lower-casing and one hash probe however long the list is.
// The owner reports every change of the list it indexes.
class SettingsIndex {
 public:
  explicit SettingsIndex(const ITextServices& text) : text_(&text) {}

  void Rebuild(const TTraySettingsList& list);
  // A record named `appName` now stands at `position`, after every record indexed so far.
  void Appended(std::size_t position, std::string_view appName);
  void Renamed(std::size_t position, std::string_view oldName, std::string_view newName);

  // Position of the first record matching the file-name part of `path`.
  [[nodiscard]] std::optional<std::size_t> Find(std::string_view path) const;

 private:
  const ITextServices* text_;
  // Lower-cased name -> positions of the records with that name, ascending.
  std::unordered_map<std::string, std::vector<std::size_t>> positions_;
};

}  // namespace wrenfold
