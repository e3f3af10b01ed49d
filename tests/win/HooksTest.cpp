// wfnhooks.dll against real windows and real (injected) input: the library is loaded as the
// program loads it, its reports land in a hidden "TApplication" window of this thread, and a hook
// of ours installed below the library's shows which button events it let through.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "WinTestSupport.h"
#include "app/Folders.h"
#include "app/HookEvents.h"
#include "storage/SettingsFile.h"
#include "win32/ProcessQueries.h"

namespace wrenfold {
namespace {

using hooks::HookEvent;
using wintest::BinFolder;
using wintest::ForeignWindow;
using wintest::PumpUntil;
using hooks::MouseButton;

bool SamePath(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

// ---- The program's side: its hidden application window, and what the library posts to it.

struct Report {
  HWND window;
  LPARAM code;
};
UINT g_hooksMessage = 0;
std::vector<Report> g_reports;

LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_hooksMessage && message != 0) {
    g_reports.push_back({reinterpret_cast<HWND>(wParam), lParam});
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// A window of this thread; `className` "TApplication" makes it the one the library reports to.
HWND MakeWindow(const wchar_t* className, const wchar_t* title, DWORD style, int x, int y) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ApplicationProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  ::RegisterClassW(&windowClass);  // fails harmlessly when already registered
  return ::CreateWindowExW(0, className, title, style, x, y, 360, 240, nullptr, nullptr, windowClass.hInstance,
                           nullptr);
}

// ---- Below the library's hook: which button events went on.

std::vector<WPARAM> g_passed;

LRESULT CALLBACK ObserverProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam != WM_MOUSEMOVE) g_passed.push_back(wParam);
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
bool Passed(WPARAM message) {
  for (const WPARAM seen : g_passed)
    if (seen == message) return true;
  return false;
}

// ---- The library, loaded the way the program loads it.

struct HooksLibrary {
  using RegisterFn = unsigned char(__stdcall*)(HMODULE);
  using UnregisterFn = void(__stdcall*)();

  HooksLibrary() : module(::LoadLibraryA((BinFolder() + "wfnhooks.dll").c_str())) {
    if (module == nullptr) return;
    Register = reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(::GetProcAddress(module, "RegisterHooks")));
    Unregister = reinterpret_cast<UnregisterFn>(reinterpret_cast<void*>(::GetProcAddress(module, "UnregisterHooks")));
  }
  ~HooksLibrary() {
    if (module != nullptr) ::FreeLibrary(module);
  }
  HooksLibrary(const HooksLibrary&) = delete;
  HooksLibrary& operator=(const HooksLibrary&) = delete;

  HMODULE module;
  RegisterFn Register = nullptr;
  UnregisterFn Unregister = nullptr;
};


// ---- Where the parts of a caption are, found by asking the window as the library does.

int HitTestAt(HWND window, int x, int y) {
  DWORD_PTR answer = HTNOWHERE;
  if (!::SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &answer)) return -100;
  return static_cast<int>(static_cast<LRESULT>(answer));
}

enum class Part { Minimize, Close, Caption, Client };
const char* NameOf(Part part) {
  switch (part) {
    case Part::Minimize: return "Minimize";
    case Part::Close: return "Close";
    case Part::Caption: return "caption";
    case Part::Client: return "client area";
  }
  return "?";
}

using CaptionPoints = std::map<Part, POINT>;

