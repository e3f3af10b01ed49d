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

std::wstring Widen(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
  return out;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length =
      ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
  return out;
}

std::u16string Win32TextServices::AnsiToWide(std::string_view text) const {
  const auto wide = Widen(text);
  return {reinterpret_cast<const char16_t*>(wide.data()), wide.size()};
}

std::string Win32TextServices::WideToAnsi(std::u16string_view text) const {
  return Narrow({reinterpret_cast<const wchar_t*>(text.data()), text.size()});
}

}  // namespace wrenfold::win32
