"""Start-up, single instance, the hooks library, the main tray icon and menu, start at logon and
shut-down, with the real program under Wine."""

import shutil
import time
import unittest

import harness
from harness import E2ETestCase, wait_for, windows_path
from program import (FIRST_RUN_FILE, UNINSTALL_KEY, WM_QUERYENDSESSION, Wrenfold, data_folder, hex_handle,
                     startup_shortcut)

UPDATE_ITEMS = ["Quillmoor Utilities Automatic Updates", "Update Quillmoor Utilities"]
# The menu as shown with no window held and no other window on the desktop: separators at either end
# are not shown, and the commands over all windows have nothing to act on.
FIXED_ITEMS = [*UPDATE_ITEMS, "-", "Wrenfold Help", "About Wrenfold", "Wrenfold Settings", "-",
               "Close all windows", "-", "Restore all windows[off]", "Hide all windows to tray[off]",
               "Minimize all windows to tray[off]", "-", "Exit Wrenfold"]


def clean_profile():
    shutil.rmtree(data_folder(), ignore_errors=True)
    startup_shortcut().unlink(missing_ok=True)
    harness.reg_delete(UNINSTALL_KEY)


class StartUp(E2ETestCase):
    def setUp(self):
        super().setUp()
        clean_profile()
        self.addCleanup(clean_profile)
        self.desk = self.desktop()
        self.program = Wrenfold(self, self.desk)

    def test_first_start_writes_the_settings_and_the_startup_shortcut(self):
        self.program.start()
        self.assertEqual((data_folder() / "wrenfold.ini").read_bytes(), FIRST_RUN_FILE)
        link = startup_shortcut().read_bytes()
        self.assertIn(windows_path(self.program.exe).encode(), link)
        self.assertEqual(self.program.trace_texts(r"^tray add id=1 ok tip=Wrenfold v\.1\.0\.0\.0 \(EN\)$"),
                         ["tray add id=1 ok tip=Wrenfold v.1.0.0.0 (EN)"])

    def test_a_filled_settings_file_and_a_deleted_shortcut_are_left_alone(self):
        data_folder().mkdir(parents=True)
        content = b"[Default]\r\nHideByRC=0\r\n; mine\r\n"
        (data_folder() / "wrenfold.ini").write_bytes(content)
        self.program.start()
        self.assertEqual((data_folder() / "wrenfold.ini").read_bytes(), content)
        self.assertFalse(startup_shortcut().exists())

    def test_a_second_start_wakes_the_first_and_ends_at_once(self):
        self.program.start()
        first_pid = self.program.trace()[-1][0]
        app = self.program.app_window()
        self.desk.start(self.program.exe, env={"WRENFOLD_TRACE": windows_path(self.program.trace_file)})
        _, end_tick, _ = self.program.wait_trace("another instance runs", timeout=30)
        second = [entry for entry in self.program.trace() if entry[0] != first_pid]
        self.assertEqual([text for _, _, text in second], ["process start", "another instance runs; process end"])
        self.assertLess(end_tick - second[0][1], 1000, "the second instance took a second or more")
        self.assertEqual(len(self.program.trace_texts(r"^tray add")), 1)
        self.assertIsNone(self.desk.find("#32770", timeout=1), "a message was shown")
        wait_for(lambda: self.desk.foreground()["hwnd"] == app["hwnd"], 5, 0.3,
                 "the first instance's application window did not come forward")

    def test_exit_from_the_tray_menu_ends_the_program_and_removes_its_icon(self):
        self.program.start()
        point = wait_for(self.desk.tray_icon_point, 10, 0.3, "no tray icon")
        before = len(self.program.trace())
        self.desk.click(*point, button=3)
        items = self.program.menu_opened(after=before)
        self.assertEqual(items[-1], "Exit Wrenfold")
        self.program.choose_last_menu_item()
        self.assertTrue(self.program.process.wait_exit(20), "the program did not end")
        texts = self.program.trace_texts()
        self.assertIn("tray delete id=1", texts)
        self.assertEqual(texts.count("hooks released"), 1)

    def test_wm_close_from_another_program_ends_it(self):
        self.program.start()
        self.program.exit_by_message()
        self.assertEqual(self.program.trace_texts().count("hooks released"), 1)

    def test_the_session_end_is_answered_yes_and_the_hooks_go_once(self):
        self.program.start()
        answer = self.desk.send(self.program.options_window()["hwnd"], WM_QUERYENDSESSION)
        self.assertEqual(answer["result"], 1)
        self.assertTrue(self.program.process.wait_exit(20), "the program did not end")
        texts = self.program.trace_texts()
        self.assertEqual(texts.count("hooks released"), 1)
        self.assertLess(texts.index("hooks released"), texts.index("process end"))

    def test_update_items_follow_the_uninstall_key(self):
        for present in (False, True):
            with self.subTest(key=present):
                if present:
                    harness.reg_add(UNINSTALL_KEY, "ModifyPath", r"C:\Quillmoor\updater.exe")
                program = Wrenfold(self, self.desktop(), folder=self.tmp / f"app{int(present)}")
                program.start()
                items = program.open_menu_by_message()
                program.close_menu()
                expected = FIXED_ITEMS if present else FIXED_ITEMS[len(UPDATE_ITEMS) + 1:]
                self.assertEqual(items, expected)
                program.exit_by_message()

    def test_from_a_removable_drive_the_settings_live_beside_the_program(self):
        harness.reg_add(UNINSTALL_KEY, "ModifyPath", r"C:\Quillmoor\updater.exe")
        folder = self.tmp / "stick"
        drive = self.removable_drive("r", folder)
        program = Wrenfold(self, self.desk, folder=folder)
        program.start(exe_path=drive + "wrenfold.exe")
        self.assertEqual((folder / "wrenfold.ini").read_bytes(), FIRST_RUN_FILE)
        self.assertFalse((data_folder() / "wrenfold.ini").exists())
        items = program.open_menu_by_message()
        program.close_menu()
        for item in UPDATE_ITEMS:
            self.assertNotIn(item, items)


