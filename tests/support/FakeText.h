#pragma once

#include "platform/Text.h"

namespace wrenfold::fake {

// The ANSI text services of a system whose code page is Windows-1252.
class FakeTextServices final : public ITextServices {
 public:
  [[nodiscard]] std::string AnsiLowerCase(std::string_view text) const override;
  [[nodiscard]] std::u16string AnsiToWide(std::string_view text) const override;
  [[nodiscard]] std::string WideToAnsi(std::u16string_view text) const override;

  mutable int lowerCaseCalls = 0;
};

}  // namespace wrenfold::fake
