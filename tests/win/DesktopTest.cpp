// Win32Desktop and Win32WaysBack against real windows: windows of this process, a window of
// another process (wftestwindow.exe), the shell's notification area and a real popup menu.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "trayer/WindowHelpers.h"
#include "win32/Win32Desktop.h"
#include "win32/Win32Text.h"
#include "win32/WaysBack.h"

namespace wrenfold {
namespace {

using win32::ToHwnd;
using wintest::BinFolder;
using wintest::ForeignWindow;
using wintest::PumpUntil;
using win32::ToWindowId;

// ---- Windows of this process.

constexpr wchar_t kPlainClass[] = L"WrenfoldDesktopTestWindow";
constexpr wchar_t kChildClass[] = L"WrenfoldDesktopTestChild";

// A window of ours, destroyed with the object.
class OurWindow {
 public:
  OurWindow(const std::wstring& title, DWORD style, DWORD exStyle = 0, HWND owner = nullptr,
             const wchar_t* className = kPlainClass, RECT place = {40, 40, 400, 300}) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    for (const wchar_t* name : {kPlainClass, kChildClass}) {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = ::DefWindowProcW;
      windowClass.hInstance = instance;
      windowClass.lpszClassName = name;
      ::RegisterClassW(&windowClass);  // fails harmlessly when already registered
    }
    window_ = ::CreateWindowExW(exStyle, className, title.c_str(), style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, owner, nullptr, instance, nullptr);
  }
  ~OurWindow() { Destroy(); }
  OurWindow(const OurWindow&) = delete;
  OurWindow& operator=(const OurWindow&) = delete;

  void Destroy() {
    if (window_ != nullptr) ::DestroyWindow(window_);
    window_ = nullptr;
  }
  [[nodiscard]] HWND Handle() const { return window_; }
  [[nodiscard]] WindowId Id() const { return ToWindowId(window_); }

