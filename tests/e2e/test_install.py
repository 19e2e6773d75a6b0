"""The whole road under Wine: Setup.exe clicked through to the finish page,
then the installed viewer used, then the uninstaller started from the
uninstall entry."""

from __future__ import annotations

import subprocess
import time
import unittest
from pathlib import Path

from harness import DIST, WineSession, wait_until

DEFAULT_DEST = r"C:\Program Files\Zentrik"
TYPED_DEST = r"C:\Моите програми\Периодична система"
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Zentrik© Elemora"
PRODUCT_KEY = r"HKCU\Software\Zentrik\Elemora"
SUCCESS = "Поздравления, Инсталацията на Zentrik завърши успешно!"
NAMED_SHORTCUT = "Zentrik® Elemora 2002.lnk"
UNINSTALLED = 'Премахването на програмите на Zentrik завърши успешно. За край натиснете "Изход"'
RECENT_FAILED = "Инсталацията завърши с грешки. Не бяха създадени: прекия път „Table.exe“ в програмната група."


def lnk_target(path, codepage: str = "windows-1252") -> str:
    """The shortcut's local path; Wine writes it in the ANSI code page."""
    out = subprocess.run(["lnkinfo", "-c", codepage, str(path)], capture_output=True, text=True,
                         timeout=30).stdout
    for line in out.splitlines():
        if line.strip().startswith("Local path"):
            return line.split(":", 1)[1].strip()
    return ""


def map_empty_drive(s: WineSession, letter: str) -> Path:
    """Maps a drive letter to a new empty folder, as a fresh data partition or
    an empty stick looks to Windows, and returns that folder."""
    folder = s.tmp / f"drive-{letter}"
    folder.mkdir()
    devices = s.prefix / "dosdevices"
    for name in (f"{letter}:", f"{letter}::"):
        link = devices / name
        if link.is_symlink() or link.exists():
            link.unlink()
    (devices / f"{letter}:").symlink_to(folder)
    return folder


def start_menu_programs(s: WineSession) -> str:
    """The user's Start-menu Programs folder in the prefix, as a Windows path."""
    for user in sorted((s.drive_c / "users").iterdir()):
        programs = user / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
        if user.name.lower() != "public" and programs.is_dir():
            return "C:\\" + str(programs.relative_to(s.drive_c)).replace("/", "\\")
    raise AssertionError("no Start menu in the prefix")


def block_recent_link(s: WineSession):
    """A folder where the shell would write the viewer's recent-documents
    shortcut: the installer waits for it in vain (about two seconds)."""
    for user in s.drive_c.glob("users/*"):
        if user.name != "Public":
            (user / "AppData/Roaming/Microsoft/Windows/Recent/Table.exe.lnk").mkdir(parents=True, exist_ok=True)


def middle(rect) -> tuple[int, int]:
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def pick_drive(s: WineSession, page, item: str):
    """Opens the drive list with a click and clicks `item` in it. The open
    list is not one of our windows, so its rows are found on the screen: the
    selected row is the one drawn in the highlight colour, below the box."""
    box = page.control("Drive1")
    items, selected = box["items"], box["selected"]
    left, _, right, bottom = box["rect"]
    page.click_control("Drive1")
    x = (left + right) // 2
    column = s.pixels([(x, y) for y in range(bottom, bottom + 20 * len(items) + 20)])
    rows = [i for i, (r, g, b) in enumerate(column) if not (r == g == b)]
    assert rows, "the drive list did not open"
    start = rows[0]
    end = start
    while end + 1 < len(column) and column[end + 1] == column[start]:
        end += 1
    height = end - start + 1
    y = bottom + start + (items.index(item) - selected) * height + height // 2
    s.click(x, y)


