"""Helpers for the end-to-end tests: Wine virtual desktops, real input, the window probe.

The tests run the real program under Wine inside a virtual desktop on an X server (DISPLAY).
Windows inside that desktop are not X windows, so window state comes from wfprobe.exe, which joins
the same desktop; input is real X input from xdotool, placed through the desktop's X window.

Environment: DISPLAY, WINEPREFIX (the run's prefix), WF_BIN (the folder with wrenfold.exe,
wfnhooks.dll and wfprobe.exe; build/win64/bin when unset).
"""

import itertools
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
WINE_RUN = REPO / "tools" / "wine-run"
FAILURE_DIR = REPO / "build" / "e2e-failures"
DESKTOP_SIZE = (1024, 768)

# GetDriveType answers.
DRIVE_NO_ROOT_DIR = 1
DRIVE_REMOVABLE = 2
DRIVE_FIXED = 3

# WM_NCHITTEST answers.
HTCAPTION = 2
HTMINBUTTON = 8
HTMAXBUTTON = 9
HTCLOSE = 20

# Every process a desktop starts carries these in its environment (Wine hands the environment
# down to the Windows processes it creates), so stop() finds exactly what it started.
_DESKTOP_MARK = "WF_E2E_DESKTOP"
_START_MARK = "WF_E2E_START"

# Wine's own service processes may inherit a mark when our launch happened to start the
# wineserver; they serve every desktop of the prefix and are never ours to end.
_WINE_SERVICES = {"wineserver", "wineserver64", "services.exe", "winedevice.exe", "plugplay.exe",
                  "svchost.exe", "rpcss.exe", "wineboot.exe", "winemenubuilder.exe"}


class ProbeError(RuntimeError):
    """wfprobe could not do what it was asked (bad arguments, no such desktop)."""


class NoDesktopError(ProbeError):
    """The desktop asked for does not exist (never opened, or closed with its last program)."""


class WaitTimeout(AssertionError):
    """A wait_for that ran out of time. An AssertionError, so the test fails (with a screenshot)."""


# --- Wine --------------------------------------------------------------------------------------

def bin_dir():
    """The folder with the Windows binaries under test."""
    return Path(os.environ.get("WF_BIN") or REPO / "build" / "win64" / "bin")


def wine_prefix():
    return Path(os.environ.get("WINEPREFIX") or REPO / "build" / "wine" / "prefix")


def wine_env(extra=None):
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", str(wine_prefix()))
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    env.update(extra or {})
    return env


def run_wine(*args, timeout=60, check=True, env=None):
    """Runs a Windows program to its end with tools/wine-run; returns the CompletedProcess."""
    return subprocess.run([str(WINE_RUN), *map(str, args)], env=wine_env(env), capture_output=True,
                          text=True, timeout=timeout, check=check)


def windows_path(path):
    """A Unix path as Wine's programs see it (through drive Z:)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def _wineserver():
    for candidate in ("/usr/lib/wine/wineserver", "/usr/lib/wine/wineserver64"):
        if os.access(candidate, os.X_OK):
            return candidate
    return shutil.which("wineserver") or "wineserver"


# --- the probe ---------------------------------------------------------------------------------

def _run_probe(args, desktop, timeout):
    args = [str(a) for a in args]
    command = [str(bin_dir() / "wfprobe.exe")] + (["--desktop", desktop] if desktop else [])
    if timeout is None:
        # The probe's own waits default to 10 s.
        waits = float(args[args.index("--timeout") + 1]) if "--timeout" in args else 10.0
        timeout = waits + 60
    done = run_wine(*command, *args, check=False, timeout=timeout)
    if done.returncode == 3:
        raise NoDesktopError(f"no desktop {desktop}: {done.stderr.strip()}")
    if done.returncode not in (0, 1):
        raise ProbeError(f"wfprobe {' '.join(args)}: exit {done.returncode}: {done.stderr.strip()}")
    return done


_LIST_COMMANDS = ("windows", "children")


def probe(*args, desktop=None, timeout=None):
    """Runs wfprobe.exe (in the named desktop) and parses its JSON lines.

    "windows" and "children" give a list; every other command the one object it printed, or None when
    it printed nothing (not found, timed out). Raises ProbeError on bad arguments, NoDesktopError
    when the desktop does not exist."""
    done = _run_probe(args, desktop, timeout)
    objects = [json.loads(line) for line in done.stdout.splitlines() if line.strip()]
    if args and args[0] in _LIST_COMMANDS:
        return objects
    return objects[0] if objects else None


def wait_for(predicate, timeout=10.0, interval=0.2, message=None):
    """Calls predicate until it returns something true and returns that; WaitTimeout after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout(message or f"condition not met within {timeout} s: {predicate}")
        time.sleep(interval)


