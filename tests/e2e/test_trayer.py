"""Putting windows away and bringing them back, with the real program, real clicks and Wine's notepad."""

import statistics
import time
import unittest

import harness
from harness import wait_for
from program import ProgramCase

NOTEPAD_TITLE = "Untitled - Notepad"
WM_CLOSE = 0x0010


class TrayerCase(ProgramCase):
    def notepad(self):
        before = {w["hwnd"] for w in self.desk.windows(hidden=True) if w["class"] == "Notepad"}
        self.desk.start("notepad")
        window = wait_for(lambda: next((w for w in self.desk.windows() if w["class"] == "Notepad"
                                        and w["hwnd"] not in before), None), 20, 0.3, "notepad did not show")
        return window

    def button(self, window, code):
        point = self.desk.hittest(window["hwnd"], code)
        self.assertIsNotNone(point, f"no hit-test {code} on {window['title']}")
        return point

    def visible(self, window):
        state = self.desk.window(window["hwnd"])
        return bool(state and state["visible"])

    def wait_hidden(self, window, timeout=20):
        self.assertTrue(self.desk.wait_visible(window["hwnd"], False, timeout), "the window stayed visible")

    def wait_shown(self, window, timeout=20):
        self.assertTrue(self.desk.wait_visible(window["hwnd"], True, timeout), "the window stayed hidden")

    def icon_tips(self):
        """Tooltips of the per-window icons now in the tray, from the program's trace."""
        tips = {}
        for text in self.program.trace_texts(r"^tray (add|delete) id="):
            words = text.split(" ", 4)
            icon = int(words[2][3:])
            if icon < 100:
                continue
            if words[1] == "add" and words[3] == "ok":
                tips[icon] = text.split(" tip=", 1)[1]
            elif words[1] == "delete":
                tips.pop(icon, None)
        return tips


class ToTheTray(TrayerCase):
    def test_right_click_on_minimize_and_a_click_on_the_icon(self):
        notepad = self.notepad()
        self.desk.click(*self.button(notepad, harness.HTMINBUTTON), button=3)
        self.wait_hidden(notepad)
        self.assertEqual(list(self.icon_tips().values()), [NOTEPAD_TITLE])

        point = wait_for(lambda: self.desk.tray_icon_point(1), 10, 0.3, "no second tray icon")
        self.desk.click(*point)
        self.wait_shown(notepad)
        wait_for(lambda: self.desk.foreground()["hwnd"] == notepad["hwnd"], 5, 0.3, "notepad is not in front")
        self.assertEqual(self.icon_tips(), {})

    def test_shift_and_a_right_click_on_the_caption(self):
        notepad = self.notepad()
        self.desk.click(*self.button(notepad, harness.HTCAPTION), button=3, modifiers=("shift",))
        self.wait_hidden(notepad)
        self.assertEqual(list(self.icon_tips().values()), [NOTEPAD_TITLE])

    def test_our_own_windows_are_never_put_away(self):
        options = self.program.options_window()
        self.desk.post(options["hwnd"], 0x8001, 1, 0x0203)  # a double click on the tray icon
        self.assertTrue(self.desk.wait_visible(options["hwnd"], True, 10), "the settings window did not open")
        options = self.desk.window(options["hwnd"])
        self.desk.click(*self.button(options, harness.HTCLOSE), button=3)
        self.desk.click(*self.button(options, harness.HTCAPTION), button=3, modifiers=("shift",))
        time.sleep(1)
        self.assertTrue(self.visible(options))
        self.assertEqual(self.icon_tips(), {})

    def test_exit_brings_every_held_window_back(self):
        windows = [self.notepad() for _ in range(3)]
        # The newest lies on top of the others' buttons.
        for window in reversed(windows):
            self.desk.click(*self.button(window, harness.HTMINBUTTON), button=3)
            self.wait_hidden(window)
        self.assertEqual(len(self.icon_tips()), 3)
        self.program.exit_by_message()
        for window in windows:
            self.assertTrue(self.visible(window), f"{window['hwnd']} stayed hidden")
        self.assertEqual(self.icon_tips(), {})


class LeftClickOnMinimize(TrayerCase):
    settings = {"ReplMinWithTray": 1}

    def test_goes_to_the_tray_when_asked(self):
        notepad = self.notepad()
        self.desk.click(*self.button(notepad, harness.HTMINBUTTON))
        self.wait_hidden(notepad)
        self.assertEqual(list(self.icon_tips().values()), [NOTEPAD_TITLE])


