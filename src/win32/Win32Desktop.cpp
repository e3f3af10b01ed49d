#include "win32/Win32Desktop.h"

#include <climits>

#include "win32/ProcessQueries.h"

namespace wrenfold::win32 {
namespace {

// Class names we look for are plain ASCII.
std::wstring WidenAscii(std::string_view text) { return {text.begin(), text.end()}; }

RECT ToRect(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<WindowId>*>(param)->push_back(ToWindowId(window));
  return TRUE;
}

}  // namespace

bool Win32Desktop::IsWindow(WindowId window) const { return ::IsWindow(ToHwnd(window)) != FALSE; }

bool Win32Desktop::IsVisible(WindowId window) const { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

bool Win32Desktop::IsIconic(WindowId window) const { return ::IsIconic(ToHwnd(window)) != FALSE; }

std::uint32_t Win32Desktop::Style(WindowId window) const {
  return static_cast<std::uint32_t>(::GetWindowLongPtrW(ToHwnd(window), GWL_STYLE));
}

std::uint32_t Win32Desktop::ExStyle(WindowId window) const {
  return static_cast<std::uint32_t>(::GetWindowLongPtrW(ToHwnd(window), GWL_EXSTYLE));
}

WindowId Win32Desktop::OwnerOf(WindowId window) const {
  const HWND hwnd = ToHwnd(window);
  if (Style(window) & WS_CHILD) return ToWindowId(::GetAncestor(hwnd, GA_PARENT));
  return ToWindowId(::GetWindow(hwnd, GW_OWNER));
}

WindowId Win32Desktop::DesktopWindow() const { return ToWindowId(::GetDesktopWindow()); }

std::u16string Win32Desktop::Title(WindowId window) const {
  // GetWindowText would ask a window of our own process, and GetWindowTextLength asks any
  // window: either can hang on a window that is not answering. InternalGetWindowText only
  // copies what the system holds, so we grow the buffer until the title fits with room to spare.
  std::u16string title(256, u'\0');
  for (;;) {
    const int length = ::InternalGetWindowText(ToHwnd(window), reinterpret_cast<wchar_t*>(title.data()),
                                               static_cast<int>(title.size()));
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) + 1 < title.size() || title.size() >= INT_MAX / 2) {
      title.resize(static_cast<std::size_t>(length));
      return title;
    }
    title.resize(title.size() * 2);
  }
}

std::string Win32Desktop::ExePathOf(WindowId window) const { return win32::ExePathOfWindow(ToHwnd(window)); }

Rect Win32Desktop::WindowRect(WindowId window) const {
  RECT rect{};
  if (!::GetWindowRect(ToHwnd(window), &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

WindowId Win32Desktop::FindTopLevel(std::string_view className) const {
  return ToWindowId(::FindWindowW(WidenAscii(className).c_str(), nullptr));
}

WindowId Win32Desktop::FindChild(WindowId parent, std::string_view className) const {
  return ToWindowId(::FindWindowExW(ToHwnd(parent), nullptr, WidenAscii(className).c_str(), nullptr));
}

std::vector<WindowId> Win32Desktop::TopLevelWindows() const {
  std::vector<WindowId> windows;
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void Win32Desktop::Show(WindowId window, ShowCommand command) {
  int how = SW_SHOW;
  switch (command) {
    case ShowCommand::Hide: how = SW_HIDE; break;
    case ShowCommand::Show: how = SW_SHOW; break;
    case ShowCommand::ShowNormal: how = SW_SHOWNORMAL; break;
  }
  // Async: a window of another thread gets the request queued and we go on.
  ::ShowWindowAsync(ToHwnd(window), how);
}

void Win32Desktop::PostSysCommand(WindowId window, unsigned command) {
  ::PostMessageW(ToHwnd(window), WM_SYSCOMMAND, command, 0);
}

void Win32Desktop::SetForeground(WindowId window) { ::SetForegroundWindow(ToHwnd(window)); }

void Win32Desktop::AnimateCaption(WindowId window, const Rect& from, const Rect& to) {
  const RECT start = ToRect(from);
  const RECT end = ToRect(to);
  ::DrawAnimatedRects(ToHwnd(window), IDANI_CAPTION, &start, &end);
}

}  // namespace wrenfold::win32
