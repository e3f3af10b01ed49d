#pragma once
// What wfnhooks.dll tells the program, and how it decides. Shared by the library, the program
// and the tests; no <windows.h> here.

#include <cstdint>

#include "trayer/TraySettings.h"

namespace wrenfold::hooks {

// Name of the registered window message posted to the program's application window
// (RegisterWindowMessageW). wParam: the top-level window clicked; lParam: a HookEvent.
inline constexpr wchar_t kMessageName[] = L"wfnhooksmsg";
// Class of the program's hidden application window, the one the messages go to.
inline constexpr wchar_t kApplicationWindowClass[] = L"TApplication";

enum class HookEvent : std::uint32_t {
  Hide = 0xD000,               // right click on Minimize, the application's destination is Hide
  Tray = 0xD001,               // right click on Minimize, destination Tray
  CloseRightClick = 0xD002,    // right click on Close
  MinimizeLeftClick = 0xD003,  // plain left click on Minimize
  TrayAlt = 0xD010,            // Shift + right click anywhere on the caption, buttons included
};

enum class MouseButton : std::uint8_t { Left, Right };

struct Modifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// The WM_NCHITTEST answers the decision looks at (the values Windows gives them).
namespace hit {
inline constexpr int Caption = 2;    // HTCAPTION
inline constexpr int SysMenu = 3;    // HTSYSMENU
inline constexpr int MinButton = 8;  // HTMINBUTTON, HTREDUCE
inline constexpr int MaxButton = 9;  // HTMAXBUTTON, HTZOOM
inline constexpr int Close = 20;     // HTCLOSE
inline constexpr int Help = 21;      // HTHELP
}  // namespace hit

// What a button press on a part of a window's frame means to the program.
enum class Gesture : std::uint8_t {
  None,                    // not ours: the click goes on untouched
  MinimizeRightClick,      // reported as Hide or Tray, after the application's settings
  CloseRightClick,
  MinimizeLeftClick,
  CaptionShiftRightClick,  // reported as TrayAlt
};

[[nodiscard]] constexpr bool IsCaptionPart(int hitCode) {
  return hitCode == hit::Caption || hitCode == hit::SysMenu || hitCode == hit::MinButton ||
         hitCode == hit::MaxButton || hitCode == hit::Close || hitCode == hit::Help;
}

// Shift + right click wins anywhere on the caption. A left click on Minimize counts only when plain:
// with Shift, Ctrl or Alt held it is left alone, so the user can still minimize the usual way.
[[nodiscard]] constexpr Gesture ClassifyPress(MouseButton button, Modifiers held, int hitCode) {
  if (button == MouseButton::Right) {
    if (held.shift) return IsCaptionPart(hitCode) ? Gesture::CaptionShiftRightClick : Gesture::None;
    if (hitCode == hit::MinButton) return Gesture::MinimizeRightClick;
    if (hitCode == hit::Close) return Gesture::CloseRightClick;
    return Gesture::None;
  }
  const bool plain = !held.shift && !held.control && !held.alt;
  return plain && hitCode == hit::MinButton ? Gesture::MinimizeLeftClick : Gesture::None;
}

// The event of a gesture other than None; `destination` counts for MinimizeRightClick only.
[[nodiscard]] constexpr HookEvent EventFor(Gesture gesture, TrayingDestination destination) {
  switch (gesture) {
    case Gesture::MinimizeRightClick:
      return destination == TrayingDestination::Hide ? HookEvent::Hide : HookEvent::Tray;
    case Gesture::CloseRightClick:
      return HookEvent::CloseRightClick;
    case Gesture::MinimizeLeftClick:
      return HookEvent::MinimizeLeftClick;
    case Gesture::CaptionShiftRightClick:
    case Gesture::None:
      break;
  }
  return HookEvent::TrayAlt;
}

}  // namespace wrenfold::hooks