# --- X -----------------------------------------------------------------------------------------

def xdotool(*args, check=True):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=30,
                          check=check).stdout


def screenshot(path):
    """Saves the whole X screen as an image (format from the file name); returns the path."""
    path = Path(path)
    path.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=60, capture_output=True)
    return path


def _marked_processes(mark, value):
    """Unix pids whose environment holds mark=value, with their command lines."""
    wanted = f"{mark}={value}".encode()
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if wanted not in (entry / "environ").read_bytes().split(b"\0"):
                continue
            argv = (entry / "cmdline").read_bytes().split(b"\0")
        except OSError:
            continue
        found.append((int(entry.name), [a.decode(errors="replace") for a in argv if a]))
    return found


def _program_name(argv):
    return re.split(r"[\\/]", argv[0])[-1].lower() if argv else ""


def _is_launcher(argv):
    """wine-run, start.exe and explorer on their way to start a program in a desktop, and the
    desktop's own explorer: all of them carry the /desktop= argument."""
    return any(a.lower().startswith("/desktop=") for a in argv[1:])


def _alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


class WineProcess:
    """A program started in a desktop. Its Unix processes are found by their mark: the launcher
    we ran (wine-run, start.exe, explorer) is not the program's process."""

    def __init__(self, desktop, token, program):
        self.desktop = desktop
        self.token = token
        self.program = program

    def unix_pids(self):
        """The Unix processes of the program (and of anything it started), launchers left out."""
        return [pid for pid, argv in _marked_processes(_START_MARK, self.token)
                if not _is_launcher(argv) and _program_name(argv) not in _WINE_SERVICES and _alive(pid)]

    def running(self):
        return bool(self.unix_pids())

    def wait_exit(self, timeout=10.0):
        """True once the program has ended."""
        try:
            wait_for(lambda: not self.running(), timeout, 0.2)
            return True
        except WaitTimeout:
            return False

    def kill(self):
        for pid in self.unix_pids():
            _kill(pid)


def _kill(pid):
    try:
        os.kill(pid, signal.SIGKILL)
    except OSError:
        pass