// The middle of each part on the row through the middle of the Minimize button.
std::optional<CaptionPoints> ProbeCaption(HWND window) {
  RECT frame{};
  if (!::GetWindowRect(window, &frame)) return std::nullopt;
  const auto spansOfRow = [&](int y) {
    std::map<int, std::pair<int, int>> spans;  // hit code -> first and last x
    for (int x = frame.left; x < frame.right; ++x) {
      spans.try_emplace(HitTestAt(window, x, y), x, x).first->second.second = x;
    }
    return spans;
  };
  const auto middle = [](const std::pair<int, int>& span) { return (span.first + span.second) / 2; };
  for (int top = frame.top; top < frame.top + 64 && top < frame.bottom; ++top) {
    auto spans = spansOfRow(top);
    if (!spans.contains(HTMINBUTTON)) continue;
    const int x = middle(spans[HTMINBUTTON]);
    int bottom = top;
    while (HitTestAt(window, x, bottom + 1) == HTMINBUTTON) ++bottom;
    const int y = (top + bottom) / 2;
    spans = spansOfRow(y);
    if (!spans.contains(HTMINBUTTON) || !spans.contains(HTCLOSE) || !spans.contains(HTCAPTION)) return std::nullopt;
    CaptionPoints points;
    points[Part::Minimize] = {middle(spans[HTMINBUTTON]), y};
    points[Part::Close] = {middle(spans[HTCLOSE]), y};
    points[Part::Caption] = {middle(spans[HTCAPTION]), y};
    points[Part::Client] = {(frame.left + frame.right) / 2, frame.bottom - 40};
    if (HitTestAt(window, points[Part::Client].x, points[Part::Client].y) != HTCLIENT) return std::nullopt;
    return points;
  }
  return std::nullopt;
}

// ---- Input, injected as the user's.

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}
void SendKey(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}

struct ClickOutcome {
  std::vector<Report> reports;
  bool pressPassed = false;
  bool releasePassed = false;
  long long pressMs = 0;  // from sending the press until it was through (or judged swallowed)
};

// One click at `at`, with `modifier` (a virtual key, 0 for none) held around it.
ClickOutcome Click(POINT at, MouseButton button, WORD modifier = 0) {
  PumpFor(20);
  g_reports.clear();
  ::SetCursorPos(at.x, at.y);
  PumpFor(30);
  g_passed.clear();
  const bool left = button == MouseButton::Left;
  const WPARAM pressMessage = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  const WPARAM releaseMessage = left ? WM_LBUTTONUP : WM_RBUTTONUP;

  if (modifier != 0) SendKey(modifier, false);
  // Wine runs this thread's hooks inside SendInput; the pumping below covers systems that don't.
  const auto start = std::chrono::steady_clock::now();
  SendMouse(left ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN);
  ClickOutcome outcome;
  outcome.pressPassed = PumpUntil([&] { return Passed(pressMessage); }, 150);
  outcome.pressMs =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  SendMouse(left ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
  outcome.releasePassed = PumpUntil([&] { return Passed(releaseMessage); }, 150);
  if (modifier != 0) SendKey(modifier, true);
  PumpUntil([] { return !g_reports.empty(); }, 300);
  PumpFor(100);  // a second, wrong report would show up here
  outcome.reports = g_reports;
  return outcome;
}

std::string Describe(const ClickOutcome& outcome) {
  std::string text = "press " + std::string(outcome.pressPassed ? "passed" : "swallowed") + ", release " +
                     (outcome.releasePassed ? "passed" : "swallowed") + ", reports:";
  char code[32];
  for (const auto& report : outcome.reports) {
    std::snprintf(code, sizeof code, " 0x%llX", static_cast<unsigned long long>(report.code));
    text += code;
  }
  return text;
}

// ---- The setting-up every click test shares.

// HOMEDRIVE/HOMEPATH point into a temporary folder for the test, so the settings file is ours.
class TemporaryHome {
 public:
  TemporaryHome() {
    char temp[MAX_PATH + 1] = {};
    ::GetTempPathA(MAX_PATH, temp);
    home_ = std::string(temp) + "wrenfold-hooks-" + std::to_string(::GetCurrentProcessId());
    saved_[0] = Get("HOMEDRIVE");
    saved_[1] = Get("HOMEPATH");
    // "C:" and "\users\...": the parts as Windows sets them.
    ::SetEnvironmentVariableA("HOMEDRIVE", home_.substr(0, 2).c_str());
    ::SetEnvironmentVariableA("HOMEPATH", home_.substr(2).c_str());
    folder_ = DataFolderFor(false, "", home_.substr(0, 2), home_.substr(2));
    for (std::size_t cut = home_.size(); cut != std::string::npos; cut = folder_.find('\\', cut + 1)) {
      ::CreateDirectoryA(folder_.substr(0, cut).c_str(), nullptr);
    }
  }
  ~TemporaryHome() {
    ::DeleteFileA(SettingsFile().c_str());
    for (std::size_t cut = folder_.size() - 1; cut >= home_.size(); cut = folder_.rfind('\\', cut - 1)) {
      ::RemoveDirectoryA(folder_.substr(0, cut).c_str());
    }
    ::RemoveDirectoryA(home_.c_str());
    Restore("HOMEDRIVE", saved_[0]);
    Restore("HOMEPATH", saved_[1]);
  }
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  [[nodiscard]] std::string SettingsFile() const { return folder_ + std::string(kSettingsFileName); }

 private:
  static std::optional<std::string> Get(const char* name) {
    char value[4096];
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) return std::nullopt;
    return std::string(value, length);
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    ::SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
  }

  std::string home_;
  std::string folder_;  // with trailing backslash
  std::optional<std::string> saved_[2];
};

