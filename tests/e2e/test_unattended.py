"""Setup.exe as deployment tools run it: /S with a folder, for every user of
the machine, with exit codes and a log; and the wizard's question about a
viewer that is running where it would be replaced."""

from __future__ import annotations

import time
import unittest

from harness import DIST, WineSession
from test_install import UNINSTALL_KEY, lnk_target, wait_until

FOLDER = r"C:\Моите програми\Периодична система"
MACHINE_KEY = r"HKLM\Software\Zentrik\Elemora"
USER_KEY = r"HKCU\Software\Zentrik\Elemora"
GROUP = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Zentrik"
REG_SZ, REG_DWORD = 1, 4


def run_setup(s: WineSession, *args: str, timeout: float = 90) -> tuple[int | None, bool]:
    """Runs Setup.exe to its end; returns its exit code and whether any of
    its windows was seen meanwhile."""
    app = s.start(DIST / "Setup.exe", *args)
    seen = False
    end = time.time() + timeout
    while app.running() and time.time() < end:
        seen = seen or any(w.name.startswith("Form") or w.name == "#32770" for w in s.windows())
        time.sleep(0.5)
    return app.wait_exit(5), seen


def log_text(s: WineSession, windows_path: str) -> str:
    path = s.host_path(windows_path)
    return path.read_text(encoding="utf-8") if path.exists() else ""


@unittest.skipUnless((DIST / "Setup.exe").exists(), "Setup.exe is not built")
class UnattendedSetup(unittest.TestCase):
    def test_silent_install_for_every_user_then_again_over_it(self):
        with WineSession("silent-install", locale="bg_BG.UTF-8") as s:
            code, seen = run_setup(s, "/S", r"/LOG=C:\setup.log", "/D=" + FOLDER)
            self.assertEqual(code, 0, log_text(s, r"C:\setup.log"))
            self.assertFalse(seen, "a window appeared")
            for name in ("Table.exe", "vrakel.mdb"):
                self.assertTrue(s.host_path(FOLDER + "\\" + name).is_file(), name)
            self.assertTrue(s.host_path(r"C:\windows\Gorvix.exe").is_file())
            # The group in the all-users Start menu, both shortcuts to the installed viewer.
            group = s.host_path(GROUP)
            self.assertEqual(sorted(p.name for p in group.iterdir()), ["Table.exe.lnk", "Zentrik® Elemora 2002.lnk"])
            for link in group.iterdir():
                self.assertEqual(lnk_target(link, "windows-1251"), FOLDER + r"\Table.exe", link.name)
            # The records belong to the machine, none to the installing user.
            self.assertEqual(s.reg_value(MACHINE_KEY, "dir"), FOLDER)
            self.assertEqual(s.reg_value(MACHINE_KEY, "Sdir"), GROUP + "\\")
            self.assertIsNone(s.registry(USER_KEY))
            entry = s.registry(UNINSTALL_KEY)["values"]
            self.assertEqual(entry["QuietUninstallString"], (REG_SZ, r'"C:\windows\Gorvix.exe" /S'))
            self.assertEqual(entry["NoModify"], (REG_DWORD, 1))
            self.assertEqual(entry["NoRepair"], (REG_DWORD, 1))
            size = sum(s.host_path(p).stat().st_size for p in (FOLDER + r"\Table.exe", FOLDER + r"\vrakel.mdb",
                                                                   r"C:\windows\Gorvix.exe"))
            self.assertEqual(entry["EstimatedSize"], (REG_DWORD, (size + 1023) // 1024))
            self.assertRegex(entry["InstallDate"][1], r"^20\d{6}$")
            log = log_text(s, r"C:\setup.log")
            self.assertNotIn("FAILED", log)
            self.assertIn("Table.exe.lnk", log)

            # A second installation over the first replaces, duplicates nothing, succeeds.
            # Wine quotes an argument with spaces whole, as Inno Setup's own
            # documentation writes it: "/DIR=C:\My Folder".
            code, _ = run_setup(s, "/VERYSILENT", "/SUPPRESSMSGBOXES", "/NORESTART", f"/DIR={FOLDER}")
            self.assertEqual(code, 0)
            self.assertEqual(len(list(s.host_path(GROUP).iterdir())), 2)
            leftovers = [p.name for p in s.host_path(FOLDER).iterdir() if p.name not in ("Table.exe", "vrakel.mdb")]
            self.assertEqual(leftovers, [], "a temporary file was left beside the copies")

    def test_bad_switch_gives_two_and_installs_nothing(self):
        with WineSession("silent-bad") as s:
            code, seen = run_setup(s, "/S", "/BOGUS")
            self.assertEqual(code, 2)
            self.assertFalse(seen)
            self.assertFalse(s.host_path(r"C:\Program Files\Zentrik").exists())
            self.assertIsNone(s.registry(UNINSTALL_KEY))

    def test_running_viewer_fails_the_silent_run_and_is_asked_about_in_the_wizard(self):
        with WineSession("silent-running") as s:
            self.assertEqual(run_setup(s, "/S")[0], 0)
            viewer = s.start(r"C:\Program Files\Zentrik\Table.exe")
            s.wait_window("form_main")
            code, _ = run_setup(s, "/S", r"/LOG=C:\again.log")
            self.assertEqual(code, 1)
            log = log_text(s, r"C:\again.log")
            # The viewer, and the database it holds open.
            failed = [line for line in log.splitlines() if line.startswith("FAILED")]
            self.assertEqual(len(failed), 2, log)
            self.assertIn(r"C:\Program Files\Zentrik\Table.exe (", failed[0])
            self.assertIn(r"C:\Program Files\Zentrik\vrakel.mdb (", failed[1])

            # The wizard asks, with Retry and Cancel; Cancel skips the copy and says so.
            app = s.start(DIST / "Setup.exe")
            s.wait_window("Form1", timeout=60).click_control("Label10")
            licence = s.wait_window("Form2")
            licence.click_control("Option1")
            licence.click_control("Label10")
            s.wait_window("Form4").click_control("Label10")
            s.wait_window("Form5").click_control("Label10")
            s.wait_window("Form6").click_control("Label10")
            self.assertTrue(wait_until(lambda: s.message_boxes(), timeout=30))
            box = s.message_boxes()[0]
            self.assertEqual(s.message_text(box), "Периодичната система е отворена и не може да бъде заменена: "
                             r"C:\Program Files\Zentrik\Table.exe. Затворете я и опитайте отново.")
            self.assertEqual(sorted(c["text"].replace("&", "") for c in box.controls()
                                    if c["class"].lower() == "button"), ["Cancel", "Retry"])
            s.screenshot("setup-viewer-running-question")
            s.key("Escape")
            finish = s.wait_window("Form7", timeout=30)
            self.assertIn("копирането на Table.exe", finish.text("Label14"))
            # Once declined for the viewer, the database it holds is not asked about again.
            self.assertEqual(s.message_boxes(), [])
            finish.click_control("Label10")
            self.assertIsNotNone(app.wait_exit(15))
            self.assertTrue(viewer.running())


if __name__ == "__main__":
    unittest.main()
