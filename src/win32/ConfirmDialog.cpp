#include "win32/ConfirmDialog.h"

#include <algorithm>
#include <vector>

#include "platform/Trace.h"
#include "win32/MessageLoop.h"
#include "win32/Win32Text.h"

namespace wrenfold::win32 {
namespace {

// The window's DPI where the system can tell it (Windows 10 and later), else the screen's.
UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

struct Box {
  int x, y, width, height;
};

// Client area and controls at 96 DPI: question, picture, check box, Yes, No.
struct Layout {
  SIZE client;
  Box question, picture, box, yes, no;
};
constexpr Layout kSmall{{375, 75}, {47, 8, 320, 30}, {8, 8, 33, 30}, {16, 44, 169, 25}, {215, 44, 75, 25},
                        {296, 44, 75, 25}};
constexpr Layout kLarge{{704, 97}, {47, 8, 649, 41}, {8, 8, 33, 30}, {16, 64, 169, 25}, {543, 64, 75, 25},
                        {624, 64, 75, 25}};

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_DLGFRAME;  // a caption, and no buttons in it
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Disables the thread's other windows while a modal dialog is up, and enables them again after.
class ModalScope {
 public:
  // Called while the dialog is still hidden, so it is not among them.
  ModalScope() {
    ::EnumThreadWindows(::GetCurrentThreadId(), &ModalScope::Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : disabled_) ::EnableWindow(window, FALSE);
  }
  ~ModalScope() {
    for (HWND window : disabled_) ::EnableWindow(window, TRUE);
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    auto* scope = reinterpret_cast<ModalScope*>(self);
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) scope->disabled_.push_back(window);
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

}  // namespace

int ConfirmDialog::Scale(int pixels) const { return ::MulDiv(pixels, static_cast<int>(dpi_), 96); }

bool ConfirmDialog::Create(const wchar_t* className, HWND owner) {
  const auto& layout = size_ == Size::Small ? kSmall : kLarge;
  if (!Window::Create(className, L"Confirmation", kStyle, kExStyle, layout.client.cx, layout.client.cy, owner)) {
    return false;
  }
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  const auto control = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, Handle(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  const DWORD align = size_ == Size::Small ? SS_CENTER : SS_LEFT;
  question_ = control(L"STATIC", L"Are you sure...?", align | SS_NOPREFIX, 100);
  picture_ = control(L"STATIC", nullptr, SS_ICON, 101);
  ::SendMessageW(picture_, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_QUESTION)), 0);
  // Tab order: the box, Yes, No. Neither button is the default one.
  box_ = control(L"BUTTON", L"Don't Show this message again", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 102);
  yes_ = control(L"BUTTON", L"Yes", BS_PUSHBUTTON | WS_TABSTOP, IDYES);
  no_ = control(L"BUTTON", L"No", BS_PUSHBUTTON | WS_TABSTOP, IDNO);
  Layout();
  return true;
}

void ConfirmDialog::Layout() {
  dpi_ = DpiOf(Handle());
  const auto& layout = size_ == Size::Small ? kSmall : kLarge;
  font_.Reset(::CreateFontW(-Scale(11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma"));
  RECT frame{0, 0, Scale(layout.client.cx), Scale(layout.client.cy)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // Centred on the screen the dialog is on.
  MONITORINFO monitor{sizeof monitor};
  ::GetMonitorInfoW(::MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  ::SetWindowPos(Handle(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  const auto place = [&](HWND child, const Box& b) {
    ::MoveWindow(child, Scale(b.x), Scale(b.y), Scale(b.width), Scale(b.height), FALSE);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  };
  place(picture_, layout.picture);
  place(box_, layout.box);
  place(yes_, layout.yes);
  place(no_, layout.no);
  // The question is centred vertically in its box: measure it, then place it.
  place(question_, layout.question);
  wchar_t text[2048] = {};
  ::GetWindowTextW(question_, text, 2048);
  HDC dc = ::GetDC(question_);
  HGDIOBJ old = ::SelectObject(dc, font_.Get());
  RECT measured{0, 0, Scale(layout.question.width), 0};
  ::DrawTextW(dc, text, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(question_, dc);
  const int boxHeight = Scale(layout.question.height);
  const int textHeight = std::min<int>(measured.bottom, boxHeight);
  ::MoveWindow(question_, Scale(layout.question.x), Scale(layout.question.y) + (boxHeight - textHeight) / 2,
               Scale(layout.question.width), textHeight, TRUE);
}

void ConfirmDialog::SetQuestion(const std::u16string& question) {
  ::SetWindowTextW(question_, AsWide(question));
  Layout();
}

void ConfirmDialog::SetDontShowAgain(bool checked) {
  ::SendMessageW(box_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool ConfirmDialog::DontShowAgain() const { return ::SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

DialogResult ConfirmDialog::ShowModal() {
  answered_ = false;
  result_ = DialogResult::No;
  Layout();
  if (TraceEnabled()) Trace("confirm shown");
  {
    ModalScope modal;
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    ::SetFocus(box_);
    RunModalLoop(Handle(), [this] { return answered_; });
    ::ShowWindow(Handle(), SW_HIDE);
  }
  if (TraceEnabled()) {
    Trace(std::string("confirm answer=") + (result_ == DialogResult::Yes ? "yes" : "no") +
          " box=" + (DontShowAgain() ? "1" : "0"));
  }
  return result_;
}

LRESULT ConfirmDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDYES:
          result_ = DialogResult::Yes;
          answered_ = true;
          return 0;
        case IDNO:
        case IDCANCEL:  // Esc
          result_ = DialogResult::No;
          answered_ = true;
          return 0;
        default:
          break;
      }
      break;
    case WM_CLOSE:  // Alt+F4: as No
      result_ = DialogResult::No;
      answered_ = true;
      return 0;
    case WM_DPICHANGED:
      Layout();
      return 0;
    case WM_CTLCOLORSTATIC:
      break;
    default:
      break;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace wrenfold::win32