@unittest.skipUnless((DIST / "Setup.exe").exists(), "Setup.exe is not built")
class InstallRoad(unittest.TestCase):
    def uninstall(self, s: WineSession, program: str):
        """The uninstaller started as the list of programs starts it, "Старт"
        pressed and the removal waited out to its "Изход"."""
        gorvix = s.start(program)
        u = s.wait_window("Form1", timeout=30)
        u.click_control("Label6")
        self.assertTrue(wait_until(lambda: u.text("Label7") == "Изход", timeout=30))
        return gorvix, u

    def copying_with_the_recent_link_blocked(self, name: str):
        """A session whose installer waits in vain for the recent-documents
        link (a folder stands in its place), walked to the copying page."""
        s = WineSession(name).__enter__()
        self.addCleanup(s.close)
        block_recent_link(s)
        return (s, *self.walk_to_copying(s, None))

    @staticmethod
    def walk_to_destination(s: WineSession):
        """Setup.exe from the distribution folder, clicked to the destination page."""
        app = s.start(DIST / "Setup.exe")
        s.wait_window("Form1", timeout=60).click_control("Label10")
        licence = s.wait_window("Form2")
        licence.click_control("Option1")
        licence.click_control("Label10")
        return app, s.wait_window("Form4")

    def walk_to_copying(self, s: WineSession, typed: str | None):
        """Setup.exe from the distribution folder, clicked to the copying page."""
        app, destination = self.walk_to_destination(s)
        dest = DEFAULT_DEST
        if typed is not None:
            destination.click_control("Text1")
            s.key("ctrl+a")
            s.key("BackSpace")
            s.type_text(typed)
            self.assertTrue(wait_until(lambda: destination.text("Text1") == typed), destination.text("Text1"))
            dest = typed
        destination.click_control("Label10")
        s.wait_window("Form5").click_control("Label10")
        copying = s.wait_window("Form6")
        return app, copying, dest

    def road(self, session_name: str, typed: str | None, locale: str | None = None,
             codepage: str = "windows-1252"):
        s = WineSession(session_name, locale=locale).__enter__()
        self.addCleanup(s.close)
        app, copying, dest = self.walk_to_copying(s, typed)
        copying.click_control("Label10")
        # The meter reaches 100 before the wait for the recent-documents entry.
        if wait_until(lambda: copying.text("MeterPos").startswith("100") and s.windows("Form6"), timeout=20):
            s.screenshot(f"{session_name}-copying-100")
        finish = s.wait_window("Form7", timeout=30)
        self.assertEqual(finish.text("Label14"), SUCCESS)
        s.screenshot(f"{session_name}-finish")
        finish.click_control("Label10")  # "Не"
        self.assertIsNotNone(app.wait_exit(15), "Не ends the installer")

        # Files.
        viewer = s.host_path(dest + r"\Table.exe")
        self.assertTrue(viewer.is_file(), viewer)
        self.assertTrue(s.host_path(dest + r"\vrakel.mdb").is_file())
        self.assertEqual(viewer.read_bytes(), (DIST / "Table.exe").read_bytes())
        self.assertTrue(s.host_path(r"C:\windows\Gorvix.exe").is_file())

        # Registry.
        product = s.registry(PRODUCT_KEY)
        self.assertIsNotNone(product)
        self.assertEqual(product["values"]["dir"], (1, dest))
        group = product["values"]["Sdir"][1]
        self.assertTrue(group.endswith("\\Programs\\Zentrik\\"), group)
        entry = s.registry(UNINSTALL_KEY)
        self.assertIsNotNone(entry)
        self.assertEqual(entry["values"]["DisplayName"], (1, "Zentrik© Elemora 2002®"))
        self.assertEqual(entry["values"]["UninstallString"][1].lower(), r"c:\windows\gorvix.exe")

        # Shortcuts: both in the group, both at the installed viewer; the recent entry stays.
        group_dir = s.host_path(group)
        installed = (dest + r"\Table.exe").lower()
        for name in (NAMED_SHORTCUT, "Table.exe.lnk"):
            self.assertTrue((group_dir / name).is_file(), name)
            self.assertEqual(lnk_target(group_dir / name, codepage).lower(), installed, name)
        recent = list(s.drive_c.glob("users/*/AppData/Roaming/Microsoft/Windows/Recent/Table.exe.lnk"))
        self.assertEqual(len(recent), 1)

        # The installed viewer shows iron for Fe.
        table = s.start(dest + r"\Table.exe")
        w = s.wait_window("form_main", timeout=30)
        w.click_twips(4920 + 480, 2700 + 380)
        self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "26"), w.text("txt_atom_num"))
        s.screenshot(f"{session_name}-viewer-fe")
        table.proc.kill()
        table.wait_exit(10)

        # The uninstaller from the uninstall entry removes the viewer, the named
        # shortcut and the records, and leaves the rest.
        gorvix, u = self.uninstall(s, entry["values"]["UninstallString"][1])
        s.screenshot(f"{session_name}-uninstalled")
        self.assertFalse(viewer.exists())
        self.assertTrue(s.host_path(dest + r"\vrakel.mdb").is_file())
        self.assertFalse((group_dir / NAMED_SHORTCUT).exists())
        self.assertTrue((group_dir / "Table.exe.lnk").is_file())
        self.assertIsNone(s.registry(UNINSTALL_KEY))
        self.assertIsNone(s.registry(PRODUCT_KEY))
        self.assertTrue(s.host_path(r"C:\windows\Gorvix.exe").is_file())
        u.click_control("Label7")
        gorvix.wait_exit(15)

    def test_failing_step_is_named_on_the_finish_page(self):
        # A folder where the shell would write the recent-documents shortcut:
        # the installer waits for it in vain, with the meter at 100, then says
        # that this one shortcut was not made.
        s, app, copying, dest = self.copying_with_the_recent_link_blocked("install-failing-step")
        copying.click_control("Label10")
        self.assertTrue(wait_until(lambda: copying.text("MeterPos").startswith("100"), timeout=20))
        s.screenshot("install-copying-100")
        finish = s.wait_window("Form7", timeout=30)
        self.assertEqual(finish.text("Label14"),
                         "Инсталацията завърши с грешки. Не бяха създадени: прекия път „Table.exe“ в програмната група.")
        s.screenshot("install-finish-with-failure")
        # Everything else is in place.
        self.assertTrue(s.host_path(dest + r"\Table.exe").is_file())
        self.assertIsNotNone(s.registry(UNINSTALL_KEY))
        finish.click_control("Label10")
        self.assertIsNotNone(app.wait_exit(15))

    def test_empty_drive_picked_with_the_mouse_then_uninstalled(self):
        s = WineSession("install-drive-d").__enter__()
        self.addCleanup(s.close)
        drive = map_empty_drive(s, "d")
        app, destination = self.walk_to_destination(s)
        self.assertIn("d:", destination.control("Drive1")["items"])
        pick_drive(s, destination, "d:")
        self.assertTrue(wait_until(lambda: destination.text("Text1") == r"D:\Zentrik"), destination.text("Text1"))
        self.assertEqual(destination.text("Drive1"), "d:")
        # The root alone, with no folders under it.
        self.assertEqual(destination.control("Dir1")["items"], ["D:\\"])
        s.screenshot("install-drive-d-destination")

        destination.click_control("Label10")
        s.wait_window("Form5").click_control("Label10")
        copying = s.wait_window("Form6")
        self.assertTrue((drive / "Zentrik").is_dir())
        copying.click_control("Label10")
        finish = s.wait_window("Form7", timeout=30)
        self.assertEqual(finish.text("Label14"), SUCCESS)
        finish.click_control("Label10")
        self.assertIsNotNone(app.wait_exit(15), "Не ends the installer")
        viewer = drive / "Zentrik" / "Table.exe"
        self.assertTrue(viewer.is_file())
        self.assertTrue((drive / "Zentrik" / "vrakel.mdb").is_file())
        self.assertEqual(s.registry(PRODUCT_KEY)["values"]["dir"], (1, r"D:\Zentrik"))

        # The uninstaller from the uninstall entry removes the viewer there.
        entry = s.registry(UNINSTALL_KEY)
        gorvix, u = self.uninstall(s, entry["values"]["UninstallString"][1])
        s.screenshot("install-drive-d-uninstalled")
        self.assertEqual(u.text("Label12"), UNINSTALLED)
        self.assertFalse(viewer.exists())
        self.assertTrue((drive / "Zentrik" / "vrakel.mdb").is_file())
        self.assertIsNone(s.registry(UNINSTALL_KEY))
        self.assertIsNone(s.registry(PRODUCT_KEY))
        u.click_control("Label7")
        gorvix.wait_exit(15)

    def test_record_of_an_earlier_installer_on_drive_d_is_uninstalled(self):
        # Earlier installers recorded "D:\\Zentrik" for a folder picked at the
        # root of D:. The uninstaller reads it as D:\Zentrik.
        s = WineSession("uninstall-drive-d-record").__enter__()
        self.addCleanup(s.close)
        drive = map_empty_drive(s, "d")
        (drive / "Zentrik").mkdir()
        viewer = drive / "Zentrik" / "Table.exe"
        viewer.write_bytes((DIST / "Table.exe").read_bytes())
        (drive / "Zentrik" / "vrakel.mdb").write_bytes((DIST / "vrakel.mdb").read_bytes())
        s.host_path(r"C:\windows\Gorvix.exe").write_bytes((DIST / "Gorvix.exe").read_bytes())
        group = start_menu_programs(s) + r"\Zentrik"
        s.host_path(group).mkdir(parents=True)
        (s.host_path(group) / NAMED_SHORTCUT).write_bytes(b"L\0\0\0")
        s.reg_add(PRODUCT_KEY, "dir", r"D:\\Zentrik")
        s.reg_add(PRODUCT_KEY, "Sdir", group + "\\")
        s.reg_add(UNINSTALL_KEY, "DisplayName", "Zentrik© Elemora 2002®")
        s.reg_add(UNINSTALL_KEY, "UninstallString", r"C:\windows\Gorvix.exe")
        self.assertEqual(s.registry(PRODUCT_KEY)["values"]["dir"], (1, r"D:\\Zentrik"))
        gorvix, u = self.uninstall(s, r"C:\windows\Gorvix.exe")
        self.assertFalse(viewer.exists())
        self.assertTrue((drive / "Zentrik" / "vrakel.mdb").is_file())
        self.assertEqual(u.text("Label12"), UNINSTALLED)
        self.assertIsNone(s.registry(PRODUCT_KEY))
        u.click_control("Label7")
        gorvix.wait_exit(15)

    def test_clicks_and_close_keys_during_the_installation_change_nothing(self):
        # A folder where the shell would write the recent-documents entry keeps
        # the installer waiting for about two seconds, handling messages.
        s, app, copying, dest = self.copying_with_the_recent_link_blocked("install-busy")
        copying.click_control("Label11")   # the cancel question, left open
        question = s.wait_window("frmExit")
        yes = question.control("Label12")["rect"]
        # "Старт" where the question does not cover it, and the step "Начало".
        start = copying.point(4740 + 600, 1095 + 120)
        step = copying.control("Label8")["rect"]
        s.screenshot("install-busy-before")
        copying.click_twips(4740 + 600, 1095 + 120)
        # Then at once, inside the installation: "Да", "Старт" again, "Начало", Alt+F4.
        for x, y in (middle(yes), start, middle(step)):
            s.xdotool("mousemove", "--sync", str(x), str(y))
            s.xdotool("click", "1")
        s.xdotool("key", "alt+F4")
        finish = s.wait_window("Form7", timeout=30)
        s.screenshot("install-busy-finish")
        self.assertTrue(app.running(), "the installer ended halfway")
        self.assertEqual(finish.text("Label14"), RECENT_FAILED)
        self.assertTrue(s.wait_gone("frmExit"), "the cancel question outlived the installation")
        self.assertFalse(s.windows("Form1"))
        self.assertFalse(s.windows("Form6"))
        self.assertTrue(s.host_path(dest + r"\Table.exe").is_file())
        finish.click_control("Label10")
        self.assertIsNotNone(app.wait_exit(15))

    def test_default_destination(self):
        self.road("install", None)

    def test_typed_destination_with_cyrillic_and_spaces(self):
        # On a Bulgarian system, as the product's users have it: code page 1251.
        self.road("install-typed", TYPED_DEST, locale="bg_BG.UTF-8", codepage="windows-1251")


if __name__ == "__main__":
    unittest.main()
