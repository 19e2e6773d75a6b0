"""Gorvix.exe as a deployment tool runs it (/S, /LOG=, a bad switch), an
installation recorded only in the machine's key, and a viewer that is still
running while it is removed, under Wine."""

from __future__ import annotations

import shutil
import time
import unittest

from harness import DIST, WineSession, wait_until
from test_uninstall import (DONE_TEXT, INSTALL_DIR, NAMED_SHORTCUT, OTHER_SHORTCUT, UNINSTALL_KEY, USER_KEY,
                            Installed, key_listed)

UNINSTALLER = r"C:\windows\Gorvix.exe"
MACHINE_KEY = r"HKLM\SOFTWARE\Zentrik\Elemora"
SESSION_MANAGER = r"HKLM\SYSTEM\CurrentControlSet\Control\Session Manager"
LOG = r"C:\gorvix.log"
VIEWER_AT_RESTART = ('Премахването на програмите на Zentrik завърши успешно. Table.exe ще бъде изтрита при '
                     'следващото рестартиране. За край натиснете "Изход"')


def pending_deletions(s: WineSession) -> list[str]:
    """The files and folders the system is to delete at the next restart
    (PendingFileRenameOperations: pairs of source and empty target)."""
    key = s.registry(SESSION_MANAGER)
    if not key or "PendingFileRenameOperations" not in key["values"]:
        return []
    data = key["values"]["PendingFileRenameOperations"][1]
    names = bytes.fromhex(data).decode("utf-16-le").split("\0")
    out = []
    for source, target in zip(names[0::2], names[1::2]):
        if source and not target:
            out.append(source.removeprefix("\\??\\"))
    return out


