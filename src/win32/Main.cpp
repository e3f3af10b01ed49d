// wrenfold.exe: single instance, the program's windows, start-up, the message loop, shut-down.
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "platform/Trace.h"
#include "ui/Options.h"
#include "win32/MainWindows.h"
#include "win32/MessageLoop.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32System.h"
#include "win32/Win32Text.h"

using namespace wrenfold;
using namespace wrenfold::win32;

namespace {

// WRENFOLD_TRACE=path appends a line per notable event, for the end-to-end tests.
void StartTrace() {
  char path[MAX_PATH] = {};
  if (!::GetEnvironmentVariableA("WRENFOLD_TRACE", path, MAX_PATH)) return;
  std::FILE* file = std::fopen(path, "ab");
  if (!file) return;
  const auto pid = ::GetCurrentProcessId();
  SetTraceSink([file, pid](std::string_view line) {
    std::fprintf(file, "%lu %llu %.*s\n", static_cast<unsigned long>(pid),
                 static_cast<unsigned long long>(::GetTickCount64()), static_cast<int>(line.size()), line.data());
    std::fflush(file);
  });
}

// Another instance runs: bring its application window forward and leave quietly.
void WakeRunningInstance() {
  if (HWND running = ::FindWindowW(L"TApplication", L"Wrenfold")) ::SetForegroundWindow(running);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  StartTrace();
  Trace("process start");
  ::SetLastError(0);
  HANDLE mutex = ::CreateMutexW(nullptr, TRUE, L"Wrenfold");
  if (!mutex || ::GetLastError() != 0) {
    WakeRunningInstance();
    if (mutex) ::CloseHandle(mutex);
    Trace("another instance runs; process end");
    return 0;
  }
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  Win32System system;
  Win32FileSystem files;
  Win32TextServices text;
  Win32HooksLibrary hooks;
  Win32UserInterface ui;
  Win32Desktop desktop;

  AppWindow app;
  app.Create();
  OptionsWindow options(app);
  ConfirmDialog dlgLarge(ConfirmDialog::Size::Large);
  ConfirmDialog dlg(ConfirmDialog::Size::Small);
  PlainForm special, about;
  options.Create();
  dlgLarge.Create(L"TfDlgDontShowAgainLarge", app.Handle());
  special.Create(L"TSpecialSettingsForm", app.Handle());
  dlg.Create(L"TfDlgDontShowAgain", app.Handle());
  about.Create(L"TfAbout", app.Handle());
  options.AttachDialogs(&dlg, &dlgLarge);

  int exitCode = 0;
  {
    TfrmOptions logic({system, files, text, hooks, ui, desktop, options.WaysBack()}, options);
    options.Attach(&logic);
    app.Attach(&logic);
    SetMessageFilter([&logic](const MSG& message) {
      // Outside any window procedure: an error here is shown like any other, and the loop goes on.
      try {
        return logic.HandleHookMessage(message.message, message.wParam, message.lParam);
      } catch (const std::exception& error) {
        ShowErrorBox(error.what());
        return true;
      }
    });

    if (logic.StartUp()) exitCode = RunMessageLoop();

    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
    SetMessageFilter(nullptr);
    about.Destroy();
    dlg.Destroy();
    special.Destroy();
    dlgLarge.Destroy();
    options.Destroy();  // runs the settings window's clean-up
    app.Attach(nullptr);
    options.Attach(nullptr);
  }
  app.Destroy();
  if (SUCCEEDED(com)) ::CoUninitialize();
  Trace("process end");
  return exitCode;
}
