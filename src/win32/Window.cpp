#include "win32/Window.h"

#include <exception>

#include "win32/Win32Text.h"
#include "win32/res/resource_ids.h"

namespace wrenfold::win32 {

Window::~Window() { Destroy(); }

bool Window::Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int width, int height,
                    HWND owner) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{sizeof existing};
  if (!::GetClassInfoExW(instance, className, &existing)) {
    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc)) return false;
  }
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, owner, nullptr, instance, this) !=
         nullptr;
}

void Window::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->OnMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
  } catch (...) {
    ShowErrorBox("Unexpected error");
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnDestroyed();
  }
  return result;
}

void ShowErrorBox(const std::string& text) {
  std::string shown = text;
  if (shown.empty() || shown.back() != '.') shown += '.';
  ::MessageBoxW(nullptr, Widen(shown).c_str(), L"Wrenfold", MB_OK | MB_ICONERROR);
}

}  // namespace wrenfold::win32
