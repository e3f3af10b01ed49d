#include "win32/ProcessQueries.h"

#include "win32/UniqueHandle.h"

namespace wrenfold::win32 {

std::string ExePathOfWindow(HWND window) {
  DWORD processId = 0;
  if (window == nullptr || ::GetWindowThreadProcessId(window, &processId) == 0 || processId == 0) return {};
  // The limited right is granted for most processes, elevated ones included.
  UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  std::string path(MAX_PATH, '\0');
  for (;;) {
    auto length = static_cast<DWORD>(path.size());
    if (::QueryFullProcessImageNameA(process.Get(), 0, path.data(), &length)) {
      path.resize(length);
      return path;
    }
    // Long paths go up to 32767 characters.
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace wrenfold::win32