class LeftClickOnMinimizeAsUsual(TrayerCase):
    settings = {"ReplMinWithTray": 0}

    def test_minimizes_as_usual(self):
        notepad = self.notepad()
        self.desk.click(*self.button(notepad, harness.HTMINBUTTON))
        wait_for(lambda: self.desk.window(notepad["hwnd"])["iconic"], 10, 0.3, "notepad did not minimize")
        self.assertEqual(self.icon_tips(), {})


class HideBehindAnEntry(TrayerCase):
    settings = {"RCMinDest": 1, "HideByRC": 1}

    def test_right_click_on_minimize_gives_an_entry_at_the_top_of_the_menu(self):
        notepad = self.notepad()
        self.desk.click(*self.button(notepad, harness.HTMINBUTTON), button=3)
        self.wait_hidden(notepad)
        self.assertEqual(self.icon_tips(), {})
        items = self.program.open_menu_by_message()
        self.assertEqual(items[:2], [NOTEPAD_TITLE, "-"])
        menu = self.desk.find("#32768", timeout=5, visible=True)
        left, top, right, _ = menu["rect"]
        self.desk.click((left + right) // 2, top + 12)
        self.wait_shown(notepad)

    def test_right_click_on_close_hides(self):
        notepad = self.notepad()
        self.desk.click(*self.button(notepad, harness.HTCLOSE), button=3)
        self.wait_hidden(notepad)
        self.assertIsNotNone(self.desk.window(notepad["hwnd"]), "notepad was closed")

    def test_a_window_closed_while_held_loses_its_entry(self):
        notepad = self.notepad()
        self.desk.click(*self.button(notepad, harness.HTMINBUTTON), button=3)
        self.wait_hidden(notepad)
        self.desk.post(notepad["hwnd"], WM_CLOSE)
        self.assertTrue(self.desk.wait_gone(notepad["hwnd"], 10))
        items = self.program.open_menu_by_message()
        self.program.close_menu()
        self.assertNotIn(NOTEPAD_TITLE, items)
        self.assertEqual(items[-1], "Exit Wrenfold")


class RightClickOnCloseWithoutHideByRC(TrayerCase):
    settings = {"HideByRC": 0}

    def test_does_nothing(self):
        notepad = self.notepad()
        before = len(self.program.trace())
        self.desk.click(*self.button(notepad, harness.HTCLOSE), button=3)
        self.program.wait_trace(r"^hooks message .* code=0xD002$", after=before)
        time.sleep(0.5)
        self.assertTrue(self.visible(notepad))
        self.assertEqual(self.icon_tips(), {})


def now_ms():
    """Wine's tick count runs on this clock, so program trace times and ours compare directly."""
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW) * 1000


class Timing(TrayerCase):
    """Times a real right click on Minimize until the program has hidden the window, and a real
    click on its icon until the program has shown it again; prints the medians."""
    rounds = 20

    def move_to(self, point):
        # The pointer goes there first, so that only the click itself is timed.
        harness.xdotool("mousemove", "--sync", *self.desk.to_screen(*point))
        time.sleep(0.2)

    def test_round_trips(self):
        notepad = self.notepad()
        away, back = [], []
        for _ in range(self.rounds):
            point = self.button(self.desk.window(notepad["hwnd"]), harness.HTMINBUTTON)
            before = len(self.program.trace())
            self.move_to(point)
            start = now_ms()
            self.desk.click(*point, button=3)
            _, tick, _ = self.program.wait_trace(f"^put away window={notepad['hwnd']}$", after=before)
            away.append(tick - start)
            self.wait_hidden(notepad)
            icon = wait_for(lambda: self.desk.tray_icon_point(1), 10, 0.1, "no icon")
            before = len(self.program.trace())
            self.move_to(icon)
            start = now_ms()
            self.desk.click(*icon)
            _, tick, _ = self.program.wait_trace(f"^brought back window={notepad['hwnd']}$", after=before)
            back.append(tick - start)
            self.wait_shown(notepad)
        for label, times in (("put away", away), ("brought back", back)):
            self.assertTrue(all(0 <= t < 5000 for t in times), f"{label}: {times} (do the clocks differ?)")
        print(f"\nright click on Minimize until hidden: median {statistics.median(away):.0f} ms; "
              f"click on the icon until shown: median {statistics.median(back):.0f} ms ({self.rounds} rounds, "
              "from the start of xdotool's click, the pointer already there, to the program's trace)")


if __name__ == "__main__":
    unittest.main()
