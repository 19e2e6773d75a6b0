"""Drives the real Windows programs under Wine, the way a user meets them.

Each WineSession has a private Xvfb display (96 DPI, no window manager, so
windows sit where they ask) and a fresh WINEPREFIX copied from a template
that is made once per build tree. Programs are started from build/dist/ or
from inside the prefix; their windows are found and read through the
inspector program (tools/inspector), which reads every control of our
forms as a screen reader does (the window's accessible object: name, role,
states, place, value, description, default action) together with the
details of the real child windows among them (class, selection, list
items); clicks go through xdotool at twips positions converted to screen
pixels, keys through xdotool too.

A control row: name (the control's name in the program, "Label10"), text
(a label's caption as read, a box's text), rect (screen pixels), role
("push button", "static text", "editable text", "radio button", ...),
states, visible, enabled, focused, accname, description, action.

    with WineSession("viewer") as s:
        app = s.start(s.dist / "Table.exe")
        w = s.wait_window("form_main")
        w.click_twips(4920 + 300, 2700 + 240)   # the Fe tile
        assert s.text("txt_atom_num") == "26"
        s.screenshot("viewer-fe")                 # build/e2e/artifacts/viewer-fe.png

Wine's output handles are inherited by its helper processes, so every
command's output goes to a file, never a pipe.
"""

from __future__ import annotations

import fcntl
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build"
WINE64 = "/usr/lib/wine/wine64"


def _wine_arch() -> str:
    """win32 where this machine runs 32-bit code, else win64; the variable
    ELEMORA_WINE_ARCH (set by scripts/wine-env, or by hand to force the
    64-bit path) decides when it is set. Some kernels cannot execute 32-bit
    code at all, while Debian's `wine` wrapper still picks the 32-bit loader."""
    arch = os.environ.get("ELEMORA_WINE_ARCH")
    if arch:
        if arch not in ("win32", "win64"):
            raise RuntimeError(f"ELEMORA_WINE_ARCH must be win32 or win64, not {arch!r}")
        return arch
    try:
        ok = subprocess.run(["/usr/lib/wine/wine", "--version"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=30).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        ok = False
    return "win32" if ok else "win64"


ARCH = _wine_arch()
# The programs under test, the helpers that run beside them and the loader,
# all of one architecture.
WINE = "wine" if ARCH == "win32" else WINE64
DIST = BUILD / ("dist" if ARCH == "win32" else "dist-x64")
INSPECTOR = BUILD / ARCH / "tools" / "inspector" / "inspector.exe"
WORK = BUILD / "e2e"
ARTIFACTS = WORK / "artifacts"
# A prefix is made for one architecture and cannot serve the other.
TEMPLATE = WORK / f"prefix-template-{ARCH}"
DPI = 96


def wait_until(check, timeout: float = 15) -> bool:
    """Polls `check` until it holds; a window or control not listed yet (the
    inspector's rows come and go while a program is busy) counts as not yet."""
    end = time.time() + timeout
    while time.time() < end:
        try:
            if check():
                return True
        except (AssertionError, KeyError, IndexError, RuntimeError):
            pass
        time.sleep(0.3)
    return False


def magick(*args: str) -> str:
    """ImageMagick's convert on files of a test; what it prints."""
    return subprocess.run(["convert", *args], check=True, capture_output=True, text=True, timeout=120).stdout


def twips_to_px(twips: float) -> int:
    """The backend's rounding: nearest pixel, halves away from zero."""
    v = twips * DPI / 1440.0
    return int(v + 0.5) if v >= 0 else -int(-v + 0.5)


def _base_env() -> dict:
    env = dict(os.environ)
    env["WINEDEBUG"] = "-all"
    # No Mono or Gecko installer dialogs in a fresh prefix.
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    if ARCH == "win64":
        env["WINEARCH"] = "win64"
        env["WINELOADER"] = WINE64
    return env


def _ensure_template() -> Path:
    """A booted prefix, made once and copied for every session."""
    WORK.mkdir(parents=True, exist_ok=True)
    with open(WORK / "template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if (TEMPLATE / "system.reg").exists():
            return TEMPLATE
        if TEMPLATE.exists():
            shutil.rmtree(TEMPLATE)
        display = Display()
        try:
            env = _base_env()
            env["WINEPREFIX"] = str(TEMPLATE)
            env["DISPLAY"] = display.name
            log = WORK / "wineboot.log"
            with open(log, "w") as out:
                subprocess.run([WINE, "wineboot.exe", "-i"], env=env, stdout=out, stderr=out, stdin=subprocess.DEVNULL,
                               timeout=300, check=True)
                subprocess.run(["wineserver", "-w"], env=env, stdout=out, stderr=out, timeout=120)
        finally:
            display.stop()
        return TEMPLATE


class Display:
    """A private Xvfb server on the first free display number from :90."""

    def __init__(self):
        for n in range(90, 190):
            lock = Path(f"/tmp/.X{n}-lock")
            if lock.exists() or Path(f"/tmp/.X11-unix/X{n}").exists():
                continue
            with open(tempfile.mktemp(prefix="xvfb-", suffix=".log"), "w") as log:
                proc = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", "1280x1024x24", "-dpi", str(DPI),
                                         "-nolisten", "tcp"], stdout=log, stderr=log, stdin=subprocess.DEVNULL,
                                        start_new_session=True)
            for _ in range(100):
                if Path(f"/tmp/.X11-unix/X{n}").exists():
                    break
                if proc.poll() is not None:
                    break
                time.sleep(0.05)
            if proc.poll() is None:
                self.proc, self.name = proc, f":{n}"
                return
        raise RuntimeError("no free X display")

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()


