#pragma once

#include <windows.h>

#include <functional>

namespace wrenfold::win32 {

// Every message our loops retrieve passes this filter first; true means it was consumed.
using MessageFilter = std::function<bool(const MSG&)>;
void SetMessageFilter(MessageFilter filter);

// Runs until WM_QUIT; gives its exit code.
int RunMessageLoop();
// A modal loop for a dialog of ours: until done() or WM_QUIT (which stays queued), every message
// passes our filter first, then the dialog's keyboard handling (Tab, Esc).
void RunModalLoop(HWND dialog, const std::function<bool()>& done);
// Handles what is already waiting, then returns. A quit request stays queued for the main loop.
void ProcessWaitingMessages();

}  // namespace wrenfold::win32
