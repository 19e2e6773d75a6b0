"""Gorvix.exe removing an installation under Wine, as a user runs it."""

from __future__ import annotations

import shutil
import time
import unittest
from pathlib import Path

from harness import DIST, WineSession, twips_to_px

USER_KEY = r"HKCU\Software\Zentrik\Elemora"
PARENT_KEY = r"HKCU\Software\Zentrik"
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Zentrik© Elemora"
INSTALL_DIR = r"C:\Program Files\Zentrik"
NAMED_SHORTCUT = "Zentrik® Elemora 2002.lnk"
OTHER_SHORTCUT = "Table.exe.lnk"
DONE_TEXT = 'Премахването на програмите на Zentrik завърши успешно. За край натиснете "Изход"'
PROGRAM, SHORTCUT = "програмата", "препратката"
ENTRY, KEY = "записът в списъка с програмите", "ключът в регистратурата"


def not_removed(*items: str) -> str:
    return ("Премахването на програмите на Zentrik не завърши успешно. Не са премахнати: " + ", ".join(items)
            + '. За край натиснете "Изход"')


def ink_rows(s: WineSession, left: int, top: int, right: int, bottom: int) -> list[int]:
    """The screen rows between top and bottom that hold dark text pixels
    between left and right."""
    points = [(x, y) for y in range(top, bottom) for x in range(left, right)]
    colours = s.pixels(points)
    width = right - left
    rows = []
    for i, y in enumerate(range(top, bottom)):
        if any(sum(c) < 200 for c in colours[i * width:(i + 1) * width]):
            rows.append(y)
    return rows


def bands(rows: list[int]) -> list[tuple[int, int]]:
    """Runs of adjacent rows: the lines of text."""
    out: list[tuple[int, int]] = []
    for y in rows:
        if out and y == out[-1][1] + 1:
            out[-1] = (out[-1][0], y)
        else:
            out.append((y, y))
    return out


def programs_folder(s: WineSession) -> str:
    """The user's Start-menu Programs folder inside the prefix, as a Windows path."""
    users = s.drive_c / "users"
    for user in sorted(users.iterdir()):
        if user.name.lower() == "public" or not user.is_dir():
            continue
        start = user / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / "Programs"
        if start.is_dir():
            return "C:\\" + str(start.relative_to(s.drive_c)).replace("/", "\\")
    raise AssertionError("no Start menu in the prefix")


def key_listed(s: WineSession, key: str) -> bool:
    """Whether the key's parent lists it (an empty key has nothing else to
    show). Read through the Win32 API, which fails loudly where `reg query`
    can print nothing at all, and gives the names exactly."""
    parent, child = key.rsplit("\\", 1)
    listing = s.registry(parent)
    return listing is not None and child.lower() in (name.lower() for name in listing["subkeys"])


class Installed:
    """What the installer leaves behind, laid out in a fresh prefix."""

    def __init__(self, s: WineSession):
        self.s = s
        self.group = programs_folder(s) + "\\Zentrik"
        self.viewer = s.host_path(INSTALL_DIR + "\\Table.exe")
        self.database = s.host_path(INSTALL_DIR + "\\vrakel.mdb")
        self.group_dir = s.host_path(self.group)
        self.named = self.group_dir / NAMED_SHORTCUT
        self.other = self.group_dir / OTHER_SHORTCUT
        self.uninstaller = s.host_path(r"C:\windows\Gorvix.exe")

        self.viewer.parent.mkdir(parents=True, exist_ok=True)
        self.group_dir.mkdir(parents=True, exist_ok=True)
        viewer = DIST / "Table.exe"
        if viewer.exists():
            shutil.copyfile(viewer, self.viewer)
        else:
            self.viewer.write_bytes(b"MZ")
        self.database.write_bytes(b"\0\1\0\0Standard Jet DB\0")
        self.named.write_bytes(b"L\0\0\0")
        self.other.write_bytes(b"L\0\0\0")
        shutil.copyfile(DIST / "Gorvix.exe", self.uninstaller)

        s.reg_add(USER_KEY, "dir", INSTALL_DIR)
        s.reg_add(USER_KEY, "Sdir", self.group + "\\")
        s.reg_add(UNINSTALL_KEY, "DisplayName", "Zentrik© Elemora 2002®")
        s.reg_add(UNINSTALL_KEY, "UninstallString", r"C:\windows\Gorvix.exe")
        values = s.reg_query(USER_KEY) or {}
        assert values.get("dir", ("", ""))[1] == INSTALL_DIR, values
        assert key_listed(s, UNINSTALL_KEY) and s.reg_query(UNINSTALL_KEY), "uninstall entry not made"

    def files_present(self) -> dict[str, bool]:
        return {p.name: p.exists() for p in (self.viewer, self.database, self.named, self.other)}


