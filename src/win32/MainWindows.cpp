#include "win32/MainWindows.h"

#include "platform/Trace.h"
#include "win32/MessageLoop.h"
#include "win32/Win32Text.h"
#include "win32/res/resource_ids.h"

namespace wrenfold::win32 {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;

// A caption as the user reads it: the access-key marks gone, "&&" shown as "&".
std::string Readable(const std::u16string& caption) {
  std::u16string plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return Narrow(std::wstring(reinterpret_cast<const wchar_t*>(plain.data()), plain.size()));
}

}  // namespace

bool AppWindow::Create() { return Window::Create(L"TApplication", L"Wrenfold", WS_POPUP, 0, 0, 0, nullptr); }

LRESULT AppWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (logic_ && logic_->HandleHookMessage(message, wParam, lParam)) return 0;
  return Window::OnMessage(message, wParam, lParam);
}

bool SplashWindow::Create(HWND owner) {
  if (!Window::Create(L"TfSplash", L"Wrenfold", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, 400, 250,
                      owner)) {
    return false;
  }
  // Pure black is see-through.
  ::SetLayeredWindowAttributes(Handle(), RGB(0, 0, 0), 0, LWA_COLORKEY);
  return true;
}

LRESULT SplashWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(Handle(), &paint);
    RECT client;
    ::GetClientRect(Handle(), &client);
    HBRUSH background = ::CreateSolidBrush(RGB(0x1E, 0x3A, 0x5F));
    ::FillRect(dc, &client, background);
    ::DeleteObject(background);
    HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON, 96, 96, LR_DEFAULTCOLOR));
    if (icon) {
      ::DrawIconEx(dc, 40, (client.bottom - 96) / 2, icon, 96, 96, 0, nullptr, DI_NORMAL);
      ::DestroyIcon(icon);
    }
    HFONT font = ::CreateFontW(-40, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma");
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0xF4, 0xF1, 0xE8));
    RECT text{160, 0, client.right, client.bottom};
    ::DrawTextW(dc, L"Wrenfold", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::EndPaint(Handle(), &paint);
    return 0;
  }
  if (message == WM_NCHITTEST) return HTTRANSPARENT;  // reacts to nothing
  return Window::OnMessage(message, wParam, lParam);
}

bool PlainForm::Create(const wchar_t* className, HWND owner) {
  return Window::Create(className, L"Wrenfold", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 400, 250, owner);
}