 private:
  HWND window_ = nullptr;
};


// ---- The core's window helpers over Win32Desktop.

TEST(Win32DesktopHelpers, TopLevelOwnerFollowsRealOwnerChains) {
  win32::Win32Desktop desktop;
  const OurWindow main(L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const OurWindow dialog(L"dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, WS_EX_DLGMODALFRAME, main.Handle());
  const OurWindow child(L"child", WS_CHILD | WS_VISIBLE, 0, main.Handle(), kChildClass, {0, 0, 50, 50});
  const OurWindow tool(L"tool", WS_POPUP | WS_CAPTION | WS_VISIBLE, WS_EX_TOOLWINDOW);
  const OurWindow appTool(L"app tool", WS_POPUP | WS_CAPTION | WS_VISIBLE, WS_EX_TOOLWINDOW | WS_EX_APPWINDOW);
  const OurWindow hidden(L"hidden", WS_OVERLAPPEDWINDOW);
  const OurWindow hiddenOwner(L"hidden owner", WS_POPUP | WS_CAPTION, 0, main.Handle());
  const OurWindow ownedByHidden(L"owned by hidden", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, hiddenOwner.Handle());

  const struct {
    const char* name;
    const OurWindow& window;
    WindowId owner;
    bool topApp;
  } cases[] = {
      {"main window", main, main.Id(), true},
      {"popup owned by the main window", dialog, main.Id(), false},
      {"child of the main window", child, main.Id(), false},
      {"unowned tool window", tool, {}, false},
      {"tool window that asks for a task-bar button", appTool, appTool.Id(), true},
      {"hidden unowned window", hidden, {}, false},
      {"owned by a hidden window owned by the main window", ownedByHidden, main.Id(), false},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.window.Handle(), nullptr) << c.name;
    EXPECT_EQ(TopLevelOwner(desktop, c.window.Id()).value, c.owner.value) << c.name;
    EXPECT_EQ(IsTopAppWindow(desktop, c.window.Id()), c.topApp) << c.name;
  }
  EXPECT_EQ(desktop.OwnerOf(child.Id()), main.Id());
  EXPECT_EQ(desktop.OwnerOf(hiddenOwner.Id()), main.Id());
  EXPECT_FALSE(desktop.OwnerOf(main.Id()));
  EXPECT_FALSE(TopLevelOwner(desktop, {}));
}

TEST(Win32DesktopHelpers, TitlesComeBackWholeAndExact) {
  win32::Win32Desktop desktop;
  OurWindow window(L"", WS_OVERLAPPEDWINDOW);
  ASSERT_NE(window.Handle(), nullptr);

  const auto digits = [](std::size_t length) {
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text += static_cast<char16_t>(u'0' + i % 10);
    return text;
  };
  const std::u16string emoji = u"\U0001F600";  // a surrogate pair
  const std::u16string titles[] = {
      u"",
      u"Notes",
      digits(300),
      digits(255), digits(256), digits(257), digits(511), digits(512), digits(513), digits(5000),
      u"\u7a93\u306e\u984c\u540d \u2014 \u4e2d\u6587 " + emoji + u" caf\u00e9 & \u20ac",
      digits(254) + emoji,  // the pair straddles a likely buffer edge
      digits(255) + emoji,
  };
  for (const auto& title : titles) {
    ASSERT_TRUE(::SetWindowTextW(window.Handle(), reinterpret_cast<const wchar_t*>(title.c_str())));
    EXPECT_EQ(desktop.Title(window.Id()), title) << "length " << title.size();
    EXPECT_EQ(ReadWindowTitle(desktop, window.Id()), title) << "length " << title.size();
  }

  const WindowId gone = window.Id();
  window.Destroy();
  EXPECT_EQ(desktop.Title(gone), u"");
  EXPECT_EQ(ReadWindowTitle(desktop, {}), u"");
}

TEST(Win32DesktopHelpers, OwnWindowsAndExecutablePaths) {
  win32::Win32Desktop desktop;
  win32::Win32TextServices text;
  char own[MAX_PATH + 1] = {};
  ::GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string ownOtherCase(own);
  ::CharUpperBuffA(ownOtherCase.data(), static_cast<DWORD>(ownOtherCase.size()));
  ASSERT_NE(ownOtherCase, own);

  OurWindow mine(L"mine", WS_OVERLAPPEDWINDOW);
  ASSERT_NE(mine.Handle(), nullptr);
  EXPECT_EQ(text.AnsiLowerCase(ExePathOfWindow(desktop, mine.Id())), text.AnsiLowerCase(own));
  EXPECT_TRUE(IsOwnWindow(desktop, text, mine.Id(), ownOtherCase));

  const ForeignWindow foreign;
  ASSERT_NE(foreign.Window(), nullptr) << "wftestwindow.exe did not show its window";
  const std::string helper = BinFolder() + "wftestwindow.exe";
  EXPECT_EQ(text.AnsiLowerCase(ExePathOfWindow(desktop, ToWindowId(foreign.Window()))), text.AnsiLowerCase(helper));
  EXPECT_FALSE(IsOwnWindow(desktop, text, ToWindowId(foreign.Window()), own));
  EXPECT_TRUE(IsOwnWindow(desktop, text, ToWindowId(foreign.Window()), helper));

  const WindowId gone = mine.Id();
  mine.Destroy();
  EXPECT_EQ(ExePathOfWindow(desktop, gone), "");
  EXPECT_FALSE(IsOwnWindow(desktop, text, gone, own));
}

TEST(Win32DesktopHelpers, ShellWindows) {
  win32::Win32Desktop desktop;
  win32::Win32TextServices text;
  const OurWindow start(L"Start", WS_OVERLAPPEDWINDOW);
  const OurWindow notShell(L"Program Manager", WS_OVERLAPPEDWINDOW);  // not explorer's
  const OurWindow plain(L"Notes", WS_OVERLAPPEDWINDOW);
  EXPECT_TRUE(IsShellWindow(desktop, text, desktop.DesktopWindow()));
  EXPECT_EQ(ToHwnd(desktop.DesktopWindow()), ::GetDesktopWindow());
  EXPECT_TRUE(IsShellWindow(desktop, text, start.Id()));
  EXPECT_FALSE(IsShellWindow(desktop, text, notShell.Id()));
  EXPECT_FALSE(IsShellWindow(desktop, text, plain.Id()));
}

// ---- Win32Desktop's own answers and requests.

TEST(Win32Desktop, AnswersAboutWindowsOfThisProcess) {
  win32::Win32Desktop desktop;
  const OurWindow main(L"main", WS_POPUP | WS_CAPTION | WS_VISIBLE, WS_EX_TOOLWINDOW, nullptr, kPlainClass,
                        {30, 50, 330, 250});
  const OurWindow child(L"child", WS_CHILD | WS_VISIBLE, 0, main.Handle(), kChildClass, {0, 0, 50, 50});
  OurWindow other(L"other", WS_POPUP | WS_VISIBLE, 0, nullptr, kPlainClass, {100, 100, 200, 200});
  ASSERT_NE(main.Handle(), nullptr);

  EXPECT_TRUE(desktop.IsWindow(main.Id()));
  EXPECT_TRUE(desktop.IsVisible(main.Id()));
  EXPECT_FALSE(desktop.IsIconic(main.Id()));
  EXPECT_EQ(desktop.Style(main.Id()) & (WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_CHILD),
            static_cast<std::uint32_t>(WS_POPUP | WS_CAPTION | WS_VISIBLE));
  EXPECT_TRUE(desktop.ExStyle(main.Id()) & style::ToolWindow);
  EXPECT_TRUE(desktop.Style(child.Id()) & style::Child);
  EXPECT_EQ(desktop.WindowRect(main.Id()), (Rect{30, 50, 330, 250}));

  EXPECT_EQ(desktop.FindTopLevel("WrenfoldDesktopTestChild"), WindowId{});  // children are not top-level
  EXPECT_EQ(desktop.FindChild(main.Id(), "WrenfoldDesktopTestChild"), child.Id());
  EXPECT_EQ(desktop.FindChild(other.Id(), "WrenfoldDesktopTestChild"), WindowId{});
  EXPECT_EQ(desktop.FindTopLevel("WrenfoldNoSuchClass"), WindowId{});
  const WindowId found = desktop.FindTopLevel("WrenfoldDesktopTestWindow");
  EXPECT_TRUE(found == main.Id() || found == other.Id());

  // Enumeration order is front to back.
  for (const OurWindow* front : {&main, static_cast<const OurWindow*>(&other)}) {
    ::SetWindowPos(front->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const OurWindow& back = front == &main ? other : main;
    const auto windows = desktop.TopLevelWindows();
    const auto at = [&](const OurWindow& window) { return std::find(windows.begin(), windows.end(), window.Id()); };
    ASSERT_NE(at(main), windows.end());
    ASSERT_NE(at(other), windows.end());
    EXPECT_LT(at(*front), at(back));
    EXPECT_EQ(std::find(windows.begin(), windows.end(), child.Id()), windows.end());
  }

  ::ShowWindow(main.Handle(), SW_MINIMIZE);
  EXPECT_TRUE(desktop.IsIconic(main.Id()));
  const WindowId gone = other.Id();
  other.Destroy();
  EXPECT_FALSE(desktop.IsWindow(gone));
  EXPECT_FALSE(desktop.IsVisible(gone));
  EXPECT_EQ(desktop.WindowRect(gone), Rect{});
}

TEST(Win32Desktop, RequestsReachAWindowOfAnotherProcess) {
  win32::Win32Desktop desktop;
  const ForeignWindow foreign;
  ASSERT_NE(foreign.Window(), nullptr) << "wftestwindow.exe did not show its window";
  const WindowId window = ToWindowId(foreign.Window());
  EXPECT_EQ(desktop.Title(window), u"Wrenfold test window");

  const auto settles = [&](bool visible, bool iconic) {
    return PumpUntil([&] { return desktop.IsVisible(window) == visible && desktop.IsIconic(window) == iconic; }, 3000);
  };
  desktop.PostSysCommand(window, syscommand::Minimize);
  EXPECT_TRUE(settles(true, true)) << "minimize";
  desktop.Show(window, ShowCommand::Hide);
  EXPECT_TRUE(settles(false, true)) << "hide";
  desktop.Show(window, ShowCommand::Show);  // shows it as it was: still minimized
  EXPECT_TRUE(settles(true, true)) << "show";
  desktop.Show(window, ShowCommand::Hide);
  EXPECT_TRUE(settles(false, true)) << "hide again";
  desktop.Show(window, ShowCommand::ShowNormal);  // shows it restored
  EXPECT_TRUE(settles(true, false)) << "show normal";
  desktop.PostSysCommand(window, syscommand::Minimize);
  EXPECT_TRUE(settles(true, true)) << "minimize again";
  desktop.PostSysCommand(window, syscommand::Restore);
  EXPECT_TRUE(settles(true, false)) << "restore";
  desktop.PostSysCommand(window, syscommand::Close);
  EXPECT_TRUE(PumpUntil([&] { return !desktop.IsWindow(window); }, 3000)) << "close";
}

TEST(Win32Desktop, NothingWaitsOnAHungWindow) {
  win32::Win32Desktop desktop;
  const ForeignWindow foreign;
  ASSERT_NE(foreign.Window(), nullptr) << "wftestwindow.exe did not show its window";
  ASSERT_TRUE(foreign.Hang()) << "the test window still answers";

  const auto took = [](auto call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  };
  std::u16string title;
  EXPECT_LT(took([&] { title = desktop.Title(ToWindowId(foreign.Window())); }), 200);
  EXPECT_EQ(title, u"Wrenfold test window");
  EXPECT_LT(took([&] { desktop.Show(ToWindowId(foreign.Window()), ShowCommand::Hide); }), 200);
  EXPECT_LT(took([&] { desktop.PostSysCommand(ToWindowId(foreign.Window()), syscommand::Minimize); }), 200);
  EXPECT_LT(took([&] { desktop.Show(ToWindowId(foreign.Window()), ShowCommand::ShowNormal); }), 200);
  EXPECT_TRUE(desktop.IsWindow(ToWindowId(foreign.Window())));
}

// ---- Win32WaysBack: tray icons and menu entries.

constexpr UINT kTrayCallback = WM_APP + 7;
win32::Win32WaysBack* g_waysBack = nullptr;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallback && g_waysBack != nullptr && g_waysBack->HandleTrayCallback(wParam, lParam)) return 0;
  if (message == WM_COMMAND && g_waysBack != nullptr && g_waysBack->HandleMenuCommand(LOWORD(wParam))) return 0;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// Whether the shell holds an icon (owner, id): only a known icon can be modified.
bool ShellHasIcon(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = NIF_TIP;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::wstring MenuString(HMENU menu, int position) {
  wchar_t text[256] = {};
  ::GetMenuStringW(menu, static_cast<UINT>(position), text, 255, MF_BYPOSITION);
  return text;
}

struct Clicked {
  int tag;
  MouseButton button;
  friend bool operator==(const Clicked&, const Clicked&) = default;
};

class WaysBackTest : public ::testing::Test {
 protected:
  // One icon of the suite's own stays in the notification area throughout: it tells whether the
  // shell takes icons at all, and under Wine it spares each test the seconds the tray takes to
  // go away when its last icon does.
  static void SetUpTestSuite() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WrenfoldWaysBackKeeper";
    ::RegisterClassW(&windowClass);
    keeper_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"keeper", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = keeper_;
    data.uID = 1;
    data.uFlags = NIF_ICON;
    data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    trayWorks_ = keeper_ != nullptr && ::Shell_NotifyIconW(NIM_ADD, &data);
  }
  static void TearDownTestSuite() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = keeper_;
    data.uID = 1;
    if (trayWorks_) ::Shell_NotifyIconW(NIM_DELETE, &data);
    if (keeper_ != nullptr) ::DestroyWindow(keeper_);
    keeper_ = nullptr;
  }

  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WrenfoldWaysBackOwner";
    ::RegisterClassW(&windowClass);
    owner_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                               nullptr, windowClass.hInstance, nullptr);  // hidden, like the program's
    ASSERT_NE(owner_, nullptr);
    menu_ = ::CreatePopupMenu();
    ::AppendMenuW(menu_, MF_STRING, 1, L"Settings");
    ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu_, MF_STRING, 2, L"Exit");
    waysBack_ = std::make_unique<win32::Win32WaysBack>(owner_, kTrayCallback, menu_);
    g_waysBack = waysBack_.get();
    // An executable with an icon of its own, on Windows and in Wine's.
    wchar_t windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    exe_ = win32::Narrow(windows) + "\\notepad.exe";
  }
  void TearDown() override {
    g_waysBack = nullptr;
    waysBack_.reset();
    if (menu_ != nullptr) ::DestroyMenu(menu_);
    if (owner_ != nullptr) ::DestroyWindow(owner_);
  }

  TrayIconEvents Recording(int tag) {
    TrayIconEvents events;
    events.click = [this, tag](MouseButton button) { clicks_.push_back({tag, button}); };
    events.mouseMove = [this, tag] { moves_.push_back(tag); };
    return events;
  }

  // The ids the icon tagged so answers to, found from outside by trying every id below 1000.
  std::vector<UINT> IdsAnsweredBy(int tag) {
    std::vector<UINT> ids;
    for (UINT id = 0; id < 1000; ++id) {
      moves_.clear();
      if (waysBack_->HandleTrayCallback(id, WM_MOUSEMOVE) && moves_ == std::vector<int>{tag}) ids.push_back(id);
    }
    moves_.clear();
    return ids;
  }

  static inline HWND keeper_ = nullptr;
  static inline bool trayWorks_ = false;
  HWND owner_ = nullptr;
  HMENU menu_ = nullptr;
  std::unique_ptr<win32::Win32WaysBack> waysBack_;
  std::string exe_;
  std::vector<Clicked> clicks_;
  std::vector<int> moves_;
};

