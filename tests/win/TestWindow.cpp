// wftestwindow.exe X Y: a plain top-level window of another process for the hooks tests, at X,Y.
// It pumps messages until it is posted WM_APP; then it stops pumping (a hung window) and ends on
// its own after a minute, in case nobody ends it.
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  char* rest = commandLine;
  const long x = std::strtol(rest, &rest, 10);
  const long y = std::strtol(rest, &rest, 10);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"WrenfoldTestWindow";
  ::RegisterClassW(&windowClass);
  const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Wrenfold test window", WS_OVERLAPPEDWINDOW,
                                        static_cast<int>(x), static_cast<int>(y), 360, 240, nullptr, nullptr,
                                        instance, nullptr);
  if (window == nullptr) return 1;
  ::ShowWindow(window, SW_SHOWNORMAL);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_APP) {
      ::Sleep(60000);
      return 2;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
