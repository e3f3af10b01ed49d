"""The commands over all windows, the watch over held windows and the close-all confirmation, with the
real program under Wine."""

import statistics
import time
import unittest

import harness
from harness import wait_for
from program import ProgramCase, Wrenfold, data_folder, plain

TEST_WINDOW = "WrenfoldTestWindow"
MINIMIZE_ALL = "Minimize all windows to tray"
HIDE_ALL = "Hide all windows to tray"
RESTORE_ALL = "Restore all windows"
CLOSE_ALL = "Close all windows"


def settings_text():
    return (data_folder() / "wrenfold.ini").read_text()


class BulkCase(ProgramCase):
    def test_windows(self, count=None, reshow=None):
        """Windows of one wftestwindow process; a list of their states, in the desktop's order."""
        args = ["40", "40"] + (["--count", count] if count else []) + (["--reshow", reshow] if reshow else [])
        self.desk.start(harness.bin_dir() / "wftestwindow.exe", *args)
        expected = count or 1
        return wait_for(lambda: (lambda found: found if len(found) == expected else None)(
            [w for w in self.desk.windows() if w["class"] == TEST_WINDOW]), 30, 0.3, "the test windows did not show")

    def notepads(self, count):
        for _ in range(count):
            self.desk.start("notepad")
        return wait_for(lambda: (lambda found: found if len(found) == count else None)(
            [w for w in self.desk.windows() if w["class"] == "Notepad"]), 30, 0.3, "notepads did not show")

    def run_command(self, caption):
        """Opens the tray menu and chooses a command; waits until the command has run."""
        items = self.program.open_menu_by_message()
        self.assertNotIn(caption + "[off]", items, f"{caption} is disabled")
        before = len(self.program.trace())
        self.program.choose_menu_item(items, caption)
        return before

    def wait_done(self, before, timeout=60):
        return self.program.wait_trace(r"^command \d+ done$", after=before, timeout=timeout)

    def visible(self, hwnd):
        state = self.desk.window(hwnd)
        return bool(state and state["visible"])

    def icons(self):
        """Ids of the per-window tray icons present now, from the trace."""
        present = set()
        for text in self.program.trace_texts(r"^tray (add|delete) id=\d+"):
            words = text.split(" ")
            icon = int(words[2][3:])
            if icon < 100:
                continue
            if words[1] == "add" and words[3] == "ok":
                present.add(icon)
            elif words[1] == "delete":
                present.discard(icon)
        return present


class AllWindows(BulkCase):
    def test_minimize_all_then_restore_all(self):
        windows = self.notepads(3)
        self.wait_done(self.run_command(MINIMIZE_ALL))
        for window in windows:
            self.assertTrue(self.desk.wait_visible(window["hwnd"], False, 10))
        self.assertEqual(len(self.icons()), 3)
        put_away = [int(t.split("=")[1]) for t in self.program.trace_texts(r"^put away window=")]

        self.wait_done(self.run_command(RESTORE_ALL))
        for window in windows:
            self.assertTrue(self.desk.wait_visible(window["hwnd"], True, 10))
        self.assertEqual(self.icons(), set())
        wait_for(lambda: self.desk.foreground()["hwnd"] == put_away[-1], 5, 0.3,
                 "the window put away last is not in front")

    def test_hide_all_lists_entries_in_reverse_enumeration_order(self):
        windows = self.test_windows(count=3)
        order = [w["title"] for w in windows]
        self.wait_done(self.run_command(HIDE_ALL))
        items = self.program.open_menu_by_message()
        self.program.close_menu()
        self.assertEqual(items[:4], list(reversed(order)) + ["-"])
        for window in windows:
            self.assertFalse(self.visible(window["hwnd"]))

    def test_the_menu_enables_what_can_act(self):
        items = self.program.open_menu_by_message()
        self.program.close_menu()
        self.assertIn(RESTORE_ALL + "[off]", items)
        self.test_windows()
        items = self.program.open_menu_by_message()
        self.program.close_menu()
        self.assertIn(MINIMIZE_ALL + "[off]", items)
        self.assertIn(HIDE_ALL + "[off]", items)
        self.notepads(1)
        items = self.program.open_menu_by_message()
        self.program.close_menu()
        self.assertIn(MINIMIZE_ALL, items)
        self.assertIn(HIDE_ALL, items)