class HooksClicks : public ::testing::Test {
 protected:
  void SetUp() override {
    g_hooksMessage = ::RegisterWindowMessageW(hooks::kMessageName);
    application_ = MakeWindow(L"TApplication", L"Wrenfold", WS_OVERLAPPED, 0, 0);  // hidden, like the program's
    ASSERT_NE(application_, nullptr);
    observer_ = ::SetWindowsHookExW(WH_MOUSE_LL, ObserverProc, ::GetModuleHandleW(nullptr), 0);
    ASSERT_NE(observer_, nullptr);
    ASSERT_NE(library_.module, nullptr) << "wfnhooks.dll beside the test program";
    ASSERT_NE(library_.Register, nullptr);
    ASSERT_NE(library_.Unregister, nullptr);
    ASSERT_NE(library_.Register(library_.module), 0);
  }
  void TearDown() override {
    if (library_.Unregister != nullptr) library_.Unregister();
    if (observer_ != nullptr) ::UnhookWindowsHookEx(observer_);
    if (application_ != nullptr) ::DestroyWindow(application_);
    PumpFor(20);
  }

  // A foreign window with its caption measured; fails the test when it cannot be had.
  static void Open(std::optional<ForeignWindow>& foreign, CaptionPoints& points, int x, int y) {
    foreign.emplace(x, y);
    ASSERT_NE(foreign->Window(), nullptr) << "wftestwindow.exe did not show its window";
    const auto probed = ProbeCaption(foreign->Window());
    ASSERT_TRUE(probed.has_value()) << "no Minimize, Close and caption found on the test window";
    points = *probed;
    // What the library sees there; under Wine, nothing when the caption is left to the X side.
    ASSERT_EQ(::GetAncestor(::WindowFromPoint(points[Part::Minimize]), GA_ROOT), foreign->Window());
  }

  TemporaryHome home_;  // before RegisterHooks: the library finds its settings file from it
  HWND application_ = nullptr;
  HHOOK observer_ = nullptr;
  HooksLibrary library_;
};

// ---- The cases.