class HooksLibraryFailures(E2ETestCase):
    def setUp(self):
        super().setUp()
        clean_profile()
        self.addCleanup(clean_profile)
        self.desk = self.desktop()

    def expect_start_up_message(self, program, text):
        program.start(wait=False)
        box = self.desk.find("#32770", "Wrenfold", timeout=30, visible=True)
        self.assertIsNotNone(box, "no message box")
        texts = [child["text"] for child in self.desk.children(box["hwnd"])]
        self.assertIn(text, texts)
        self.desk.key("Return")
        self.assertTrue(program.process.wait_exit(20), "the program went on after the message")
        self.assertNotIn("started", program.trace_texts())

    def test_a_missing_library(self):
        program = Wrenfold(self, self.desk, hooks=False)
        self.expect_start_up_message(program, "Hooks library wfnhooks.dll was not found!")

    def test_a_library_that_cannot_register(self):
        for stand_in in ("fakehooks_noregister.dll", "fakehooks_refuses.dll"):
            with self.subTest(library=stand_in):
                program = Wrenfold(self, self.desk, folder=self.tmp / stand_in, hooks=False)
                shutil.copy2(harness.bin_dir() / stand_in, program.folder / "wfnhooks.dll")
                self.expect_start_up_message(program, "Unable to load hooks library wfnhooks.dll!")


class HookReports(E2ETestCase):
    def setUp(self):
        super().setUp()
        clean_profile()
        self.addCleanup(clean_profile)
        self.desk = self.desktop()

    def test_a_right_click_on_minimize_reaches_the_program(self):
        program = Wrenfold(self, self.desk)
        program.start()
        self.desk.start("notepad")
        notepad = self.desk.find("Notepad", timeout=20, visible=True)
        point = self.desk.hittest(notepad["hwnd"], harness.HTMINBUTTON)
        self.assertIsNotNone(point, "no Minimize button found")
        before = len(program.trace())
        self.desk.click(*point, button=3)
        _, _, text = program.wait_trace(r"^hooks message ", after=before)
        self.assertEqual(text, f"hooks message window={hex_handle(notepad['hwnd'])} code=0xD001")
        time.sleep(0.5)
        self.assertFalse(self.desk.window(notepad["hwnd"])["iconic"], "the click also minimized the window")


if __name__ == "__main__":
    unittest.main()
