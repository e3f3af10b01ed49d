#pragma once

#include "platform/Text.h"

namespace wrenfold::win32 {

// The system's ANSI code page (CP_ACP) and its lower-casing.
class Win32TextServices final : public ITextServices {
 public:
  [[nodiscard]] std::string AnsiLowerCase(std::string_view text) const override;
  [[nodiscard]] std::u16string AnsiToWide(std::string_view text) const override;
  [[nodiscard]] std::string WideToAnsi(std::u16string_view text) const override;
};

// ANSI (the system code page) to UTF-16 and back, for the API's wide functions.
[[nodiscard]] std::wstring Widen(std::string_view text);
[[nodiscard]] std::string Narrow(std::wstring_view text);

// UTF-16 as the API spells it.
[[nodiscard]] inline const wchar_t* AsWide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace wrenfold::win32
