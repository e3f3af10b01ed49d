#include "support/FakeText.h"

#include <array>
#include <cstdint>

namespace wrenfold::fake {
namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ToWide(std::uint8_t byte) { return (byte >= 0x80 && byte <= 0x9F) ? kHigh[byte - 0x80] : byte; }

std::uint8_t Lower(std::uint8_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<std::uint8_t>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return c;
  }
}

}  // namespace

std::string FakeTextServices::AnsiLowerCase(std::string_view text) const {
  ++lowerCaseCalls;
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Lower(static_cast<std::uint8_t>(c)));
  return out;
}

std::u16string FakeTextServices::AnsiToWide(std::string_view text) const {
  std::u16string out;
  out.reserve(text.size());
  for (const char c : text) out += ToWide(static_cast<std::uint8_t>(c));
  return out;
}

std::string FakeTextServices::WideToAnsi(std::u16string_view text) const {
  std::string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    char mapped = '?';
    for (unsigned byte = 0; byte < 256; ++byte) {
      if (ToWide(static_cast<std::uint8_t>(byte)) == c) {
        mapped = static_cast<char>(byte);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

}  // namespace wrenfold::fake