class QuietUninstallUnderWine(unittest.TestCase):
    def setUp(self):
        if not (DIST / "Gorvix.exe").exists():
            self.skipTest("Gorvix.exe is not built")

    def run_silently(self, s: WineSession, *args: str, timeout: float = 60) -> tuple[int | None, list[str]]:
        """Runs the uninstaller to its end; returns its exit code and the
        names of any top-level windows seen while it ran."""
        app = s.start(UNINSTALLER, *args)
        seen = []
        end = time.time() + timeout
        while app.running() and time.time() < end:
            seen += [w.name for w in s.windows()]
        return app.wait_exit(max(1, end - time.time())), seen

    def log_lines(self, s: WineSession) -> list[str]:
        return s.host_path(LOG).read_bytes().decode("utf-8").split("\r\n")

    def test_silent_run_removes_a_user_installation_and_logs_each_step(self):
        with WineSession("quiet-uninstall") as s:
            inst = Installed(s)
            # The values the installer adds to the entry go with its key.
            s.reg_add(UNINSTALL_KEY, "QuietUninstallString", UNINSTALLER + " /S")
            s.reg_add(UNINSTALL_KEY, "EstimatedSize", "1234", "REG_DWORD")
            s.reg_add(UNINSTALL_KEY, "InstallDate", "20240901")
            s.reg_add(UNINSTALL_KEY, "NoModify", "1", "REG_DWORD")
            s.reg_add(UNINSTALL_KEY, "NoRepair", "1", "REG_DWORD")
            self.assertEqual(len(s.reg_query(UNINSTALL_KEY) or {}), 7)
            code, seen = self.run_silently(s, "/S", "/LOG=" + LOG)
            self.assertEqual(code, 0)
            self.assertEqual(seen, [], "a window appeared")
            self.assertEqual(inst.files_present(), {"Table.exe": False, "vrakel.mdb": True,
                                                    NAMED_SHORTCUT: False, OTHER_SHORTCUT: True})
            self.assertFalse(key_listed(s, UNINSTALL_KEY))
            self.assertFalse(key_listed(s, USER_KEY))

            lines = self.log_lines(s)
            self.assertEqual(lines[-1], "", "the last line ends")
            lines = lines[:-1]
            self.assertIn("OK      Изтрит файл: " + INSTALL_DIR + "\\Table.exe", lines)
            self.assertIn("OK      Изтрит файл: " + inst.group + "\\" + NAMED_SHORTCUT, lines)
            self.assertIn("OK      Изтрит ключ: HKEY_LOCAL_MACHINE" + UNINSTALL_KEY[4:], lines)
            self.assertIn("OK      Изтрит ключ: HKEY_CURRENT_USER" + USER_KEY[4:], lines)
            self.assertEqual(lines[-1], "OK      " + DONE_TEXT)
            self.assertFalse([line for line in lines if line.startswith("FAILED")])

    def test_a_bad_switch_removes_nothing_and_ends_in_two(self):
        with WineSession("quiet-uninstall-bad") as s:
            inst = Installed(s)
            code, seen = self.run_silently(s, "/S", "/X")
            self.assertEqual(code, 2)
            self.assertEqual(seen, [], "a window appeared for a silent run")
            self.assertEqual(inst.files_present(), {"Table.exe": True, "vrakel.mdb": True,
                                                    NAMED_SHORTCUT: True, OTHER_SHORTCUT: True})
            self.assertTrue(key_listed(s, UNINSTALL_KEY))
            self.assertEqual(set(s.reg_query(USER_KEY) or {}), {"dir", "Sdir"})

            # Started by a person: the reason and the usage, then 2.
            app = s.start(UNINSTALLER, "/X")
            box = s.wait_window("#32770")
            text = s.message_text(box)
            s.screenshot("quiet-uninstall-bad-switch")
            self.assertIn("/X", text)
            self.assertIn("Gorvix.exe [/S] [/LOG=файл]", text)
            self.assertEqual(s.windows("Form1"), [])
            s.key("Return")
            self.assertEqual(app.wait_exit(10), 2)
            self.assertTrue(inst.viewer.exists())

    def test_an_installation_recorded_in_the_machines_key_is_removed(self):
        with WineSession("quiet-uninstall-machine") as s:
            inst = Installed(s)
            s.run("reg", "delete", USER_KEY, "/f")
            s.reg_add(MACHINE_KEY, "dir", INSTALL_DIR)
            s.reg_add(MACHINE_KEY, "Sdir", inst.group + "\\")
            self.assertIsNone(s.registry(USER_KEY))
            self.assertEqual(s.reg_value(MACHINE_KEY, "dir"), INSTALL_DIR)
            code, seen = self.run_silently(s, "/S")
            self.assertEqual(code, 0)
            self.assertEqual(seen, [])
            self.assertEqual(inst.files_present(), {"Table.exe": False, "vrakel.mdb": True,
                                                    NAMED_SHORTCUT: False, OTHER_SHORTCUT: True})
            self.assertIsNone(s.registry(MACHINE_KEY))
            self.assertIsNotNone(s.registry(r"HKLM\SOFTWARE\Zentrik"))
            self.assertFalse(key_listed(s, UNINSTALL_KEY))
            self.assertIsNone(s.registry(USER_KEY))

    def start_viewer(self, s: WineSession, inst: Installed):
        """Starts the installed viewer and waits for its window."""
        if (DIST / "vrakel.mdb").exists():
            shutil.copyfile(DIST / "vrakel.mdb", inst.database)
        if inst.viewer.read_bytes()[:2] != b"MZ" or inst.viewer.stat().st_size < 1000:
            self.skipTest("Table.exe is not built")
        viewer = s.start(INSTALL_DIR + "\\Table.exe")
        s.wait_window("form_main")
        return viewer

    def test_a_running_viewer_goes_at_the_restart_and_the_window_says_so(self):
        with WineSession("quiet-uninstall-running") as s:
            inst = Installed(s)
            viewer = self.start_viewer(s, inst)
            app = s.start(UNINSTALLER)
            w = s.wait_window("Form1")
            w.click_control("Label6")
            wait_until(lambda: w.control("Label7")["visible"] and w.text("Label7") == "Изход", timeout=20)
            s.screenshot("quiet-uninstall-running-viewer")
            self.assertEqual(w.text("Label12"), VIEWER_AT_RESTART)
            self.assertTrue(w.control("Label12")["visible"])
            self.assertTrue(viewer.running())
            self.assertTrue(inst.viewer.exists(), "the running viewer was deleted")
            self.assertIn(INSTALL_DIR + "\\Table.exe", pending_deletions(s))
            # The folder keeps the database: it is not scheduled.
            self.assertNotIn(INSTALL_DIR, pending_deletions(s))
            self.assertFalse(inst.named.exists())
            # Counted as removed: the entry and the records go.
            self.assertFalse(key_listed(s, UNINSTALL_KEY))
            self.assertFalse(key_listed(s, USER_KEY))
            w.click_control("Label7")
            self.assertIsNotNone(app.wait_exit(10))

    def test_a_running_viewer_in_a_silent_run_is_scheduled_and_logged(self):
        with WineSession("quiet-uninstall-running-silent") as s:
            inst = Installed(s)
            viewer = self.start_viewer(s, inst)
            code, _ = self.run_silently(s, "/S", "/LOG=" + LOG)
            self.assertEqual(code, 0)
            self.assertTrue(viewer.running())
            self.assertIn(INSTALL_DIR + "\\Table.exe", pending_deletions(s))
            lines = self.log_lines(s)[:-1]
            self.assertIn("OK      Файлът е в употреба и ще бъде изтрит при следващото рестартиране: "
                          + INSTALL_DIR + "\\Table.exe", lines)
            self.assertEqual(lines[-1], "OK      " + VIEWER_AT_RESTART)
            self.assertFalse(key_listed(s, USER_KEY))


if __name__ == "__main__":
    unittest.main()
