#include "WinTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace wrenfold::wintest {
namespace {

bool UnderWine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Under Wine without a virtual desktop, a top-level window's caption is left to the X window
// manager, and the window's region on the Windows side leaves the caption out: WindowFromPoint
// there finds nothing. Our helper asks Wine to draw its own caption, as Windows does.
constexpr char kHelperWineKey[] = "Software\\Wine\\AppDefaults\\wftestwindow.exe";
void LetWineDrawTheHelpersCaption(bool on) {
  if (!UnderWine()) return;
  if (!on) {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kHelperWineKey);
    return;
  }
  HKEY key = nullptr;
  const std::string path = std::string(kHelperWineKey) + "\\X11 Driver";
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  ::RegSetValueExA(key, "Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  ::RegCloseKey(key);
}

BOOL CALLBACK FindVisibleOfProcess(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(param);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != found->first || !::IsWindowVisible(window)) return TRUE;
  found->second = window;
  return FALSE;
}

}  // namespace

std::string BinFolder() {
  char path[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string file(path);
  return file.substr(0, file.rfind('\\') + 1);
}

ForeignWindow::ForeignWindow(int x, int y) {
  LetWineDrawTheHelpersCaption(true);
  std::string commandLine(1, '"');
  commandLine += BinFolder() + "wftestwindow.exe\" " + std::to_string(x) + " " + std::to_string(y);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
    process_ = {};
    LetWineDrawTheHelpersCaption(false);
    return;
  }
  std::pair<DWORD, HWND> found{process_.dwProcessId, nullptr};
  PumpUntil(
      [&] {
        ::EnumWindows(FindVisibleOfProcess, reinterpret_cast<LPARAM>(&found));
        return found.second != nullptr;
      },
      15000);
  window_ = found.second;
  LetWineDrawTheHelpersCaption(false);  // read once, at the helper's start
}

ForeignWindow::~ForeignWindow() {
  if (process_.hProcess == nullptr) return;
  ::TerminateProcess(process_.hProcess, 0);
  ::WaitForSingleObject(process_.hProcess, 5000);
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

bool ForeignWindow::Hang() const {
  ::PostMessageW(window_, WM_APP, 0, 0);
  DWORD_PTR ignored = 0;
  return PumpUntil([&] { return ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &ignored) == 0; },
                   3000);
}

TempFolder::TempFolder() {
  static int counter = 0;
  char temp[MAX_PATH + 1] = {};
  ::GetTempPathA(MAX_PATH, temp);
  folder_ = std::string(temp) + "wrenfold-tests-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
  ::CreateDirectoryA(folder_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAA found{};
  const HANDLE search = ::FindFirstFileA((folder_ + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string file = folder_ + found.cFileName;
      ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileA(file.c_str());
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(folder_.c_str());
}

void WriteRawFile(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot create " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string ReadRawFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "<missing>";
  std::string bytes;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

}  // namespace wrenfold::wintest
