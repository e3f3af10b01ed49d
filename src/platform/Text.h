#pragma once

#include <string>
#include <string_view>

namespace wrenfold {

// Text services of the system's ANSI code page. File names, paths, titles and settings are
// 8-bit text in that code page; descriptions and captions are UTF-16.
class ITextServices {
 public:
  virtual ~ITextServices() = default;

  // The system's locale-aware ANSI lower-casing.
  [[nodiscard]] virtual std::string AnsiLowerCase(std::string_view text) const = 0;
  [[nodiscard]] virtual std::u16string AnsiToWide(std::string_view text) const = 0;
  // Characters the code page lacks become its default character.
  [[nodiscard]] virtual std::string WideToAnsi(std::u16string_view text) const = 0;
};

// UTF-8 <-> UTF-16. Malformed input (bad bytes, lone surrogates) becomes U+FFFD, never an error.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);

// At most `limit` UTF-16 units of `text`, never ending in half a surrogate pair.
[[nodiscard]] std::u16string ClipUtf16(std::u16string_view text, std::size_t limit);

// ASCII-only case folding, for the names the program itself looks up (sections, keys).
[[nodiscard]] bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
[[nodiscard]] std::string AsciiLowerCase(std::string_view text);

}  // namespace wrenfold
