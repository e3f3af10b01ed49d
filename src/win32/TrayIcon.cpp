#include "win32/TrayIcon.h"

#include "platform/Text.h"
#include "platform/Trace.h"
#include "win32/Win32Text.h"

namespace wrenfold::win32 {

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = id_;
  data.uFlags = flags;
  data.uCallbackMessage = callbackMessage_;
  data.hIcon = icon_;
  const auto clipped =
      ClipUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(tooltip_.data()), tooltip_.size()), kMaxTooltip);
  std::copy(clipped.begin(), clipped.end(), data.szTip);
  data.szTip[clipped.size()] = L'\0';
  return data;
}

bool TrayIcon::Show(HWND owner, HICON icon, const std::wstring& tooltip) {
  owner_ = owner;
  icon_ = icon;
  tooltip_ = tooltip;
  wanted_ = true;
  auto data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (shown_) return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  shown_ = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  if (TraceEnabled()) Trace("tray add id=" + std::to_string(id_) + (shown_ ? " ok tip=" : " refused tip=") + Narrow(tooltip));
  return shown_;
}

void TrayIcon::Remove() {
  wanted_ = false;
  if (!shown_) return;
  shown_ = false;
  auto data = Data(0);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
  if (TraceEnabled()) Trace("tray delete id=" + std::to_string(id_));
}

void TrayIcon::Restore() {
  if (!wanted_) return;
  auto data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  const bool added = ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  shown_ = shown_ || added;
  if (TraceEnabled()) Trace("tray restore id=" + std::to_string(id_) + (added ? " ok" : " refused"));
}

}  // namespace wrenfold::win32
