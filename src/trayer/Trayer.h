#pragma once

#include <string_view>

#include "platform/Text.h"
#include "trayer/SettingsIndex.h"
#include "trayer/TraySettings.h"

namespace wrenfold {

// Raised by every trayer operation while it changes the list of held windows, so that the watch
// never runs in the middle of one. Program-wide, on the user-interface thread only.
inline bool TrayerBusy = false;

// The one trayer. It owns the defaults record for its whole life and the per-application
// list, which is only ever replaced as a whole, so the lookup index always matches it.
class TTrayer {
 public:
  explicit TTrayer(const ITextServices& text);

  [[nodiscard]] TTraySettings& DefaultSettings() { return defaults_; }
  [[nodiscard]] const TTraySettings& DefaultSettings() const { return defaults_; }

  // The special settings of the executable at `exePath` (only its file name counts, without
  // regard to letter case; the first match wins), or null. Borrowed until the list is replaced.
  [[nodiscard]] const TTraySettings* FindSettings(std::string_view exePath) const;

  [[nodiscard]] const TTraySettingsList& SpecialSettings() const { return special_; }
  // Takes the list over; the list held before is destroyed.
  void SetSpecialSettings(TTraySettingsList list);

 private:
  TTraySettings defaults_;
  TTraySettingsList special_;
  SettingsIndex index_;
};

}  // namespace wrenfold
