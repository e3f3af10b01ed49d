// wfnhooks.dll: a low-level mouse hook, installed by the program's own (message-pumping) thread,
// that reports clicks on the caption buttons of other programs' top-level windows to the
// program's application window. No code goes into other processes: the hook runs in ours, so it
// cannot crash them and serves 32- and 64-bit programs alike.
//
// On a button press: the top-level window under the point is asked for its hit-test code, with a
// short time limit (a hung or slow window's click passes through unreported). A press that means
// something to the program (see ClassifyPress) is swallowed, and so is the release of the same
// button that follows it; the event is posted on that release. Posting on the release makes the
// report follow a whole click, press and release, as a caption button acts on its release; by then
// nothing of the gesture is still on its way to the window, so the program can move, hide or tray
// it at once. Everything else goes on to the next hook untouched.

#include <windows.h>

#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include "app/Folders.h"
#include "app/HookEvents.h"
#include "storage/SettingsFile.h"
#include "trayer/Trayer.h"
#include "win32/ProcessQueries.h"
#include "win32/Win32FileSystem.h"
#include "win32/Win32System.h"
#include "win32/Win32Text.h"

namespace {

using namespace wrenfold;
using hooks::Gesture;
using hooks::HookEvent;
using hooks::MouseButton;

// How long a window may take to answer WM_NCHITTEST. The system gives a low-level hook about
// 300 ms to 1 s before it passes the input on and, after repeated time-outs, drops the hook.
constexpr UINT kHitTestTimeoutMs = 100;

// The user's settings file, read again only when its size or last-write time changed.
class SettingsCache {
 public:
  explicit SettingsCache(std::string path) : path_(std::move(path)) {}

  // The right-click destination of the application at `exePath`: its own record, else the default.
  TrayingDestination RightClickDestination(const std::string& exePath) {
    Refresh();
    const TTraySettings* record = exePath.empty() ? nullptr : trayer_.FindSettings(exePath);
    return (record != nullptr ? *record : trayer_.DefaultSettings()).RClickMinDest;
  }

 private:
  struct Stamp {
    bool exists = false;
    ULONGLONG written = 0;
    ULONGLONG size = 0;
    bool operator==(const Stamp&) const = default;
  };

  [[nodiscard]] Stamp Current() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &data)) return {};
    return {true, (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime,
            (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
  }

  void Refresh() {
    const Stamp now = Current();
    if (read_ && now == stamp_) return;
    // Taken before the read: a change during the read shows as a new stamp at the next click.
    DontShowFlags flags;
    ReadSettingsFile(files_, path_, text_, trayer_, flags);
    stamp_ = now;
    read_ = true;
  }

  std::string path_;
  win32::Win32FileSystem files_;
  win32::Win32TextServices text_;
  TTrayer trayer_{text_};
  bool read_ = false;
  Stamp stamp_;
};

// A press that was swallowed and whose release is still to come.
struct PendingClick {
  bool active = false;
  HWND window = nullptr;
  HookEvent event = HookEvent::Tray;
};

struct HookState {
  HookState(HWND app, UINT msg, std::string settingsPath)
      : appWindow(app), message(msg), settings(std::move(settingsPath)) {}

  HWND appWindow;
  UINT message;
  SettingsCache settings;
  DWORD ownProcess = ::GetCurrentProcessId();
  HHOOK hook = nullptr;
  PendingClick pending[2];  // by MouseButton

  // While the hook waits for a window's answer, this thread handles sent messages, so the hook
  // can be entered again; such inner events pass untouched.
  bool deciding = false;
  MouseButton decidingButton = MouseButton::Left;
  bool releasedWhileDeciding = false;
  // UnregisterHooks was called from inside the wait: the outer call frees the state.
  bool retired = false;

  void Post(HWND window, HookEvent event) const {
    ::PostMessageW(appWindow, message, reinterpret_cast<WPARAM>(window), static_cast<LPARAM>(event));
  }
};

HookState* g_state = nullptr;

hooks::Modifiers HeldModifiers() {
  const auto down = [](int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; };
  return {down(VK_SHIFT), down(VK_CONTROL), down(VK_MENU)};
}

// Returns true to swallow the press.
bool OnPress(HookState& state, MouseButton button, POINT point) {
  auto& pending = state.pending[static_cast<int>(button)];
  pending = {};  // a press whose release we never saw starts afresh
  if (state.deciding) return false;

  const hooks::Modifiers held = HeldModifiers();
  // Cheap way out before asking any window: a left press with a modifier is never ours.
  if (button == MouseButton::Left && (held.shift || held.control || held.alt)) return false;

  const HWND window = ::GetAncestor(::WindowFromPoint(point), GA_ROOT);
  if (window == nullptr) return false;
  DWORD process = 0;
  if (::GetWindowThreadProcessId(window, &process) == 0 || process == state.ownProcess) return false;

  DWORD_PTR answer = HTNOWHERE;
  state.deciding = true;
  state.decidingButton = button;
  state.releasedWhileDeciding = false;
  const LRESULT answered = ::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y),
                                                 SMTO_ABORTIFHUNG | SMTO_NORMAL, kHitTestTimeoutMs, &answer);
  state.deciding = false;
  if (answered == 0 || state.retired) return false;

  const Gesture gesture = hooks::ClassifyPress(button, held, static_cast<int>(static_cast<LRESULT>(answer)));
  if (gesture == Gesture::None) return false;
  const TrayingDestination destination = gesture == Gesture::MinimizeRightClick
                                             ? state.settings.RightClickDestination(win32::ExePathOfWindow(window))
                                             : TrayingDestination::Tray;
  const HookEvent event = hooks::EventFor(gesture, destination);
  if (state.releasedWhileDeciding) {
    // The release has already gone on to the window: report the click now.
    state.Post(window, event);
  } else {
    pending = {true, window, event};
  }
  return true;
}

