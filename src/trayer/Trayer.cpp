#include "trayer/Trayer.h"

namespace wrenfold {

TTrayer::TTrayer(const ITextServices& text) : index_(text) {}

const TTraySettings* TTrayer::FindSettings(std::string_view exePath) const {
  const auto position = index_.Find(exePath);
  return position ? &special_[*position] : nullptr;
}

void TTrayer::SetSpecialSettings(TTraySettingsList list) {
  special_ = std::move(list);
  index_.Rebuild(special_);
}

}  // namespace wrenfold