TEST_F(WaysBackTest, TrayIconsHaveIdsOfTheirOwnAndTakeTheirClicks) {
  if (!trayWorks_) GTEST_SKIP() << "the shell refuses tray icons here";
  auto first = waysBack_->AddTrayIcon(exe_, u"first", Recording(1));
  auto second = waysBack_->AddTrayIcon(exe_, u"second \U0001F600", Recording(2));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);

  const auto firstIds = IdsAnsweredBy(1);
  const auto secondIds = IdsAnsweredBy(2);
  ASSERT_EQ(firstIds.size(), 1u);
  ASSERT_EQ(secondIds.size(), 1u);
  const UINT firstId = firstIds[0];
  const UINT secondId = secondIds[0];
  EXPECT_GE(firstId, 100u);
  EXPECT_GE(secondId, 100u);
  EXPECT_NE(firstId, secondId);
  EXPECT_TRUE(ShellHasIcon(owner_, firstId));
  EXPECT_TRUE(ShellHasIcon(owner_, secondId));
  second->SetTooltip(std::u16string(200, u'x'));  // longer than the shell takes
  EXPECT_TRUE(ShellHasIcon(owner_, secondId));

  // Through the owner window's queue, as the shell delivers them.
  const struct {
    UINT mouseMessage;
    std::vector<Clicked> clicks;
  } cases[] = {
      {WM_LBUTTONUP, {{2, MouseButton::Left}}},
      {WM_RBUTTONUP, {{2, MouseButton::Right}}},
      {WM_MBUTTONUP, {{2, MouseButton::Middle}}},
      {WM_LBUTTONDOWN, {}},
      {WM_RBUTTONDOWN, {}},
      {WM_LBUTTONDBLCLK, {}},
  };
  for (const auto& c : cases) {
    clicks_.clear();
    ASSERT_TRUE(::PostMessageW(owner_, kTrayCallback, secondId, c.mouseMessage));
    PumpUntil([&] { return !clicks_.empty(); }, 200);
    EXPECT_EQ(clicks_, c.clicks) << "mouse message 0x" << std::hex << c.mouseMessage;
  }
  EXPECT_FALSE(waysBack_->HandleTrayCallback(1, WM_LBUTTONUP));  // the main icon's id is not ours

  first.reset();
  EXPECT_FALSE(ShellHasIcon(owner_, firstId));
  EXPECT_FALSE(waysBack_->HandleTrayCallback(firstId, WM_LBUTTONUP));
  EXPECT_TRUE(ShellHasIcon(owner_, secondId));
  clicks_.clear();
  EXPECT_TRUE(waysBack_->HandleTrayCallback(secondId, WM_LBUTTONUP));
  EXPECT_EQ(clicks_, (std::vector<Clicked>{{2, MouseButton::Left}}));
  second.reset();
  EXPECT_FALSE(ShellHasIcon(owner_, secondId));
}

