#pragma once

#include <string>
#include <string_view>

#include "platform/Desktop.h"
#include "platform/Text.h"

namespace wrenfold {

// Small questions about a window, asked of the desktop. None of them fails: a handle that no
// longer names a window gives an empty title and path, and false.

[[nodiscard]] std::u16string ReadWindowTitle(const IDesktop& desktop, WindowId window);
[[nodiscard]] std::string ExePathOfWindow(const IDesktop& desktop, WindowId window);

// A visible window without owner (or owned by the desktop) that is no tool window, unless it
// also asks for a task-bar button.
[[nodiscard]] bool IsTopAppWindow(const IDesktop& desktop, WindowId window);

// The window that stands for the given window's application: the first main application window on
// its owner chain, starting with the window itself; null when the chain ends first.
[[nodiscard]] WindowId TopLevelOwner(const IDesktop& desktop, WindowId window);

// The desktop window, explorer's "Program Manager", and any window titled "Start".
[[nodiscard]] bool IsShellWindow(const IDesktop& desktop, const ITextServices& text, WindowId window);

// Whether an executable path is our own (compared without regard to case; empty is never ours).
[[nodiscard]] bool IsOwnExecutable(const ITextServices& text, std::string_view exePath, std::string_view ownExePath);

// A window of a process that runs our own executable.
[[nodiscard]] bool IsOwnWindow(const IDesktop& desktop, const ITextServices& text, WindowId window,
                               std::string_view ownExePath);

// Not empty and none of < > " [ ] |.
[[nodiscard]] bool HasValidFileChars(std::string_view text);

// A plain file name: no folder, no drive, nothing lost in the ANSI code page, valid characters.
[[nodiscard]] bool IsBareFileName(const ITextServices& text, std::u16string_view name);

}  // namespace wrenfold
