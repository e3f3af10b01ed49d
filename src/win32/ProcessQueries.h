#pragma once

#include <windows.h>

#include <string>

namespace wrenfold::win32 {

// Full path (ANSI) of the executable of the process that created `window`; empty when `window`
// is not a window or its process cannot be queried. Asks that one process only.
[[nodiscard]] std::string ExePathOfWindow(HWND window);

}  // namespace wrenfold::win32
