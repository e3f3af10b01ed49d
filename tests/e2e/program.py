"""The real wrenfold.exe in a test: where it keeps its files, its trace, its windows."""

import getpass
import re
import shutil
from pathlib import Path

import harness
from harness import E2ETestCase, wait_for, windows_path

FIRST_RUN_FILE = (
    b"[Default]\r\n"
    b"RCMinDest=-1\r\n"
    b"ReplMinWithTray=0\r\n"
    b"HideByRC=1\r\n"
    b"ShowOnFocusSteal=1\r\n"
    b"SkipAnimation=0\r\n"
    b"DontShowCancelConf=0\r\n"
    b"DontShowPopupsConf=0\r\n"
    b"DontShowCloseAllConf=0\r\n"
)

UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Quillmoor Utilities"
HOOKS_MESSAGE_CODES = {"hide": 0xD000, "tray": 0xD001, "close": 0xD002, "minimize": 0xD003, "trayalt": 0xD010}

WM_CLOSE = 0x0010
WM_QUERYENDSESSION = 0x0011
TRAY_CALLBACK = 0x8001  # WM_APP + 1
WM_RBUTTONUP = 0x0205
MENU_CLASS = "#32768"
MENU_BORDER, MENU_ITEM, MENU_SEPARATOR = 3, 16, 9


def plain(item):
    """A menu item's caption without the "[off]" the trace marks disabled items with."""
    return item[:-len("[off]")] if item.endswith("[off]") else item


def user_folder():
    """The prefix's profile folder of the user Wine runs as."""
    users = Path(harness.wine_prefix()) / "drive_c" / "users"
    own = users / getpass.getuser()
    return own if own.is_dir() else next(p for p in users.iterdir() if p.name not in ("Public", "public"))


def data_folder():
    """Where the program keeps wrenfold.ini when it does not run from a removable drive."""
    return user_folder() / "Local Settings" / "Application Data" / "Pellbrook" / "QuillmoorUtilities"


def startup_shortcut():
    return (user_folder() / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "StartUp"
            / "Wrenfold.lnk")


def hex_handle(hwnd):
    return f"0x{hwnd:X}"


class Wrenfold:
    """One copy of the program in a folder of the test's, started in a desktop, with its trace."""

    def __init__(self, test, desktop, folder=None, hooks=True):
        self.test = test
        self.desktop = desktop
        self.folder = Path(folder) if folder else test.tmp / "app"
        self.exe = harness.copy_program(self.folder, hooks=hooks)
        self.trace_file = test.tmp / "trace.txt"
        self.process = None

    def start(self, exe_path=None, wait=True):
        """Starts the program (from exe_path, a Windows path, when given); with wait, until it has
        finished starting up."""
        before = len(self.trace())
        env = {"WRENFOLD_TRACE": windows_path(self.trace_file)}
        self.process = self.desktop.start(exe_path or self.exe, env=env)
        if wait:
            self.wait_trace("started", after=before, timeout=30)
        return self.process

    # the trace: lines of "pid tick text"

    def trace(self):
        if not self.trace_file.exists():
            return []
        lines = []
        for line in self.trace_file.read_text(errors="replace").splitlines():
            pid, tick, text = (line.split(" ", 2) + ["", ""])[:3]
            lines.append((int(pid), int(tick), text))
        return lines

    def trace_texts(self, pattern=None):
        texts = [text for _, _, text in self.trace()]
        return [t for t in texts if pattern is None or re.search(pattern, t)]

    def wait_trace(self, pattern, after=0, timeout=10):
        """The first trace entry from position `after` on whose text matches; waits for it."""
        def seen():
            return next((entry for entry in self.trace()[after:] if re.search(pattern, entry[2])), None)
        return wait_for(seen, timeout, 0.2, f"the program's trace never showed {pattern!r}")

    # its windows

    def app_window(self):
        return self.desktop.find("TApplication", "Wrenfold", timeout=10)

    def options_window(self):
        return self.desktop.find("TfrmOptions", timeout=10)

    def open_menu_by_message(self):
        """Opens the main tray menu as a right-button release on the tray icon does; returns the
        captions of its items ("-" for a separator)."""
        before = len(self.trace())
        self.desktop.post(self.options_window()["hwnd"], TRAY_CALLBACK, 1, WM_RBUTTONUP)
        return self.menu_opened(after=before)

    def menu_opened(self, after):
        """The captions of the menu whose opening the trace shows from `after` on, once the menu is
        on the screen and takes keys."""
        _, _, text = self.wait_trace(r"^menu ", after=after)
        self.test.assertIsNotNone(self.desktop.find(MENU_CLASS, timeout=10, visible=True), "the menu did not show")
        return text[len("menu "):].split("|")

    def close_menu(self):
        """Closes the open menu the way a user does: a click elsewhere."""
        menu = self.desktop.find(MENU_CLASS, timeout=5, visible=True)
        left, top, right, bottom = menu["rect"]
        # The menu opens at the pointer, so "elsewhere" is wherever the menu is not.
        x = 100 if left > 300 else right + 100
        self.desktop.click(x, 300)
        wait_for(self._menu_closed, 10, 0.2, "the menu stayed open")

    def choose_menu_item(self, items, caption):
        """Clicks the item of the open menu with this caption; `items` as the menu's opening gave them.

        Wine draws a menu with a 3-pixel border, 16-pixel items and 9-pixel separators (at 96 DPI);
        the menu's height is checked against that before a click relies on it."""
        menu = self.desktop.find(MENU_CLASS, timeout=5, visible=True)
        left, top, right, bottom = menu["rect"]
        heights = [MENU_SEPARATOR if item == "-" else MENU_ITEM for item in items]
        self.test.assertEqual(bottom - top, 2 * MENU_BORDER + sum(heights), "the menu's layout is not as expected")
        index = [plain(item) for item in items].index(caption)
        y = top + MENU_BORDER + sum(heights[:index]) + heights[index] // 2
        self.desktop.click((left + right) // 2, y)

    def choose_last_menu_item(self):
        menu = self.desktop.find(MENU_CLASS, timeout=5, visible=True)
        left, top, right, bottom = menu["rect"]
        self.desktop.click(left + (right - left) // 2, bottom - 8)

    def _menu_closed(self):
        menu = self.desktop.find(MENU_CLASS, timeout=0)
        return not menu or not menu["visible"]

    def exit_by_message(self):
        """Ends the program as another program's WM_CLOSE to the hidden settings window does."""
        self.desktop.post(self.options_window()["hwnd"], WM_CLOSE)
        self.test.assertTrue(self.process.wait_exit(20), "the program did not end")


def write_settings(**default_keys):
    """A settings file with these [Default] keys (and no animation), so that start-up keeps it."""
    data_folder().mkdir(parents=True, exist_ok=True)
    lines = ["[Default]", "SkipAnimation=1"] + [f"{key}={value}" for key, value in default_keys.items()]
    (data_folder() / "wrenfold.ini").write_text("\r\n".join(lines) + "\r\n")


class ProgramCase(E2ETestCase):
    """A test with the program running in a desktop of its own, on the class's `settings`."""
    settings = {}

    def setUp(self):
        super().setUp()
        shutil.rmtree(data_folder(), ignore_errors=True)
        startup_shortcut().unlink(missing_ok=True)
        self.addCleanup(shutil.rmtree, data_folder(), True)
        write_settings(**self.settings)
        self.desk = self.desktop()
        self.program = Wrenfold(self, self.desk)
        self.program.start()