TEST(HooksDecision, ClassifiesPresses) {
  using hooks::ClassifyPress;
  using hooks::Gesture;
  using hooks::Modifiers;
  const Modifiers none, shift{true, false, false}, control{false, true, false}, alt{false, false, true};
  const struct {
    MouseButton button;
    Modifiers held;
    int hitCode;
    Gesture expected;
  } cases[] = {
      {MouseButton::Right, none, HTMINBUTTON, Gesture::MinimizeRightClick},
      {MouseButton::Right, control, HTMINBUTTON, Gesture::MinimizeRightClick},
      {MouseButton::Right, none, HTCLOSE, Gesture::CloseRightClick},
      {MouseButton::Right, none, HTMAXBUTTON, Gesture::None},
      {MouseButton::Right, none, HTCAPTION, Gesture::None},
      {MouseButton::Left, none, HTMINBUTTON, Gesture::MinimizeLeftClick},
      {MouseButton::Left, shift, HTMINBUTTON, Gesture::None},
      {MouseButton::Left, control, HTMINBUTTON, Gesture::None},
      {MouseButton::Left, alt, HTMINBUTTON, Gesture::None},
      {MouseButton::Left, none, HTCLOSE, Gesture::None},
      {MouseButton::Left, shift, HTCAPTION, Gesture::None},
      {MouseButton::Right, shift, HTCAPTION, Gesture::CaptionShiftRightClick},
      {MouseButton::Right, shift, HTSYSMENU, Gesture::CaptionShiftRightClick},
      {MouseButton::Right, shift, HTMINBUTTON, Gesture::CaptionShiftRightClick},
      {MouseButton::Right, shift, HTMAXBUTTON, Gesture::CaptionShiftRightClick},
      {MouseButton::Right, shift, HTCLOSE, Gesture::CaptionShiftRightClick},
      {MouseButton::Right, shift, HTHELP, Gesture::CaptionShiftRightClick},
      {MouseButton::Right, shift, HTCLIENT, Gesture::None},
      {MouseButton::Right, shift, HTTOP, Gesture::None},
      {MouseButton::Right, shift, HTNOWHERE, Gesture::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyPress(c.button, c.held, c.hitCode), c.expected)
        << (c.button == MouseButton::Left ? "left" : "right") << " shift=" << c.held.shift
        << " control=" << c.held.control << " alt=" << c.held.alt << " hit=" << c.hitCode;
  }
}

TEST(HooksLibrary, ExportsAndTheApplicationWindow) {
  HooksLibrary library;
  ASSERT_NE(library.module, nullptr);
  ASSERT_NE(library.Register, nullptr);
  ASSERT_NE(library.Unregister, nullptr);
  library.Unregister();  // without RegisterHooks: nothing to do

  // A thread without a "TApplication" window has nobody to report to.
  unsigned char answer = 1;
  std::thread([&] {
    const HWND other = MakeWindow(L"WrenfoldNotTheApplication", L"Wrenfold", WS_OVERLAPPED, 0, 0);
    answer = library.Register(library.module);
    ::DestroyWindow(other);
  }).join();
  EXPECT_EQ(answer, 0);

  const HWND application = MakeWindow(L"TApplication", L"Wrenfold", WS_OVERLAPPED, 0, 0);
  EXPECT_NE(library.Register(library.module), 0);
  library.Unregister();
  library.Unregister();  // twice is harmless
  ::DestroyWindow(application);
}

TEST(HooksExePathOfWindow, NamesTheExecutableOfTheWindowsProcess) {
  char own[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, own, MAX_PATH);
  const HWND mine = MakeWindow(L"WrenfoldOwnWindow", L"own", WS_OVERLAPPEDWINDOW, 0, 0);
  EXPECT_TRUE(SamePath(win32::ExePathOfWindow(mine), own)) << win32::ExePathOfWindow(mine);
  ::DestroyWindow(mine);
  EXPECT_EQ(win32::ExePathOfWindow(mine), "");  // no longer a window
  EXPECT_EQ(win32::ExePathOfWindow(nullptr), "");

  ForeignWindow foreign(600, 400);
  ASSERT_NE(foreign.Window(), nullptr);
  const auto path = win32::ExePathOfWindow(foreign.Window());
  EXPECT_TRUE(SamePath(path, BinFolder() + "wftestwindow.exe")) << path;
}