class WineDesktop:
    """One Wine virtual desktop on the X display, with the programs started in it.

    Programs started with the same desktop name share the desktop. The desktop is opened empty
    first ("explorer /desktop=NAME,WxH" alone stays up until a program has come and gone), so that
    every start() is a join whose launcher returns once the program's process exists."""

    _numbers = itertools.count(1)

    def __init__(self, name=None, size=DESKTOP_SIZE, log_dir=None):
        self.name = name or f"wfe2e{os.getpid()}n{next(self._numbers)}"
        self.size = size
        self.processes = []
        self._launchers = []
        self._log_dir = Path(log_dir) if log_dir else Path(tempfile.gettempdir())
        self._starts = itertools.count(1)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    # processes

    def _launch(self, token, *program, env=None, cwd=None):
        extra = {_DESKTOP_MARK: self.name, _START_MARK: token}
        extra.update(env or {})
        width, height = self.size
        with open(self._log_dir / f"{token}.log", "wb") as log:
            launcher = subprocess.Popen(
                [str(WINE_RUN), "explorer", f"/desktop={self.name},{width}x{height}", *map(str, program)],
                env=wine_env(extra), cwd=cwd, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        self._launchers.append(launcher)
        return launcher

    def open(self):
        """Opens the desktop (if it is not there yet) and waits for its X window."""
        if self.x_window() is None:
            self._launch(f"{self.name}.desktop")
            wait_for(self.x_window, 30, 0.2, f"desktop {self.name} did not appear")
        return self

    def start(self, program, *args, env=None, cwd=None):
        """Starts a program in this desktop; returns a WineProcess once its process exists.

        program: a Windows program name ("notepad"), a Windows path, or a Unix path. env: extra
        environment variables; cwd: the Unix folder it starts in."""
        # Wine's explorer fails silently on a missing program; a Unix path at least can be checked.
        if str(program).startswith("/") and not Path(program).is_file():
            raise FileNotFoundError(program)
        self.open()
        token = f"{self.name}.{next(self._starts)}"
        launcher = self._launch(token, program, *args, env=env, cwd=cwd)
        try:
            code = launcher.wait(60)
        except subprocess.TimeoutExpired:
            code = None
        if code != 0:
            log = (self._log_dir / f"{token}.log").read_text(errors="replace").strip()
            raise RuntimeError(f"could not start {program} in desktop {self.name} (launcher exit {code}): {log}")
        process = WineProcess(self, token, str(program))
        self.processes.append(process)
        return process

    def stop(self):
        """Ends every process this desktop started; the desktop goes with its last program.

        False when that took the last resort, wineserver -k, which ends all of the prefix."""
        def ours():
            # Everything that carries our mark, except Wine's shared services and the default
            # desktop's explorer ("explorer.exe /desktop", no name).
            return [pid for pid, argv in _marked_processes(_DESKTOP_MARK, self.name)
                    if _program_name(argv) not in _WINE_SERVICES
                    and not (_program_name(argv) == "explorer.exe" and not _is_launcher(argv))
                    and _alive(pid)]

        for pid in ours():
            _kill(pid)
        for launcher in self._launchers:
            if launcher.poll() is None:
                launcher.kill()
            try:
                launcher.wait(10)
            except subprocess.TimeoutExpired:
                pass
        self._launchers.clear()
        self.processes.clear()
        try:
            wait_for(lambda: not ours(), 10, 0.2)
            return True
        except WaitTimeout:
            # Last resort, and a broad one: it ends every Wine process of the prefix.
            print(f"harness: processes of desktop {self.name} survived SIGKILL; wineserver -k", file=sys.stderr)
            subprocess.run([_wineserver(), "-k"], env=wine_env(), timeout=60, check=False)
            return False

    # the desktop's X window

    def x_window(self):
        """The X window id of the desktop, or None while it does not exist."""
        out = xdotool("search", "--name", f"^{re.escape(self.name)} - Wine desktop$", check=False).split()
        return int(out[0]) if out else None

    def geometry(self):
        """(x, y, width, height) of the desktop's X window on the X screen."""
        window = self.x_window()
        if window is None:
            raise RuntimeError(f"desktop {self.name} has no X window")
        fields = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).split())
        return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])

    def to_screen(self, x, y):
        """Desktop coordinates (what the probe reports) to X screen coordinates."""
        left, top, _, _ = self.geometry()
        return left + int(x), top + int(y)

    # input and pictures

    def click(self, x, y, button=1, modifiers=()):
        """Moves the pointer to a desktop point and clicks, holding modifier keys ("shift", "ctrl")."""
        screen_x, screen_y = self.to_screen(x, y)
        # Desktops all sit at the screen's origin; the one clicked must be on top.
        xdotool("windowraise", self.x_window())
        # mousemove --sync waits for a motion that never comes when the pointer is there already.
        # getmouselocation itself can fail while the window under the pointer goes away: then move.
        where = dict(line.split("=", 1) for line in xdotool("getmouselocation", "--shell", check=False).split()
                     if "=" in line)
        chain = []
        if (int(where.get("X", -1)), int(where.get("Y", -1))) != (screen_x, screen_y):
            chain += ["mousemove", "--sync", screen_x, screen_y, "sleep", "0.1"]
        for key in modifiers:
            chain += ["keydown", key]
        chain += ["click", button]
        for key in reversed(modifiers):
            chain += ["keyup", key]
        xdotool(*chain)

    def key(self, *keys):
        """Presses keys (xdotool names: "Escape", "ctrl+s") into the focused window."""
        xdotool("key", *keys)

    def screenshot(self, path):
        return screenshot(path)

    # the probe, in this desktop. A desktop closes with its last program; seen from here it is
    # then simply empty.

    def probe(self, *args, timeout=None):
        try:
            return probe(*args, desktop=self.name, timeout=timeout)
        except NoDesktopError:
            return [] if args and args[0] in _LIST_COMMANDS else None

    def windows(self, hidden=False):
        """The visible top-level windows (with hidden=True, all of them)."""
        return self.probe("windows", *(["--all"] if hidden else []))

    def find(self, window_class, title=None, pid=None, timeout=10, visible=False):
        """The first top-level window of the class, waiting up to timeout; or None.

        visible=True also waits for it to be shown (a window exists before it shows) and returns
        its state from then."""
        args = ["find", "--class", window_class, "--timeout", timeout]
        if title is not None:
            args += ["--title", title]
        if pid is not None:
            args += ["--pid", pid]
        window = self.probe(*args)
        if window and visible and not window["visible"]:
            if not self.wait_visible(window["hwnd"], True, timeout):
                return None
            window = self.window(window["hwnd"])
        return window

    def window(self, hwnd):
        """The current state of one window, or None when it is gone."""
        return next((w for w in self.windows(hidden=True) if w["hwnd"] == hwnd), None)

    def hittest(self, hwnd, code):
        """A desktop point inside the window whose hit-test answer is code, or None."""
        point = self.probe("hittest", hwnd, code)
        return (point["x"], point["y"]) if point else None

    def foreground(self):
        return self.probe("foreground")

    def children(self, hwnd):
        """The child windows of a window: hwnd, class, text, id, visible."""
        return self.probe("children", hwnd)

    def tray_icon_point(self, index=0):
        """Where to click the index-th notification icon, counted in the order the icons were
        added; None while the taskbar is hidden (it shows once an icon exists).

        Wine's taskbar is not made of windows we can ask about: its icons are square slots as
        tall as the bar, the first one at the right end, later ones to its left."""
        bar = self.find("Shell_TrayWnd", timeout=0)
        if not bar or not bar["visible"]:
            return None
        left, top, right, bottom = bar["rect"]
        slot = bottom - top
        return right - slot * index - slot // 2, (top + bottom) // 2

    def post(self, hwnd, message, wparam=0, lparam=0):
        return self.probe("post", hwnd, message, wparam, lparam)

    def send(self, hwnd, message, wparam=0, lparam=0):
        return self.probe("send", hwnd, message, wparam, lparam)

    def wait_gone(self, hwnd, timeout=10):
        """True once the window is destroyed (or its whole desktop closed)."""
        try:
            return _run_probe(["wait-gone", hwnd, "--timeout", timeout], self.name, None).returncode == 0
        except NoDesktopError:
            return True

    def wait_visible(self, hwnd, visible=True, timeout=10):
        """True once the window's visibility is as asked."""
        try:
            args = ["wait-visible", hwnd, int(bool(visible)), "--timeout", timeout]
            return _run_probe(args, self.name, None).returncode == 0
        except NoDesktopError:
            return False


