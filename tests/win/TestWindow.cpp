// wftestwindow.exe X Y [--count N] [--reshow MS]: plain top-level windows of another process, at
// X,Y, for the Windows and end-to-end tests.
//   --count N    N windows stacked at the same place, titled "Wrenfold test window 1".."N"
//                (one window titled "Wrenfold test window" without it)
//   --reshow MS  a window that is hidden shows itself again MS milliseconds later, as programs
//                bringing up a pop-up do
// It pumps messages until it is posted WM_APP; then it stops pumping (a hung window) and ends on
// its own after a minute, in case nobody ends it.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT_PTR kReshowTimer = 1;
long reshowAfter = 0;
int windowsOpen = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (!wParam && reshowAfter > 0) ::SetTimer(window, kReshowTimer, static_cast<UINT>(reshowAfter), nullptr);
      break;
    case WM_TIMER:
      if (wParam == kReshowTimer) {
        ::KillTimer(window, kReshowTimer);
        ::ShowWindow(window, SW_SHOWNA);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (--windowsOpen == 0) ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  char* rest = commandLine;
  const long x = std::strtol(rest, &rest, 10);
  const long y = std::strtol(rest, &rest, 10);
  long count = 0;
  for (char* option = std::strtok(rest, " "); option; option = std::strtok(nullptr, " ")) {
    char* value = std::strtok(nullptr, " ");
    if (!value) break;
    if (std::strcmp(option, "--count") == 0) count = std::strtol(value, nullptr, 10);
    if (std::strcmp(option, "--reshow") == 0) reshowAfter = std::strtol(value, nullptr, 10);
  }

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"WrenfoldTestWindow";
  ::RegisterClassW(&windowClass);
  for (long i = 1; i <= (count > 0 ? count : 1); ++i) {
    const std::wstring title =
        count > 0 ? L"Wrenfold test window " + std::to_wstring(i) : std::wstring(L"Wrenfold test window");
    const HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                                          static_cast<int>(x), static_cast<int>(y), 360, 240, nullptr, nullptr,
                                          instance, nullptr);
    if (window == nullptr) return 1;
    ++windowsOpen;
    ::ShowWindow(window, SW_SHOWNORMAL);
  }

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