// Returns true to swallow the release.
bool OnRelease(HookState& state, MouseButton button) {
  if (state.deciding) {
    if (button == state.decidingButton) state.releasedWhileDeciding = true;
    return false;
  }
  auto& pending = state.pending[static_cast<int>(button)];
  if (!pending.active) return false;
  const PendingClick click = std::exchange(pending, {});
  state.Post(click.window, click.event);
  return true;
}

bool OnMouse(HookState& state, WPARAM message, const MSLLHOOKSTRUCT& info) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return OnPress(state, MouseButton::Left, info.pt);
    case WM_RBUTTONDOWN:
      return OnPress(state, MouseButton::Right, info.pt);
    case WM_LBUTTONUP:
      return OnRelease(state, MouseButton::Left);
    case WM_RBUTTONUP:
      return OnRelease(state, MouseButton::Right);
    default:
      return false;
  }
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  HookState* state = g_state;
  if (code == HC_ACTION && state != nullptr) {
    bool swallow = false;
    try {
      swallow = OnMouse(*state, wParam, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam));
    } catch (...) {
      swallow = false;  // nothing may leave a hook procedure; the click goes on
    }
    if (state->retired && !state->deciding) {
      delete state;
      return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    if (swallow) return 1;
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK FindApplicationWindow(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  const int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  if (length > 0 && ::CompareStringOrdinal(name, length, hooks::kApplicationWindowClass, -1, TRUE) == CSTR_EQUAL) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Where the program keeps wrenfold.ini, by the core's rule.
std::string SettingsFilePath(HMODULE library) {
  const std::string programFolder = FolderOf(win32::ModuleFileName(library));
  const win32::Win32System system;
  const bool removable = system.DriveKindOf(programFolder) == DriveKind::Removable;
  return DataFolderFor(removable, programFolder, system.EnvironmentVariable("HOMEDRIVE"),
                       system.EnvironmentVariable("HOMEPATH")) +
         std::string(kSettingsFileName);
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&MouseHookProc), &module);
  return module;
}

}  // namespace

extern "C" void __stdcall UnregisterHooks() {
  HookState* state = std::exchange(g_state, nullptr);
  if (state == nullptr) return;
  if (state->hook != nullptr) ::UnhookWindowsHookEx(state->hook);
  if (state->deciding) {
    state->retired = true;  // the hook procedure below us on the stack frees it
  } else {
    delete state;
  }
}

extern "C" unsigned char __stdcall RegisterHooks(HMODULE library) {
  try {
    UnregisterHooks();
    if (library == nullptr) library = ThisModule();
    HWND appWindow = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindApplicationWindow, reinterpret_cast<LPARAM>(&appWindow));
    if (appWindow == nullptr) return 0;
    const UINT message = ::RegisterWindowMessageW(hooks::kMessageName);
    if (message == 0) return 0;

    auto state = std::make_unique<HookState>(appWindow, message, SettingsFilePath(library));
    // The hook is called only while this thread pumps messages, never from inside the call.
    state->hook = ::SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, library, 0);
    if (state->hook == nullptr) return 0;
    g_state = state.release();
    return 1;
  } catch (...) {
    return 0;
  }
}