bool OptionsWindow::Create() {
  if (!Window::Create(L"TfrmOptions", L"Wrenfold", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 465, 380,
                      app_.Handle())) {
    return false;
  }
  menu_.Reset(::CreatePopupMenu());
  for (const auto& item : FixedMenuItems()) {
    const auto id = static_cast<UINT_PTR>(item.id);
    if (item.caption.empty()) {
      ::AppendMenuW(menu_.Get(), MF_SEPARATOR, id, nullptr);
    } else {
      ::AppendMenuW(menu_.Get(), MF_STRING, id, AsWide(std::u16string(item.caption)));
    }
  }
  waysBack_ = std::make_unique<Win32WaysBack>(Handle(), kTrayCallback, menu_.Get());
  const int size = ::GetSystemMetrics(SM_CXSMICON);
  smallIcon_.Reset(static_cast<HICON>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  return true;
}

void OptionsWindow::SetCaption(const std::u16string& caption) { ::SetWindowTextW(Handle(), AsWide(caption)); }

bool OptionsWindow::IsVisible() const { return ::IsWindowVisible(Handle()) != FALSE; }

void OptionsWindow::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

void OptionsWindow::ShowNormal() {
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::SetForegroundWindow(Handle());
}

void OptionsWindow::RemoveMenuItem(MenuItemId id) {
  ::DeleteMenu(menu_.Get(), static_cast<UINT>(id), MF_BYCOMMAND);
}

void OptionsWindow::ShowTrayIcon(const std::u16string& tooltip) {
  trayIcon_.Show(Handle(), smallIcon_.Get(), AsWide(tooltip));
}

void OptionsWindow::RemoveTrayIcon() { trayIcon_.Remove(); }

void OptionsWindow::EnableMenuItem(MenuItemId id, bool enabled) {
  ::EnableMenuItem(menu_.Get(), static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void OptionsWindow::BringLastActivePopupForward() {
  HWND popup = ::GetLastActivePopup(app_.Handle());
  if (popup && popup != app_.Handle() && ::IsWindowVisible(popup) && ::IsWindowEnabled(popup)) {
    ::SetForegroundWindow(popup);
  }
}

HMENU OptionsWindow::PresentedMenu() const {
  struct Item {
    MENUITEMINFOW info;
    std::u16string caption;
  };
  std::vector<Item> items;
  std::vector<std::u16string> captions;
  std::vector<bool> separators;
  const int count = ::GetMenuItemCount(menu_.Get());
  for (int i = 0; i < count; ++i) {
    Item item{};
    item.info.cbSize = sizeof item.info;
    item.info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_BITMAP | MIIM_STRING;
    ::GetMenuItemInfoW(menu_.Get(), static_cast<UINT>(i), TRUE, &item.info);  // the caption's length
    std::wstring text(item.info.cch + 1, L'\0');
    item.info.dwTypeData = text.data();
    item.info.cch = static_cast<UINT>(text.size());
    ::GetMenuItemInfoW(menu_.Get(), static_cast<UINT>(i), TRUE, &item.info);
    text.resize(item.info.cch);
    item.caption.assign(text.begin(), text.end());
    captions.push_back(item.caption);
    separators.push_back((item.info.fType & MFT_SEPARATOR) != 0);
    items.push_back(std::move(item));
  }
  const auto keyed = WithAccessKeys(captions);
  const auto shown = ShownItems(separators);
  HMENU presented = ::CreatePopupMenu();
  std::string traced;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!shown[i]) continue;
    auto info = items[i].info;
    std::u16string caption = keyed[i];
    info.dwTypeData = separators[i] ? nullptr : const_cast<wchar_t*>(AsWide(caption));
    info.cch = 0;
    if (separators[i]) info.fMask &= ~static_cast<UINT>(MIIM_STRING);
    // The bitmaps stay the base menu's: a menu does not own its items' bitmaps.
    ::InsertMenuItemW(presented, ::GetMenuItemCount(presented), TRUE, &info);
    if (TraceEnabled()) {
      traced += traced.empty() ? "" : "|";
      traced += separators[i] ? std::string("-") : Readable(caption);
      if (!separators[i] && (info.fState & MFS_DISABLED)) traced += "[off]";
    }
  }
  if (TraceEnabled()) Trace("menu " + traced);
  return presented;
}

void OptionsWindow::SetTimerEnabled(TimerId timer, bool enabled) {
  const UINT_PTR id = timer == TimerId::Timer1 ? kTimer1 : kTimer2;
  if (enabled) {
    ::SetTimer(Handle(), id, timer == TimerId::Timer1 ? 1000 : 500, nullptr);
  } else {
    ::KillTimer(Handle(), id);
  }
}

void OptionsWindow::ShowSplash() {
  splash_ = std::make_unique<SplashWindow>();
  if (splash_->Create(app_.Handle())) ::ShowWindow(splash_->Handle(), SW_SHOWNOACTIVATE);
}

void OptionsWindow::DestroySplash() {
  if (!splash_) return;
  ::ShowWindow(splash_->Handle(), SW_HIDE);
  splash_.reset();
}

void OptionsWindow::CloseAsMainWindow() { ::PostQuitMessage(0); }

void OptionsWindow::OpenMenuAtCursor() {
  // The menu closes properly on a click elsewhere only when our application is in front.
  ::SetForegroundWindow(app_.Handle());
  ProcessWaitingMessages();
  logic_->PopupMenu1Popup();
  UniqueMenu presented(PresentedMenu());
  POINT at{};
  ::GetCursorPos(&at);
  UINT command = 0;
  {
    // The watch keeps away while the menu is open: it could drop an entry the menu still shows.
    BusyScope busy;
    command = static_cast<UINT>(::TrackPopupMenuEx(presented.Get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                   at.x, at.y, app_.Handle(), nullptr));
  }
  presented.Reset();
  ::PostMessageW(app_.Handle(), WM_NULL, 0, 0);
  if (command != 0) RunCommand(static_cast<MenuItemId>(command));
}

void OptionsWindow::RunCommand(MenuItemId id) {
  if (TraceEnabled()) Trace("command " + std::to_string(static_cast<unsigned>(id)));
  if (waysBack_->HandleMenuCommand(static_cast<UINT>(id))) return;
  switch (id) {
    case MenuItemId::Exit1: logic_->Exit1Click(); break;
    case MenuItemId::Settings1: logic_->Settings1Click(); break;
    case MenuItemId::Minimizealltotray1: logic_->Minimizealltotray1Click(); break;
    case MenuItemId::Hidealltotray1: logic_->Hidealltotray1Click(); break;
    case MenuItemId::Restoreall1: logic_->Restoreall1Click(); break;
    case MenuItemId::Closeallwindows1: logic_->Closeallwindows1Click(); break;
    default: break;
  }
  if (TraceEnabled()) Trace("command " + std::to_string(static_cast<unsigned>(id)) + " done");
}

LRESULT OptionsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!logic_) return Window::OnMessage(message, wParam, lParam);
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    // The shell made a new notification area: every icon of ours goes back into it.
    trayIcon_.Restore();
    waysBack_->RestoreIcons();
    return 0;
  }
  switch (message) {
    case kTrayCallback:
      if (wParam != trayIcon_.Id()) {
        waysBack_->HandleTrayCallback(wParam, lParam);
        return 0;
      }
      if (lParam == WM_RBUTTONUP) OpenMenuAtCursor();
      if (lParam == WM_LBUTTONDBLCLK) logic_->Settings1Click();
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) logic_->Timer1Timer();
      if (wParam == kTimer2) logic_->Timer2Timer();
      return 0;
    case WM_CLOSE:
      logic_->FormClose();
      return 0;
    case WM_QUERYENDSESSION:
      if (TraceEnabled()) Trace("query end session");
      return logic_->QueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
      logic_->EndSession(wParam != FALSE);
      return 0;
    case WM_DESTROY:
      logic_->FormDestroy();
      trayIcon_.Remove();
      splash_.reset();
      return 0;
    default:
      return Window::OnMessage(message, wParam, lParam);
  }
}

}  // namespace wrenfold::win32