// Every gesture on a window of another process, and the clicks that are not ours.
TEST_F(HooksClicks, ReportsGesturesAndSwallowsTheirClicks) {
  std::optional<ForeignWindow> foreign;
  CaptionPoints points;
  ASSERT_NO_FATAL_FAILURE(Open(foreign, points, 100, 100));
  const HWND window = foreign->Window();

  const struct {
    Part part;
    MouseButton button;
    WORD modifier;
    std::optional<HookEvent> reported;  // none: the click goes through untouched
  } cases[] = {
      {Part::Minimize, MouseButton::Right, 0, HookEvent::Tray},  // no settings file: the default is Tray
      {Part::Close, MouseButton::Right, 0, HookEvent::CloseRightClick},
      {Part::Minimize, MouseButton::Left, 0, HookEvent::MinimizeLeftClick},
      {Part::Caption, MouseButton::Right, VK_SHIFT, HookEvent::TrayAlt},
      {Part::Minimize, MouseButton::Right, VK_SHIFT, HookEvent::TrayAlt},
      {Part::Close, MouseButton::Right, VK_SHIFT, HookEvent::TrayAlt},
      {Part::Client, MouseButton::Right, 0, std::nullopt},
      {Part::Client, MouseButton::Right, VK_SHIFT, std::nullopt},
      {Part::Caption, MouseButton::Left, 0, std::nullopt},
      {Part::Client, MouseButton::Left, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto outcome = Click(points[c.part], c.button, c.modifier);
    SCOPED_TRACE(std::string(c.modifier == VK_SHIFT ? "shift + " : "") +
                 (c.button == MouseButton::Left ? "left" : "right") + " click on " + NameOf(c.part) + ": " +
                 Describe(outcome));
    if (c.reported) {
      ASSERT_EQ(outcome.reports.size(), 1u);
      EXPECT_EQ(outcome.reports[0].window, window);
      EXPECT_EQ(outcome.reports[0].code, static_cast<LPARAM>(*c.reported));
    } else {
      EXPECT_TRUE(outcome.reports.empty());
    }
    EXPECT_EQ(outcome.pressPassed, !c.reported);
    EXPECT_EQ(outcome.releasePassed, !c.reported);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_FALSE(::IsIconic(window));
  }

  // A left click with Ctrl held is not ours: it goes through and the window minimizes, as the
  // swallowed clicks above would have made it do.
  const auto outcome = Click(points[Part::Minimize], MouseButton::Left, VK_CONTROL);
  EXPECT_TRUE(outcome.reports.empty()) << Describe(outcome);
  EXPECT_TRUE(outcome.pressPassed && outcome.releasePassed) << Describe(outcome);
  EXPECT_TRUE(PumpUntil([&] { return ::IsIconic(window) != FALSE; }, 3000)) << "the window did not minimize";
}

// Right click on Minimize: the application's own record, else the default, from the settings
// file as it stands at the click.
TEST_F(HooksClicks, RightClickDestinationFollowsTheSettingsFile) {
  std::optional<ForeignWindow> foreign;
  CaptionPoints points;
  ASSERT_NO_FATAL_FAILURE(Open(foreign, points, 100, 100));
  const std::string file = home_.SettingsFile();

  const struct {
    const char* contents;  // null: no file
    HookEvent reported;
  } cases[] = {
      {"[Default]\r\nRCMinDest=1\r\n", HookEvent::Hide},
      {"[Default]\r\nRCMinDest=1\r\n[SpecApp0]\r\nAppName=wftestwindow.exe\r\nRCMinDest=0\r\n", HookEvent::Tray},
      {"[Default]\r\nRCMinDest=0\r\n[SpecApp0]\r\nAppName=WFTestWindow.EXE\r\nRCMinDest=1\r\n", HookEvent::Hide},
      {"[Default]\r\nRCMinDest=0\r\n[SpecApp0]\r\nAppName=notepad.exe\r\nRCMinDest=1\r\n", HookEvent::Tray},
      {"[Default]\r\nRCMinDest=1\r\n[SpecApp0]\r\nAppName=notepad.exe\r\nRCMinDest=0\r\n", HookEvent::Hide},
      {nullptr, HookEvent::Tray},
  };
  for (const auto& c : cases) {
    if (c.contents != nullptr) {
      wintest::WriteRawFile(file, c.contents);
    } else {
      ::DeleteFileA(file.c_str());
    }
    const auto outcome = Click(points[Part::Minimize], MouseButton::Right);
    SCOPED_TRACE(std::string(c.contents ? c.contents : "no settings file") + " -> " + Describe(outcome));
    ASSERT_EQ(outcome.reports.size(), 1u);
    EXPECT_EQ(outcome.reports[0].code, static_cast<LPARAM>(c.reported));
    EXPECT_FALSE(outcome.pressPassed || outcome.releasePassed);
  }
}

// The file is read again only when its size or last-write time changed, so a click costs little.
TEST_F(HooksClicks, SettingsFileIsReadAgainOnlyWhenItChanged) {
  std::optional<ForeignWindow> foreign;
  CaptionPoints points;
  ASSERT_NO_FATAL_FAILURE(Open(foreign, points, 100, 100));
  const std::string file = home_.SettingsFile();
  const auto code = [&] {
    const auto outcome = Click(points[Part::Minimize], MouseButton::Right);
    return outcome.reports.size() == 1 ? outcome.reports[0].code : LPARAM{-1};
  };
  const auto setWritten = [&](const FILETIME& written) {
    const HANDLE handle = ::CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(::SetFileTime(handle, nullptr, nullptr, &written));
    ::CloseHandle(handle);
  };

  wintest::WriteRawFile(file, "[Default]\r\nRCMinDest=1\r\n");
  WIN32_FILE_ATTRIBUTE_DATA first{};
  ASSERT_TRUE(::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &first));
  EXPECT_EQ(code(), static_cast<LPARAM>(HookEvent::Hide));

  // Same size, same time: the library keeps what it read.
  wintest::WriteRawFile(file, "[Default]\r\nRCMinDest=0\r\n");
  ASSERT_NO_FATAL_FAILURE(setWritten(first.ftLastWriteTime));
  EXPECT_EQ(code(), static_cast<LPARAM>(HookEvent::Hide));

  // A new time alone is enough to read it again.
  FILETIME later = first.ftLastWriteTime;
  later.dwHighDateTime += 1;
  ASSERT_NO_FATAL_FAILURE(setWritten(later));
  EXPECT_EQ(code(), static_cast<LPARAM>(HookEvent::Tray));
}

