#include "trayer/SettingsIndex.h"

#include <algorithm>

namespace wrenfold {

std::string_view FileNamePart(std::string_view path) {
  const auto cut = path.find_last_of("\\:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

void SettingsIndex::Rebuild(const TTraySettingsList& list) {
  positions_.clear();
  for (std::size_t i = 0; i < list.Count(); ++i) Appended(i, list[i].AppName);
}

void SettingsIndex::Appended(std::size_t position, std::string_view appName) {
  positions_[text_->AnsiLowerCase(appName)].push_back(position);
}

void SettingsIndex::Renamed(std::size_t position, std::string_view oldName, std::string_view newName) {
  auto oldKey = text_->AnsiLowerCase(oldName);
  auto newKey = text_->AnsiLowerCase(newName);
  if (oldKey == newKey) return;
  if (auto found = positions_.find(oldKey); found != positions_.end()) {
    auto& list = found->second;
    list.erase(std::remove(list.begin(), list.end(), position), list.end());
    if (list.empty()) positions_.erase(found);
  }
  auto& list = positions_[std::move(newKey)];
  list.insert(std::lower_bound(list.begin(), list.end(), position), position);
}

std::optional<std::size_t> SettingsIndex::Find(std::string_view path) const {
  const auto found = positions_.find(text_->AnsiLowerCase(FileNamePart(path)));
  if (found == positions_.end()) return std::nullopt;
  return found->second.front();
}

}  // namespace wrenfold