class TheWatch(BulkCase):
    settings = {"ShowOnFocusSteal": 0}

    def test_a_window_that_shows_itself_is_hidden_again(self):
        window, = self.test_windows(reshow=800)
        point = self.desk.hittest(window["hwnd"], harness.HTMINBUTTON)
        self.desk.click(*point, button=3)
        self.program.wait_trace(f"^put away window={window['hwnd']}$")
        self.program.wait_trace(f"^watch hid again window={window['hwnd']}$", timeout=10)
        time.sleep(1)
        self.assertFalse(self.visible(window["hwnd"]))
        self.assertEqual(len(self.icons()), 1)


class TheWatchLetsBack(BulkCase):
    settings = {"ShowOnFocusSteal": 1}

    def test_a_window_that_shows_itself_is_let_back(self):
        window, = self.test_windows(reshow=800)
        point = self.desk.hittest(window["hwnd"], harness.HTMINBUTTON)
        self.desk.click(*point, button=3)
        self.program.wait_trace(f"^put away window={window['hwnd']}$")
        self.program.wait_trace(f"^watch let back window={window['hwnd']}$", timeout=10)
        self.assertTrue(self.visible(window["hwnd"]))
        self.assertEqual(self.icons(), set())


class CloseAll(BulkCase):
    def answer(self, yes, tick):
        dialog = self.desk.find("TfDlgDontShowAgain", "Confirmation", timeout=20, visible=True)
        self.assertIsNotNone(dialog, "no confirmation")
        controls = {c["text"]: c for c in self.desk.children(dialog["hwnd"])}
        self.assertIn("Are you sure that you want to close all windows?", controls)
        self.assertEqual(self.desk.window(dialog["hwnd"])["style"] & 0x00080000, 0, "title-bar buttons")

        def centre(control):
            left, top, right, bottom = control["rect"]
            return (left + right) // 2, (top + bottom) // 2
        if tick:
            self.desk.click(*centre(controls["Don't Show this message again"]))
        self.desk.click(*centre(controls["Yes" if yes else "No"]))

    def test_no_closes_nothing_and_yes_with_the_box_stops_asking(self):
        windows = self.notepads(2)
        before = self.run_command(CLOSE_ALL)
        self.answer(yes=False, tick=True)
        self.wait_done(before)
        time.sleep(0.5)
        for window in windows:
            self.assertTrue(self.visible(window["hwnd"]))
        self.assertNotIn("DontShowCloseAllConf=1", settings_text())

        before = self.run_command(CLOSE_ALL)
        self.answer(yes=True, tick=True)
        self.wait_done(before)
        for window in windows:
            self.assertTrue(self.desk.wait_gone(window["hwnd"], 15), "a window stayed open")
        self.assertIn("DontShowCloseAllConf=1", settings_text())

        # After a restart it closes without asking.
        self.program.exit_by_message()
        self.desk = self.desktop()
        self.program = Wrenfold(self, self.desk, folder=self.tmp / "again")
        restarted = len(self.program.trace())
        self.program.start()
        windows = self.notepads(2)
        self.wait_done(self.run_command(CLOSE_ALL))
        for window in windows:
            self.assertTrue(self.desk.wait_gone(window["hwnd"], 15), "a window stayed open")
        self.assertNotIn("confirm shown", [text for _, _, text in self.program.trace()[restarted:]])


class Timing(BulkCase):
    """TrayAllWindows over 200 windows, against 200 single right-click trays; prints both."""
    count = 200

    def test_tray_all_against_single_clicks(self):
        windows = self.test_windows(count=self.count)
        before = self.run_command(MINIMIZE_ALL)
        _, done, _ = self.wait_done(before, timeout=300)
        start = next(tick for _, tick, text in self.program.trace()[before:] if text == "command 1012")
        held = len(self.program.trace_texts(r"^put away window="))
        self.assertEqual(held, self.count)
        bulk = done - start
        self.wait_done(self.run_command(RESTORE_ALL), timeout=300)

        # The windows lie stacked at one place: each click puts away the one on top.
        point = self.desk.hittest(windows[0]["hwnd"], harness.HTMINBUTTON)
        harness.xdotool("mousemove", "--sync", *self.desk.to_screen(*point))
        singles = []
        for _ in range(self.count):
            before = len(self.program.trace())
            start = time.clock_gettime(time.CLOCK_MONOTONIC_RAW) * 1000
            self.desk.click(*point, button=3)
            _, tick, _ = self.program.wait_trace(r"^put away window=", after=before)
            singles.append(tick - start)
        print(f"\nTrayAllWindows over {self.count} windows: {bulk} ms in all, {bulk / self.count:.1f} ms a window; "
              f"{self.count} single right-click trays: {sum(singles):.0f} ms in all, median "
              f"{statistics.median(singles):.0f} ms a click")


if __name__ == "__main__":
    unittest.main()
