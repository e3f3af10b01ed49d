"""Checks the end-to-end harness itself against Wine's own notepad: if these fail, a failing
end-to-end test says nothing about the program."""

import unittest

import harness
from harness import E2ETestCase, wait_for


class DesktopAndProbeTest(E2ETestCase):
    def start_notepad(self, desktop):
        desktop.start("notepad")
        window = desktop.find("Notepad", timeout=20, visible=True)
        self.assertIsNotNone(window, "notepad's window did not show up in the desktop")
        return window

    def test_probe_reports_notepad_in_its_desktop(self):
        desktop = self.desktop()
        window = self.start_notepad(desktop)
        self.assertTrue(window["exe"].lower().endswith("\\notepad.exe"), window["exe"])
        self.assertTrue(window["visible"])
        self.assertFalse(window["iconic"])
        left, top, right, bottom = window["rect"]
        width, height = harness.DESKTOP_SIZE
        self.assertTrue(0 <= left < right <= width and 0 <= top < bottom <= height, window["rect"])
        self.assertIn(window["hwnd"], [w["hwnd"] for w in desktop.windows()])
        # The filters must really filter: the right pid finds it, another one does not.
        self.assertEqual(desktop.find("notepad", pid=window["pid"], timeout=0)["hwnd"], window["hwnd"])
        self.assertIsNone(desktop.find("Notepad", pid=window["pid"] + 4, timeout=0))
        self.assertIsNone(desktop.find("Notepad", title="no such title", timeout=0))

    def test_titles_travel_in_utf8_both_ways(self):
        document = self.tmp / "grüße.txt"
        document.write_text("x")
        desktop = self.desktop()
        desktop.start("notepad", harness.windows_path(document))
        # Notepad shows "Untitled" for a moment before the document's name: wait for the name.
        window = wait_for(lambda: (lambda w: w if w and w["title"] != "Untitled - Notepad" else None)(
            desktop.find("Notepad", timeout=20, visible=True)), 20, 0.3, "notepad did not show the document")
        self.assertEqual(window["title"], "grüße.txt - Notepad")
        self.assertEqual(desktop.find("Notepad", title="grüße.txt - Notepad", timeout=0)["hwnd"], window["hwnd"])

    def test_left_click_on_minimize_minimizes(self):
        desktop = self.desktop()
        window = self.start_notepad(desktop)
        hwnd = window["hwnd"]
        minimize = desktop.hittest(hwnd, harness.HTMINBUTTON)
        close = desktop.hittest(hwnd, harness.HTCLOSE)
        self.assertIsNotNone(minimize)
        self.assertIsNotNone(close)
        left, top, right, _ = window["rect"]
        self.assertTrue(left < minimize[0] < close[0] < right and top <= minimize[1] < top + 64, (minimize, close))

        desktop.click(*minimize)
        harness.wait_for(lambda: desktop.window(hwnd)["iconic"], 10, message="notepad did not minimize")

    def test_second_program_joins_the_first_ones_desktop(self):
        desktop = self.desktop()
        first = self.start_notepad(desktop)
        desktop.start("notepad")

        def two_notepads():
            found = [w for w in desktop.windows() if w["class"] == "Notepad"]
            return found if len(found) == 2 else None

        both = harness.wait_for(two_notepads, 20, message="the second notepad did not join the desktop")
        self.assertEqual(len({w["pid"] for w in both}), 2)
        self.assertIn(first["hwnd"], [w["hwnd"] for w in both])
        self.assertEqual(desktop.geometry()[2:], harness.DESKTOP_SIZE)

    def test_stop_ends_the_programs_and_the_desktop(self):
        desktop = harness.WineDesktop(log_dir=self.tmp)
        self.addCleanup(desktop.stop)
        first = desktop.start("notepad")
        second = desktop.start("notepad")
        harness.wait_for(lambda: first.running() and second.running(), 20)

        self.assertTrue(desktop.stop(), "stop() needed wineserver -k")
        self.assertFalse(first.running())
        self.assertFalse(second.running())
        harness.wait_for(lambda: desktop.x_window() is None, 10, message="the desktop's X window stayed")

    def test_foreground_and_messages_reach_the_window(self):
        desktop = self.desktop()
        window = self.start_notepad(desktop)
        harness.wait_for(lambda: desktop.foreground()["hwnd"] == window["hwnd"], 10,
                         message="notepad did not become the foreground window")
        self.assertEqual(desktop.post(window["hwnd"], "WM_CLOSE"), {"result": 1})
        self.assertTrue(desktop.wait_gone(window["hwnd"], timeout=10))


class PicturesTest(E2ETestCase):
    def test_screenshot_is_a_png_of_the_screen(self):
        desktop = self.desktop()
        desktop.start("notepad")
        path = desktop.screenshot(self.tmp / "shot.png")
        data = path.read_bytes()
        self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n")
        width, height = int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")
        self.assertGreaterEqual(width, harness.DESKTOP_SIZE[0])
        self.assertGreaterEqual(height, harness.DESKTOP_SIZE[1])

    def test_failing_test_leaves_a_screenshot(self):
        class Failing(E2ETestCase):
            def test_fails(self):
                self.fail("on purpose")

        case = Failing("test_fails")
        expected = harness.FAILURE_DIR / f"{case.id()}.png"
        expected.unlink(missing_ok=True)
        self.addCleanup(expected.unlink, True)
        result = unittest.TestResult()
        case.run(result)
        self.assertEqual(len(result.failures), 1)
        self.assertTrue(expected.is_file(), expected)


class SystemSetupTest(E2ETestCase):
    def test_removable_drive_reports_removable_and_goes_away(self):
        folder = self.tmp / "stick"
        root = harness.make_removable_drive("r", folder)
        try:
            self.assertEqual(root, "R:\\")
            self.assertEqual(harness.probe("drive-type", "R:\\")["type"], harness.DRIVE_REMOVABLE)
            # Files written through the drive land in the folder.
            harness.run_wine("cmd", "/c", "echo hello> R:\\probe.txt")
            self.assertEqual((folder / "probe.txt").read_text().strip(), "hello")
        finally:
            harness.remove_drive("r")
        self.assertEqual(harness.probe("drive-type", "R:\\")["type"], harness.DRIVE_NO_ROOT_DIR)

    def test_registry_value_round_trip(self):
        key = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\WrenfoldHarnessCheck"
        self.addCleanup(harness.reg_delete, key)
        harness.reg_add(key, "DisplayName", "Harness check")
        self.assertEqual(harness.reg_query(key, "DisplayName"), "Harness check")
        harness.reg_delete(key)
        self.assertIsNone(harness.reg_query(key, "DisplayName"))


if __name__ == "__main__":
    unittest.main()