TEST_F(WaysBackTest, IconsComeBackWhenTheShellStartsAfresh) {
  if (!trayWorks_) GTEST_SKIP() << "the shell refuses tray icons here";
  auto kept = waysBack_->AddTrayIcon(exe_, u"kept", Recording(1));
  auto dropped = waysBack_->AddTrayIcon(exe_, u"dropped", Recording(2));
  ASSERT_NE(kept, nullptr);
  ASSERT_NE(dropped, nullptr);
  const UINT keptId = IdsAnsweredBy(1).at(0);
  const UINT droppedId = IdsAnsweredBy(2).at(0);
  dropped.reset();

  // A new shell knows none of our icons.
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = keptId;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_FALSE(ShellHasIcon(owner_, keptId));

  waysBack_->RestoreIcons();
  EXPECT_TRUE(ShellHasIcon(owner_, keptId));
  EXPECT_FALSE(ShellHasIcon(owner_, droppedId));
}

TEST_F(WaysBackTest, RefusedIconGivesNull) {
  if (!trayWorks_) GTEST_SKIP() << "the shell refuses tray icons here";
  // The shell refuses an icon it already holds under the same owner and id; the next id the
  // counter gives is taken here first.
  auto probe = waysBack_->AddTrayIcon(exe_, u"probe", Recording(1));
  ASSERT_NE(probe, nullptr);
  const UINT nextId = IdsAnsweredBy(1).at(0) + 1;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = nextId;
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_EQ(waysBack_->AddTrayIcon(exe_, u"refused", Recording(2)), nullptr);
  EXPECT_TRUE(IdsAnsweredBy(2).empty());
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

// A handler that takes away its own icon or entry: the state it captured must live until it
// returns, though the object that held it is gone.
std::unique_ptr<ITrayIconPort> g_ownIcon;
std::unique_ptr<IMenuEntryPort> g_ownEntry;
std::weak_ptr<int> g_handlerState;
int g_selfDestroyingCalls = 0;
bool g_stateLivedOn = false;

// Touches nothing but globals after the reset.
template <typename Holder>
std::function<void()> SelfDestroying(Holder& holder, std::shared_ptr<int> state) {
  g_handlerState = state;
  g_selfDestroyingCalls = 0;
  g_stateLivedOn = false;
  return [state, &holder] {
    ++g_selfDestroyingCalls;
    holder.reset();
    g_stateLivedOn = !g_handlerState.expired();
  };
}

TEST_F(WaysBackTest, EntryHandlerMayDestroyItsOwnEntry) {
  g_ownEntry = waysBack_->AddMenuEntry(exe_, u"self", SelfDestroying(g_ownEntry, std::make_shared<int>(1)));
  ASSERT_NE(g_ownEntry, nullptr);
  const UINT command = ::GetMenuItemID(menu_, 0);
  ::SendMessageW(owner_, WM_COMMAND, command, 0);
  EXPECT_EQ(g_selfDestroyingCalls, 1);
  EXPECT_EQ(g_ownEntry, nullptr);
  EXPECT_TRUE(g_stateLivedOn) << "the handler's state was freed while it ran";
  EXPECT_EQ(::GetMenuItemCount(menu_), 3);
  EXPECT_FALSE(waysBack_->HandleMenuCommand(command));
}

TEST_F(WaysBackTest, IconHandlerMayDestroyItsOwnIcon) {
  if (!trayWorks_) GTEST_SKIP() << "the shell refuses tray icons here";
  TrayIconEvents events;
  events.click = [handler = SelfDestroying(g_ownIcon, std::make_shared<int>(2))](MouseButton) { handler(); };
  events.mouseMove = [this] { moves_.push_back(3); };
  g_ownIcon = waysBack_->AddTrayIcon(exe_, u"self", std::move(events));
  ASSERT_NE(g_ownIcon, nullptr);
  const UINT id = IdsAnsweredBy(3).at(0);
  ASSERT_TRUE(::PostMessageW(owner_, kTrayCallback, id, WM_LBUTTONUP));
  PumpUntil([] { return g_selfDestroyingCalls > 0; }, 500);
  EXPECT_EQ(g_selfDestroyingCalls, 1);
  EXPECT_EQ(g_ownIcon, nullptr);
  EXPECT_TRUE(g_stateLivedOn) << "the handler's state was freed while it ran";
  EXPECT_FALSE(ShellHasIcon(owner_, id));
  EXPECT_FALSE(waysBack_->HandleTrayCallback(id, WM_LBUTTONUP));
}

TEST_F(WaysBackTest, MenuEntriesGoOnTopShowTitlesLiterallyAndTakeTheirClicks) {
  std::vector<int> clicked;
  auto older = waysBack_->AddMenuEntry(exe_, u"Older", [&] { clicked.push_back(1); });
  auto newer = waysBack_->AddMenuEntry(exe_, u"A & B", [&] { clicked.push_back(2); });
  ASSERT_NE(older, nullptr);
  ASSERT_NE(newer, nullptr);

  ASSERT_EQ(::GetMenuItemCount(menu_), 5);
  EXPECT_EQ(MenuString(menu_, 0), L"A && B");
  EXPECT_EQ(MenuString(menu_, 1), L"Older");
  EXPECT_EQ(MenuString(menu_, 2), L"Settings");
  const UINT newerId = ::GetMenuItemID(menu_, 0);
  const UINT olderId = ::GetMenuItemID(menu_, 1);
  EXPECT_GE(newerId, 20000u);
  EXPECT_GE(olderId, 20000u);
  EXPECT_NE(newerId, olderId);

  // Each entry carries the executable's icon on the inactive caption colour, at small-icon size.
  HBITMAP bitmaps[2] = {};
  for (int position = 0; position < 2; ++position) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    ASSERT_TRUE(::GetMenuItemInfoW(menu_, static_cast<UINT>(position), TRUE, &item));
    bitmaps[position] = item.hbmpItem;
    BITMAP info{};
    ASSERT_EQ(::GetObjectW(item.hbmpItem, sizeof info, &info), static_cast<int>(sizeof info)) << position;
    EXPECT_EQ(info.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(info.bmHeight, ::GetSystemMetrics(SM_CYSMICON));
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = ::SelectObject(dc, item.hbmpItem);
    int background = 0;
    for (int y = 0; y < info.bmHeight; ++y) {
      for (int x = 0; x < info.bmWidth; ++x) background += ::GetPixel(dc, x, y) == ::GetSysColor(COLOR_INACTIVECAPTION);
    }
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    EXPECT_GT(background, 0) << "no background colour";
    EXPECT_LT(background, info.bmWidth * info.bmHeight) << "no icon drawn";
  }
  EXPECT_NE(bitmaps[0], bitmaps[1]);

  ::SendMessageW(owner_, WM_COMMAND, olderId, 0);
  EXPECT_TRUE(waysBack_->HandleMenuCommand(newerId));
  EXPECT_EQ(clicked, (std::vector<int>{1, 2}));
  EXPECT_FALSE(waysBack_->HandleMenuCommand(1));  // the menu's own "Settings"

  newer->SetCaption(u"Tom & Jerry && Co");
  EXPECT_EQ(MenuString(menu_, 0), L"Tom && Jerry &&&& Co");

  // Taken out by id, wherever it stands now; its bitmap goes with it.
  older.reset();
  ASSERT_EQ(::GetMenuItemCount(menu_), 4);
  EXPECT_EQ(::GetMenuItemID(menu_, 0), newerId);
  EXPECT_EQ(MenuString(menu_, 1), L"Settings");
  EXPECT_FALSE(waysBack_->HandleMenuCommand(olderId));
  BITMAP info{};
  EXPECT_EQ(::GetObjectW(bitmaps[1], sizeof info, &info), 0) << "the bitmap was not freed";
  newer.reset();
  ASSERT_EQ(::GetMenuItemCount(menu_), 3);
  EXPECT_EQ(MenuString(menu_, 0), L"Settings");
  EXPECT_EQ(clicked.size(), 2u);
}

TEST_F(WaysBackTest, FailedInsertGivesNull) {
  const HMENU gone = ::CreatePopupMenu();
  ::DestroyMenu(gone);
  win32::Win32WaysBack broken(owner_, kTrayCallback, gone);
  EXPECT_EQ(broken.AddMenuEntry(exe_, u"nowhere", [] {}), nullptr);
}

}  // namespace
}  // namespace wrenfold