class App:
    """A program started under Wine."""

    def __init__(self, session: "WineSession", proc: subprocess.Popen, log: Path):
        self.session, self.proc, self.log = session, proc, log

    def running(self) -> bool:
        return self.proc.poll() is None

    def wait_exit(self, timeout: float = 10) -> int | None:
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None


class Window:
    """A top-level window as the inspector saw it."""

    def __init__(self, session: "WineSession", info: dict):
        self.session, self.info = session, info

    @property
    def name(self) -> str:
        return self.info["name"]

    @property
    def rect(self):
        return self.info["rect"]

    @property
    def client(self):
        return self.info["client"]

    def refresh(self) -> "Window":
        for w in self.session.inspect():
            if w["hwnd"] == self.info["hwnd"] and w["depth"] == 0:
                self.info = w
                return self
        raise AssertionError(f"window {self.name} is gone")

    def point(self, x_twips: float, y_twips: float):
        """Screen pixels of a point given in twips of the window's client area."""
        return self.rect[0] + twips_to_px(x_twips), self.rect[1] + twips_to_px(y_twips)

    def click_twips(self, x: float, y: float, button: int = 1):
        self.session.click(*self.point(x, y), button=button)

    def click_control(self, name: str, button: int = 1):
        """Clicks the middle of a named control of this window."""
        c = self.control(name)
        l, t, r, b = c["rect"]
        self.session.click((l + r) // 2, (t + b) // 2, button=button)

    def controls(self) -> list[dict]:
        # A program busy between two messages can miss the inspector's
        # questions: no children at all, or some without the name that
        # their neighbours got. Such a read is taken again.
        for _ in range(3):
            rows = [w for w in self.session.inspect() if w["top"] == self.info["hwnd"] and w["depth"] > 0]
            named = sum(1 for r in rows if r["name"])
            if rows and named in (0, len(rows)):
                break
            time.sleep(0.4)
        return rows

    def control(self, name: str) -> dict:
        # A program busy between two messages (the uninstaller in a pause)
        # can miss the inspector's accessibility read once; a control that
        # is really missing is still missing a second later.
        for attempt in range(3):
            for c in self.controls():
                if c["name"] == name:
                    return c
            time.sleep(0.4)
        raise AssertionError(f"no control {name} in {self.name}")

    def text(self, name: str) -> str:
        return self.control(name)["text"]


class WineSession:
    def __init__(self, name: str, keep: bool = False, locale: str | None = None):
        """locale: a Unix locale such as "bg_BG.UTF-8" for Wine to take its
        code page and number format from (Bulgarian systems use code page
        1251, which Wine keeps a shortcut's local path in)."""
        self.name = name
        self.keep = keep
        self.locale = locale
        self.tmp = Path(tempfile.mkdtemp(prefix=f"elemora-{name}-"))
        self.prefix = self.tmp / "prefix"
        self.apps: list[App] = []
        self._serial = 0

    # ---- life cycle

    def __enter__(self) -> "WineSession":
        template = _ensure_template()
        shutil.copytree(template, self.prefix, symlinks=True)
        self.display = Display()
        self.env = _base_env()
        self.env["WINEPREFIX"] = str(self.prefix)
        self.env["DISPLAY"] = self.display.name
        if self.locale:
            self.env["LANG"] = self.locale
            self.env["LC_ALL"] = self.locale
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        with open(self.tmp / "wineserver.log", "w") as out:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=out, stderr=out, timeout=30)
        for app in self.apps:
            if app.proc.poll() is None:
                try:
                    os.killpg(app.proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        self.display.stop()
        if not self.keep:
            shutil.rmtree(self.tmp, ignore_errors=True)

    # ---- places

    @property
    def dist(self) -> Path:
        return DIST

    @property
    def drive_c(self) -> Path:
        return self.prefix / "drive_c"

    def host_path(self, windows_path: str) -> Path:
        """The file under the prefix that a C:\\ path names (case as on disk)."""
        assert windows_path[1:3] == ":\\", windows_path
        p = self.drive_c
        for part in [x for x in windows_path[3:].split("\\") if x]:
            match = None
            if p.is_dir():
                for entry in p.iterdir():
                    if entry.name.lower() == part.lower():
                        match = entry
                        break
            p = match if match is not None else p / part
        return p

    # ---- running programs

    def _log(self, what: str) -> Path:
        self._serial += 1
        return self.tmp / f"{self._serial:02d}-{what}.log"

    def start(self, program, *args: str, cwd: Path | None = None) -> App:
        """Starts a program (a host path, or a Windows path inside the prefix)."""
        log = self._log(Path(str(program).replace("\\", "/")).name)
        with open(log, "w") as out:   # the child keeps its own copy of the handle
            proc = subprocess.Popen([WINE, str(program), *args], env=self.env, stdout=out, stderr=out,
                                    stdin=subprocess.DEVNULL, cwd=str(cwd) if cwd else None, start_new_session=True)
        app = App(self, proc, log)
        self.apps.append(app)
        return app

    def run(self, *args: str, timeout: float = 60) -> str:
        """Runs a Wine command to its end and returns what it printed."""
        log = self._log("run")
        with open(log, "w") as out:
            subprocess.run([WINE, *args], env=self.env, stdout=out, stderr=subprocess.DEVNULL,
                           stdin=subprocess.DEVNULL, timeout=timeout)
        return log.read_text(encoding="utf-8", errors="replace")

    def post_close(self, window: "Window"):
        """WM_CLOSE posted to a window, as another program or the task bar's
        Close asks it to close."""
        self.run(str(INSPECTOR), "close", str(window.info["hwnd"]))

    def start_viewer(self) -> tuple[App, Window]:
        """Table.exe with its database in C:\\Zentrik, as installed, up
        and painted."""
        folder = self.drive_c / "Zentrik"
        folder.mkdir(parents=True, exist_ok=True)
        for name in ("Table.exe", "vrakel.mdb"):
            shutil.copy(DIST / name, folder / name)
        app = self.start("C:\\Zentrik\\Table.exe")
        window = self.wait_window("form_main")
        time.sleep(0.5)
        return app, window.refresh()

    def inspect(self) -> list[dict]:
        # Reading every tile of a window takes a minute and more where the
        # machine is busy with builds.
        text = self.run(str(INSPECTOR), "dump", timeout=240)
        rows = []
        for line in text.splitlines():
            line = line.strip()
            if line.startswith("{"):
                try:
                    rows.append(json.loads(line))
                except json.JSONDecodeError:
                    pass
        return rows

    def windows(self, name: str | None = None, visible_only: bool = True) -> list[Window]:
        out = []
        for w in self.inspect():
            if w["depth"] != 0 or (visible_only and not w["visible"]):
                continue
            if name is None or w["name"] == name or (w["class"] == "#32770" and name == "#32770"):
                out.append(Window(self, w))
        return out

    def wait_window(self, name: str, timeout: float = 20, visible_only: bool = True) -> Window:
        end = time.time() + timeout
        while time.time() < end:
            found = self.windows(name, visible_only)
            if found:
                return found[0]
            time.sleep(0.3)
        raise AssertionError(f"window {name} did not appear")

    def open_by_key(self, key: str, name: str, timeout: float = 20, settle: float = 1) -> Window:
        """Presses `key` and returns the window `name` it opens, once it has
        had `settle` seconds to paint and take the focus."""
        self.key(key)
        window = self.wait_window(name, timeout=timeout)
        time.sleep(settle)
        return window

    def wait_gone(self, name: str, timeout: float = 10) -> bool:
        end = time.time() + timeout
        while time.time() < end:
            if not self.windows(name):
                return True
            time.sleep(0.3)
        return False

    def message_boxes(self) -> list[Window]:
        return self.windows("#32770")

    def message_text(self, box: Window) -> str:
        """The message of a system message box (its static texts)."""
        return "\n".join(c["text"] for c in box.controls() if c["class"].lower() == "static" and c["text"])

    def control(self, name: str) -> dict:
        """A control of any visible window, by name."""
        for w in self.inspect():
            if w["depth"] > 0 and w["name"] == name:
                return w
        raise AssertionError(f"no control {name}")

    def text(self, name: str) -> str:
        return self.control(name)["text"]

    def focus(self) -> dict:
        """The focused window ("focus", "name") and, in our forms, the
        focused control as a screen reader learns it ("child")."""
        text = self.run(str(INSPECTOR), "focus")
        for line in text.splitlines():
            if line.startswith("{"):
                return json.loads(line)
        return {}

    def focused_control(self) -> str:
        """The name of the control with the keyboard focus ("" for a form itself)."""
        f = self.focus()
        return f.get("child") or f.get("name", "")

    def default_action(self, form: str, control: str) -> bool:
        """Does a control's default action through the accessible object, as
        a screen reader's "press" does."""
        text = self.run(str(INSPECTOR), "action", form, control)
        time.sleep(0.4)
        return '"done":true' in text

    # ---- the mouse and the screen

    def xdotool(self, *args: str):
        subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=30, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def click(self, x: int, y: int, button: int = 1, settle: float = 0.4):
        self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("click", str(button))
        time.sleep(settle)

    def press(self, x: int, y: int, button: int = 1):
        self.xdotool("mousemove", "--sync", str(x), str(y))
        self.xdotool("mousedown", str(button))

    def release(self, button: int = 1):
        self.xdotool("mouseup", str(button))

    def drag(self, start, end, button: int = 1):
        """Presses at start, moves in steps to end, releases."""
        self.press(*start, button=button)
        time.sleep(0.2)
        steps = 8
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.xdotool("mousemove", str(x), str(y))
            time.sleep(0.05)
        self.release(button)
        time.sleep(0.4)

    def key(self, *keys: str):
        self.xdotool("key", *keys)
        time.sleep(0.3)

    def type_text(self, text: str):
        # A letter the keyboard map lacks is typed by remapping a spare key
        # first; Wine reads the new map late, so such letters need more time.
        delay = "20" if text.isascii() else "120"
        self.xdotool("type", "--delay", delay, text)
        time.sleep(0.3)

    def save_picture(self, windows_path: str, artifact: str) -> Path:
        """Ctrl+S in the active window and its save dialog answered with
        `windows_path` (no extension, in a folder that exists); returns the
        PNG once written, a copy of it kept as artifacts/<artifact>.png."""
        self.key("ctrl+s")
        time.sleep(2)
        self.key("ctrl+a")
        self.type_text(windows_path)
        self.key("Return")
        png = self.host_path(windows_path + ".png")
        if not wait_until(png.is_file):
            raise AssertionError("no PNG was saved")
        time.sleep(1)
        (ARTIFACTS / f"{artifact}.png").write_bytes(png.read_bytes())
        return png

    def screenshot(self, name: str) -> Path:
        """Saves the whole screen to build/e2e/artifacts/<name>.png."""
        path = ARTIFACTS / f"{name}.png"
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def pixels(self, points) -> list[tuple[int, int, int]]:
        """Colours of screen pixels, from one screenshot."""
        ppm = self.tmp / "screen.ppm"
        subprocess.run(["import", "-window", "root", "-depth", "8", f"ppm:{ppm}"], env=self.env, check=True,
                       timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        data = ppm.read_bytes()
        # P6 header: magic, width, height, maxval, separated by white space.
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        pos += 1
        width = int(fields[1])
        out = []
        for x, y in points:
            i = pos + (y * width + x) * 3
            out.append((data[i], data[i + 1], data[i + 2]))
        return out

    def pixel(self, x: int, y: int) -> tuple[int, int, int]:
        return self.pixels([(x, y)])[0]

    # ---- the registry

    def reg_query(self, key: str, value: str | None = None) -> dict[str, tuple[str, str]] | None:
        """Values of a key as {name: (type, data)}, or None when the key is missing."""
        args = ["reg", "query", key]
        if value is not None:
            args += ["/v", value]
        text = self.run(*args)
        if "REG_" not in text and "HKEY_" not in text:
            return None
        values = {}
        for line in text.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
        return values

    def reg_add(self, key: str, value: str, data: str, kind: str = "REG_SZ"):
        self.run("reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f")

    def registry(self, key: str) -> dict | None:
        """A key read through the Win32 API (exact Unicode, unlike `reg query`'s
        console output): {"values": {name: (type, data)}, "subkeys": [...]},
        or None when the key does not exist. `key` starts with HKEY_CURRENT_USER
        or HKEY_LOCAL_MACHINE (or HKCU / HKLM)."""
        root, _, path = key.partition("\\")
        root = {"HKEY_CURRENT_USER": "HKCU", "HKEY_LOCAL_MACHINE": "HKLM"}.get(root.upper(), root.upper())
        text = self.run(str(INSPECTOR), "reg", root, path)
        for line in text.splitlines():
            if line.startswith("{"):
                data = json.loads(line)
                if not data["exists"]:
                    return None
                return {"values": {k: (v[0], v[1]) for k, v in data["values"].items()}, "subkeys": data["subkeys"]}
        raise AssertionError(f"inspector could not read {key}: {text!r}")

    def key_exists(self, key: str) -> bool:
        return self.registry(key) is not None

    def reg_value(self, key: str, name: str):
        """The data of one value (text for REG_SZ, a number for REG_DWORD), None when missing."""
        data = self.registry(key)
        if data is None or name not in data["values"]:
            return None
        return data["values"][name][1]
