#pragma once

#include <windows.h>

#include <functional>

namespace wrenfold::win32 {

// Every message our loops retrieve passes this filter first; true means it was consumed.
using MessageFilter = std::function<bool(const MSG&)>;
void SetMessageFilter(MessageFilter filter);

// Runs until WM_QUIT; gives its exit code.
int RunMessageLoop();
// Handles what is already waiting, then returns. A quit request stays queued for the main loop.
void ProcessWaitingMessages();

}  // namespace wrenfold::win32
