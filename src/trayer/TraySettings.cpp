#include "trayer/TraySettings.h"

namespace wrenfold {

std::unique_ptr<TTraySettings> TTraySettings::Clone() const { return std::make_unique<TTraySettings>(*this); }

bool TTraySettings::SameAs(const TTraySettings& other) const {
  return AppName == other.AppName && AppDescription == other.AppDescription && UseWrenfold == other.UseWrenfold &&
         RClickMinDest == other.RClickMinDest && ShowInAltTab == other.ShowInAltTab &&
         ReplMinWithTray == other.ReplMinWithTray && HideByRC == other.HideByRC &&
         ShowOnFocusSteal == other.ShowOnFocusSteal;
}

TTraySettings& TTraySettingsList::Add(std::string_view appName) {
  auto record = std::make_unique<TTraySettings>();
  record->AppName = appName;
  items_.push_back(std::move(record));
  return *items_.back();
}

void TTraySettingsList::Delete(std::size_t index) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index)); }

void TTraySettingsList::Clear() { items_.clear(); }

TTraySettingsList TTraySettingsList::Clone() const {
  TTraySettingsList copy;
  copy.items_.reserve(items_.size());
  for (const auto& item : items_) copy.items_.push_back(item->Clone());
  return copy;
}

}  // namespace wrenfold
