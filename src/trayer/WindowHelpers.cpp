#include "trayer/WindowHelpers.h"

#include "trayer/SettingsIndex.h"

namespace wrenfold {

std::u16string ReadWindowTitle(const IDesktop& desktop, WindowId window) {
  return window ? desktop.Title(window) : std::u16string();
}

std::string ExePathOfWindow(const IDesktop& desktop, WindowId window) {
  return window && desktop.IsWindow(window) ? desktop.ExePathOf(window) : std::string();
}

bool IsTopAppWindow(const IDesktop& desktop, WindowId window) {
  if (!window || !desktop.IsVisible(window)) return false;
  const WindowId owner = desktop.OwnerOf(window);
  const std::uint32_t exStyle = desktop.ExStyle(window);
  const bool unowned = !owner || owner == desktop.DesktopWindow();
  return unowned && (!(exStyle & style::ToolWindow) || (exStyle & style::AppWindow));
}

WindowId TopLevelOwner(const IDesktop& desktop, WindowId window) {
  // A chain of owners is finite on any real desktop; the bound keeps a broken one from spinning.
  for (int steps = 0; window && steps < 10000; ++steps) {
    if (IsTopAppWindow(desktop, window)) return window;
    window = desktop.OwnerOf(window);
  }
  return {};
}

bool IsShellWindow(const IDesktop& desktop, const ITextServices& text, WindowId window) {
  if (window && window == desktop.DesktopWindow()) return true;
  const auto exeName = text.AnsiLowerCase(FileNamePart(ExePathOfWindow(desktop, window)));
  const auto title = ReadWindowTitle(desktop, window);
  if (exeName == "explorer.exe") return title == u"Program Manager" || title == u"Start";
  return title == u"Start";
}

bool IsOwnExecutable(const ITextServices& text, std::string_view exePath, std::string_view ownExePath) {
  return !exePath.empty() && text.AnsiLowerCase(exePath) == text.AnsiLowerCase(ownExePath);
}

bool IsOwnWindow(const IDesktop& desktop, const ITextServices& text, WindowId window, std::string_view ownExePath) {
  return IsOwnExecutable(text, ExePathOfWindow(desktop, window), ownExePath);
}

bool HasValidFileChars(std::string_view text) {
  return !text.empty() && text.find_first_of("<>\"[]|") == std::string_view::npos;
}

bool IsBareFileName(const ITextServices& text, std::u16string_view name) {
  const auto ansi = text.WideToAnsi(name);
  if (text.AnsiToWide(FileNamePart(ansi)) != name) return false;
  return HasValidFileChars(ansi);
}

}  // namespace wrenfold
