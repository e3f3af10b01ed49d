#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

namespace wrenfold::wintest {

// The folder of the test program, where the other test binaries lie too.
[[nodiscard]] std::string BinFolder();

// Runs this thread's messages until `done` or the time is up; whether `done` came true.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
  }
}

// A window of another process (wftestwindow.exe) at x,y, ended with the object.
class ForeignWindow {
 public:
  explicit ForeignWindow(int x = 600, int y = 400);
  ~ForeignWindow();
  ForeignWindow(const ForeignWindow&) = delete;
  ForeignWindow& operator=(const ForeignWindow&) = delete;

  // Null when the helper did not show its window.
  [[nodiscard]] HWND Window() const { return window_; }
  // The helper stops pumping; true once the window no longer answers.
  [[nodiscard]] bool Hang() const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// A fresh folder of its own under the system's temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Full path of a file in the folder, with trailing name.
  [[nodiscard]] std::string Path(const std::string& name) const { return folder_ + name; }

 private:
  std::string folder_;  // with trailing backslash
};

// Writes bytes exactly as given, through the C runtime, bypassing the code under test.
void WriteRawFile(const std::string& path, const std::string& bytes);
[[nodiscard]] std::string ReadRawFile(const std::string& path);

}  // namespace wrenfold::wintest