# --- files, drives, registry -------------------------------------------------------------------

def copy_program(dest_folder, hooks=True):
    """Copies wrenfold.exe (and wfnhooks.dll unless hooks is False) into a folder; returns the
    exe's path. Both are linked statically: nothing else needs to go along."""
    dest = Path(dest_folder)
    dest.mkdir(parents=True, exist_ok=True)
    names = ["wrenfold.exe"] + (["wfnhooks.dll"] if hooks else [])
    for name in names:
        source = bin_dir() / name
        if not source.is_file():
            raise FileNotFoundError(f"{source} is not built")
        shutil.copy2(source, dest / name)
    return dest / "wrenfold.exe"


def reg_add(key, name, value, kind="REG_SZ"):
    """Sets a registry value (key such as r"HKLM\\Software\\...")."""
    run_wine("reg", "add", key, "/v", name, "/t", kind, "/d", value, "/f")


def reg_delete(key, name=None):
    """Deletes a value, or the whole key when name is None; a missing one is no error."""
    run_wine("reg", "delete", key, *(["/v", name] if name is not None else []), "/f", check=False)


def reg_query(key, name):
    """The value's data as reg.exe prints it, or None when it is missing."""
    done = run_wine("reg", "query", key, "/v", name, check=False)
    if done.returncode != 0:
        return None
    for line in done.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1].startswith("REG_"):
            return parts[2] if len(parts) == 3 else ""
    return None


