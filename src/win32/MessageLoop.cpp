#include "win32/MessageLoop.h"

namespace wrenfold::win32 {
namespace {

MessageFilter& Filter() {
  static MessageFilter filter;
  return filter;
}

void Deliver(const MSG& message) {
  if (Filter() && Filter()(message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

}  // namespace

void SetMessageFilter(MessageFilter filter) { Filter() = std::move(filter); }

int RunMessageLoop() {
  MSG message{};
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(message);
  return static_cast<int>(message.wParam);
}

void RunModalLoop(HWND dialog, const std::function<bool()>& done) {
  MSG message{};
  while (!done()) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (Filter() && Filter()(message)) continue;
    if (::IsDialogMessageW(dialog, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void ProcessWaitingMessages() {
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Deliver(message);
  }
}

}  // namespace wrenfold::win32