// A window that answers nothing: the click goes on within the time limit, and nothing is reported.
TEST_F(HooksClicks, HungWindowsClickPassesThroughUnreported) {
  std::optional<ForeignWindow> foreign;
  CaptionPoints points;
  ASSERT_NO_FATAL_FAILURE(Open(foreign, points, 500, 300));
  ASSERT_TRUE(foreign->Hang()) << "the test window still answers";

  const auto outcome = Click(points[Part::Minimize], MouseButton::Right);
  EXPECT_TRUE(outcome.reports.empty()) << Describe(outcome);
  EXPECT_TRUE(outcome.pressPassed && outcome.releasePassed) << Describe(outcome);
  EXPECT_LT(outcome.pressMs, 500) << "the press waited on the hung window";
  std::printf("hung window: the press went on after %lld ms\n", outcome.pressMs);
}

// This process's own windows behave as usual, even where they answer HTMINBUTTON.
LRESULT CALLBACK AllMinimizeButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST) return HTMINBUTTON;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(HooksClicks, OwnWindowsAreLeftAlone) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = AllMinimizeButtonProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"WrenfoldAllMinimizeButton";
  ::RegisterClassW(&windowClass);
  // No caption of its own: Wine leaves none of it to the X window manager.
  const HWND own = ::CreateWindowExW(0, windowClass.lpszClassName, L"own", WS_POPUP | WS_VISIBLE, 500, 300, 200, 100,
                                     nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(own, nullptr);
  PumpFor(100);
  const POINT middle{600, 350};
  ASSERT_EQ(::GetAncestor(::WindowFromPoint(middle), GA_ROOT), own);

  const auto outcome = Click(middle, MouseButton::Right);
  EXPECT_TRUE(outcome.reports.empty()) << Describe(outcome);
  EXPECT_TRUE(outcome.pressPassed && outcome.releasePassed) << Describe(outcome);
  ::DestroyWindow(own);
}

}  // namespace
}  // namespace wrenfold