def _drive_type(letter):
    answer = probe("drive-type", f"{letter.upper()}:\\")
    return answer["type"] if answer else None


def make_removable_drive(letter, folder):
    """Makes drive letter: a removable drive backed by a Unix folder; returns its root ("R:\\").

    The dosdevices link and the registry entry are what a new Wine session reads; the running
    mount manager only takes a new drive type through the request the probe sends."""
    letter = letter.lower()
    folder = Path(folder).resolve()
    folder.mkdir(parents=True, exist_ok=True)
    link = wine_prefix() / "dosdevices" / f"{letter}:"
    if link.is_symlink() or link.exists():
        link.unlink()
    link.symlink_to(folder)
    reg_add(r"HKLM\Software\Wine\Drives", f"{letter}:", "floppy")
    probe("define-drive", letter, DRIVE_REMOVABLE, str(folder))
    found = _drive_type(letter)
    if found != DRIVE_REMOVABLE:
        raise RuntimeError(f"drive {letter}: reports type {found}, not removable ({DRIVE_REMOVABLE})")
    return f"{letter.upper()}:\\"


def remove_drive(letter):
    """Undoes make_removable_drive."""
    letter = letter.lower()
    probe("define-drive", letter, DRIVE_NO_ROOT_DIR, "")
    link = wine_prefix() / "dosdevices" / f"{letter}:"
    if link.is_symlink():
        link.unlink()
    reg_delete(r"HKLM\Software\Wine\Drives", f"{letter}:")


# --- test case ---------------------------------------------------------------------------------

class E2ETestCase(unittest.TestCase):
    """Base class: a fresh temporary folder per test (self.tmp), desktops and drives that are
    cleaned up, and a screenshot in build/e2e-failures/<test id>.png when a test fails.
    Subclasses that override tearDown must call super().tearDown()."""

    def setUp(self):
        super().setUp()
        self.tmp = Path(tempfile.mkdtemp(prefix="wf-e2e-"))
        self.addCleanup(shutil.rmtree, self.tmp, True)
        self._problems_before = self._problem_count()

    def _problem_count(self):
        result = getattr(getattr(self, "_outcome", None), "result", None)
        return len(getattr(result, "failures", ())) + len(getattr(result, "errors", ()))

    def _failed_so_far(self):
        # Python 3.11 reports a failure to the result at once and resets the outcome's flag for
        # tearDown; older versions keep the flag and report later. Either tells.
        outcome = getattr(self, "_outcome", None)
        return self._problem_count() > self._problems_before or (outcome is not None and not outcome.success)

    def tearDown(self):
        # Before the cleanups: they stop the desktops the picture should show.
        if self._failed_so_far():
            path = FAILURE_DIR / f"{self.id()}.png"
            try:
                screenshot(path)
                print(f"\nscreenshot of the failure: {path}", file=sys.stderr)
            except (OSError, subprocess.SubprocessError) as error:
                print(f"\nno screenshot of the failure: {error}", file=sys.stderr)
        super().tearDown()

    def desktop(self, size=DESKTOP_SIZE):
        """A new virtual desktop, stopped after the test."""
        desktop = WineDesktop(size=size, log_dir=self.tmp)
        self.addCleanup(desktop.stop)
        return desktop

    def removable_drive(self, letter, folder):
        """make_removable_drive, undone after the test."""
        self.addCleanup(remove_drive, letter)
        return make_removable_drive(letter, folder)
