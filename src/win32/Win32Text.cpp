#include "win32/Win32Text.h"

#include <windows.h>

#include <algorithm>

#include <climits>

namespace wrenfold::win32 {

std::string Win32TextServices::AnsiLowerCase(std::string_view text) const {
  std::string out(text);
  // Larger texts are lowered in pieces; a piece boundary never splits a character of a
  // single-byte code page.
  for (std::size_t done = 0; done < out.size();) {
    const auto piece = static_cast<DWORD>(std::min<std::size_t>(out.size() - done, INT_MAX / 2));
    ::CharLowerBuffA(out.data() + done, piece);
    done += piece;
  }
  return out;
}

std::u16string Win32TextServices::AnsiToWide(std::string_view text) const {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(length), u'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<wchar_t*>(out.data()),
                        length);
  return out;
}

std::string Win32TextServices::WideToAnsi(std::u16string_view text) const {
  if (text.empty() || text.size() > INT_MAX) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length =
      ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
  return out;
}

}  // namespace wrenfold::win32