def start_gorvix(s: WineSession):
    """Gorvix.exe from the Windows folder, as the uninstall entry starts it, and its window."""
    app = s.start(r"C:\windows\Gorvix.exe")
    return app, s.wait_window("Form1")


class UninstallUnderWine(unittest.TestCase):
    def setUp(self):
        if not (DIST / "Gorvix.exe").exists():
            self.skipTest("Gorvix.exe is not built")

    def wait_for(self, s: WineSession, predicate, timeout: float = 20):
        end = time.time() + timeout
        while time.time() < end:
            try:
                if predicate():
                    return True
            except AssertionError:
                pass
            time.sleep(0.5)
        return False

    def test_start_removes_viewer_named_shortcut_and_keys(self):
        with WineSession("uninstall") as s:
            inst = Installed(s)
            app, w = start_gorvix(s)
            # Centred on the 1280 x 1024 screen, 8775 x 5235 twips.
            width, height = twips_to_px(8775), twips_to_px(5235)
            self.assertEqual(w.rect[2] - w.rect[0], width)
            self.assertEqual(w.rect[3] - w.rect[1], height)
            self.assertLessEqual(abs(w.rect[0] - (1280 - width) // 2), 1)
            self.assertLessEqual(abs(w.rect[1] - (1024 - height) // 2), 1)
            self.assertEqual(w.text("Label6"), "Старт")
            self.assertEqual(w.text("Label7"), "Отказ")
            s.screenshot("uninstall-waiting")

            w.click_control("Label6")
            self.assertTrue(self.wait_for(s, lambda: w.control("Label7")["visible"]
                                          and w.text("Label7") == "Изход"), "no Изход")
            s.screenshot("uninstall-done")

            self.assertEqual(w.text("Label12"), DONE_TEXT)
            self.assertTrue(w.control("Label12")["visible"])
            self.assertFalse(w.control("Label6")["visible"])
            self.assertEqual(inst.files_present(), {"Table.exe": False, "vrakel.mdb": True,
                                                    NAMED_SHORTCUT: False, OTHER_SHORTCUT: True})
            self.assertTrue(inst.viewer.parent.is_dir())
            self.assertTrue(inst.group_dir.is_dir())
            self.assertTrue(inst.uninstaller.exists())
            self.assertFalse(key_listed(s, UNINSTALL_KEY))
            self.assertFalse(key_listed(s, USER_KEY))
            self.assertTrue(key_listed(s, PARENT_KEY))

            # The dial is full: the whole disc inside the ring is the meter's black.
            box = w.control("MeterBox")["rect"]
            cx, cy = box[0] + twips_to_px(975), box[1] + twips_to_px(795)
            points = [(cx, cy), (cx + 30, cy), (cx - 30, cy), (cx, cy + 30), (cx, cy - 30), (cx + 20, cy - 20),
                      (cx - 20, cy + 20), (cx - 25, cy - 25)]
            for p, colour in zip(points, s.pixels(points)):
                self.assertEqual(colour, (0, 0, 0), p)
            # Outside the ring the box shows its own blue.
            self.assertEqual(s.pixel(box[0] + 3, box[1] + 3), (0, 168, 255))

            w.click_control("Label7")
            self.assertIsNotNone(app.wait_exit(10), "Изход did not end the program")

    def run_to_the_end(self, s: WineSession):
        """Starts the uninstaller from the uninstall entry's path and clicks "Старт"."""
        app, w = start_gorvix(s)
        w.click_control("Label6")
        self.assertTrue(self.wait_for(s, lambda: w.control("Label7")["visible"]
                                      and w.text("Label7") == "Изход"), "no Изход")
        return app, w

    def test_missing_dir_is_no_success_and_keeps_the_entry(self):
        with WineSession("uninstall-no-dir") as s:
            inst = Installed(s)
            s.run("reg", "delete", USER_KEY, "/v", "dir", "/f")
            self.assertEqual(set(s.reg_query(USER_KEY) or {}), {"Sdir"})
            app, w = self.run_to_the_end(s)
            s.screenshot("uninstall-no-dir")
            self.assertEqual(w.text("Label12"), not_removed(PROGRAM, ENTRY, KEY))
            self.assertTrue(w.control("Label12")["visible"])
            # The viewer stays, and so do the entry and the records to find it.
            self.assertTrue(inst.viewer.exists())
            self.assertFalse(inst.named.exists())
            self.assertTrue(key_listed(s, UNINSTALL_KEY))
            self.assertEqual(set(s.reg_query(UNINSTALL_KEY) or {}), {"DisplayName", "UninstallString"})
            self.assertEqual(s.reg_query(USER_KEY)["Sdir"][1], inst.group + "\\")
            w.click_control("Label7")
            self.assertIsNotNone(app.wait_exit(10), "Изход did not end the program")

    def test_close_requests_during_the_pauses_do_not_stop_the_removal(self):
        with WineSession("uninstall-close") as s:
            inst = Installed(s)
            app, w = start_gorvix(s)
            w.click_control("Label6")
            # During the pauses: WM_CLOSE from another program, then Alt+F4;
            # the removal is still under way after both were handled.
            s.post_close(w)
            s.key("alt+F4")
            self.assertTrue(app.running(), "a close request ended the removal")
            self.assertFalse(w.control("Label7")["visible"], "the removal ended before the close requests")
            self.assertTrue(self.wait_for(s, lambda: w.control("Label7")["visible"]
                                          and w.text("Label7") == "Изход"), "no Изход")
            self.assertEqual(w.text("Label12"), DONE_TEXT)
            self.assertEqual(inst.files_present(), {"Table.exe": False, "vrakel.mdb": True,
                                                    NAMED_SHORTCUT: False, OTHER_SHORTCUT: True})
            self.assertFalse(key_listed(s, UNINSTALL_KEY))
            self.assertFalse(key_listed(s, USER_KEY))
            # At the end a close request is "Изход" (and Alt+F4 did reach the window).
            s.key("alt+F4")
            self.assertIsNotNone(app.wait_exit(10), "Alt+F4 after the removal did not end the program")

    def test_the_failure_text_naming_all_four_is_wholly_visible(self):
        with WineSession("uninstall-all-fail") as s:
            inst = Installed(s)
            # Folders that bear the viewer's and the shortcut's names are no
            # files already gone: both stay, so the entry and the key stay too.
            inst.viewer.unlink()
            inst.viewer.mkdir()
            inst.named.unlink()
            inst.named.mkdir()
            app, w = self.run_to_the_end(s)
            path = s.screenshot("uninstall-failure-text")
            self.assertTrue(path.exists())
            self.assertEqual(w.text("Label12"), not_removed(PROGRAM, SHORTCUT, ENTRY, KEY))
            self.assertTrue(inst.viewer.is_dir())
            self.assertTrue(inst.named.is_dir())
            self.assertTrue(key_listed(s, UNINSTALL_KEY))
            self.assertEqual(set(s.reg_query(USER_KEY) or {}), {"dir", "Sdir"})

            # Every line in view: below the last line there is room for one
            # more, so none was pushed out of the label, and no line is cut
            # at its bottom edge. The columns right of the waste bin, which
            # reaches into the label's top, see only text.
            l, t, r, b = w.control("Label12")["rect"]
            # The smaller text starts below the bin; the label keeps its bottom.
            self.assertEqual(t, w.rect[1] + twips_to_px(705 + 2400))
            self.assertEqual(b, w.rect[1] + twips_to_px(3060 + 1320))
            left = w.rect[0] + twips_to_px(2970 + 2595)
            lines = bands(ink_rows(s, left, t, r, b))
            self.assertGreaterEqual(len(lines), 4, lines)
            pitch = (lines[-1][1] - lines[0][1]) / (len(lines) - 1)
            self.assertGreaterEqual(b - 1 - lines[-1][1], pitch, (lines, b))
            # A close request from another program is "Изход" now.
            s.post_close(w)
            self.assertIsNotNone(app.wait_exit(10), "WM_CLOSE after the removal did not end the program")

    def test_cancel_removes_nothing(self):
        with WineSession("uninstall-cancel") as s:
            inst = Installed(s)
            app, w = start_gorvix(s)
            w.click_control("Label7")
            self.assertIsNotNone(app.wait_exit(10), "Отказ did not end the program")
            self.assertEqual(inst.files_present(), {"Table.exe": True, "vrakel.mdb": True,
                                                    NAMED_SHORTCUT: True, OTHER_SHORTCUT: True})
            self.assertTrue(key_listed(s, UNINSTALL_KEY))
            self.assertEqual(set(s.reg_query(UNINSTALL_KEY) or {}), {"DisplayName", "UninstallString"})
            self.assertEqual(set(s.reg_query(USER_KEY) or {}), {"dir", "Sdir"})


if __name__ == "__main__":
    unittest.main()
