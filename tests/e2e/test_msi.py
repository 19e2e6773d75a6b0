"""The Windows Installer package under Wine's msiexec, as Group Policy and
Intune run it: /i /qn into a folder of the administrator's choice, the
viewer started from there, an upgrade by a higher version, /x; and the
package and Setup.exe each refusing where the other's installation is."""

from __future__ import annotations

import json
import shutil
import subprocess
import sys
import time
import unittest

from harness import ARCH, DIST, INSPECTOR, ROOT, WINE, WineSession
from test_install import UNINSTALL_KEY
from test_unattended import log_text, run_setup
from test_viewer import tile_point

PACKAGE = DIST / ("Elemora.msi" if ARCH == "win32" else "Elemora-x64.msi")
FOLDER = r"C:\Моите програми\Периодична система"
GROUP = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Zentrik"
SHORTCUTS = ["Table.exe.lnk", "Zentrik® Elemora 2002.lnk"]
PRODUCT_KEY = r"HKLM\Software\Zentrik\Elemora"
# wine hands Linux only the low byte of the exit code.
ERROR_INSTALL_FAILURE = 1603 & 0xFF


def msiexec(s: WineSession, *args: str) -> int:
    with open(s.tmp / f"msiexec-{time.time_ns()}.log", "w") as out:
        return subprocess.run([WINE, "msiexec", *args], env=s.env, stdout=out, stderr=out, stdin=subprocess.DEVNULL,
                              timeout=180).returncode


def put_package(s: WineSession, version: str | None = None) -> str:
    """The package, or one of another version built from the same programs,
    in C:\\packages; its Windows path."""
    target = s.drive_c / "packages" / (f"Elemora-{version}.msi" if version else PACKAGE.name)
    target.parent.mkdir(exist_ok=True)
    if version:
        subprocess.run([sys.executable, str(ROOT / "msi" / "build-msi"), "--arch", "x86" if ARCH == "win32" else "x64",
                        "--version", version, str(DIST), str(target)], check=True, capture_output=True)
    else:
        shutil.copy(PACKAGE, target)
    return "C:\\packages\\" + target.name


def product_entries(s: WineSession) -> dict[str, str]:
    """Windows Installer's entries of ours in the list of programs, {ProductCode: key}."""
    root = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
    keys = {name: root + "\\" + name for name in s.registry(root)["subkeys"] if name.startswith("{")}
    return {code: key for code, key in keys.items() if s.reg_value(key, "DisplayName") == "Zentrik© Elemora"}


def shortcut(s: WineSession, windows_path: str) -> dict:
    return json.loads(next(line for line in s.run(str(INSPECTOR), "lnk", windows_path).splitlines()
                           if line.startswith("{")))


@unittest.skipUnless(PACKAGE.exists(), f"{PACKAGE.name} is not built")
class WindowsInstallerPackage(unittest.TestCase):
    def test_install_into_a_chosen_folder_start_the_viewer_upgrade_and_remove(self):
        with WineSession("msi-road", locale="bg_BG.UTF-8") as s:
            package = put_package(s)
            self.assertEqual(msiexec(s, "/i", package, "/qn", "/l*v", r"C:\msi.log", "INSTALLDIR=" + FOLDER), 0)
            for name in ("Table.exe", "vrakel.mdb"):
                self.assertTrue(s.host_path(FOLDER + "\\" + name).is_file(), name)
            self.assertEqual(sorted(p.name for p in s.host_path(GROUP).iterdir()), SHORTCUTS)
            for name in SHORTCUTS:
                link = shortcut(s, GROUP + "\\" + name)
                # Not advertised: the viewer's own icon (none named means the target's).
                self.assertEqual((link["path"], link["working"].rstrip("\\"), link["icon"]),
                                 (FOLDER + r"\Table.exe", FOLDER, ""), name)
            (code, key), = product_entries(s).items()
            entry = s.registry(key)["values"]
            self.assertEqual((entry["Publisher"][1], entry["DisplayVersion"][1]), ("Zentrik", "1.0.0"))
            self.assertIn(code, s.run("uninstaller", "--list"))

            viewer = s.start(FOLDER + r"\Table.exe")
            window = s.wait_window("form_main")
            time.sleep(0.5)
            window.refresh().click_twips(*tile_point(4920, 2700))
            self.assertEqual(s.text("txt_atom_num"), "26")
            s.screenshot("msi-viewer-fe")
            s.post_close(window)
            self.assertIsNotNone(viewer.wait_exit(15))

            # A higher version, given no folder, goes where the first one is
            # and puts its own files there (the database changed since is replaced).
            database = s.host_path(FOLDER + r"\vrakel.mdb")
            database.write_bytes(database.read_bytes() + b"changed")
            self.assertEqual(msiexec(s, "/i", put_package(s, "1.0.1"), "/qn"), 0)
            (new_code, key), = product_entries(s).items()
            self.assertNotEqual(new_code, code)
            self.assertEqual(s.reg_value(key, "DisplayVersion"), "1.0.1")
            self.assertEqual(database.read_bytes(), (DIST / "vrakel.mdb").read_bytes())
            self.assertEqual(sorted(p.name for p in s.host_path(GROUP).iterdir()), SHORTCUTS)
            # A lower version over it is refused.
            self.assertEqual(msiexec(s, "/i", package, "/qn"), ERROR_INSTALL_FAILURE)

            self.assertEqual(msiexec(s, "/x", new_code, "/qn"), 0)
            self.assertFalse(s.host_path(FOLDER).exists())
            self.assertFalse(s.host_path(GROUP).exists())
            self.assertEqual(product_entries(s), {})
            self.assertIsNone(s.registry(PRODUCT_KEY))

    def test_the_package_and_setup_each_refuse_over_the_other(self):
        with WineSession("msi-setup") as s:
            self.assertEqual(run_setup(s, "/S")[0], 0)
            package = put_package(s)
            self.assertEqual(msiexec(s, "/i", package, "/qn"), ERROR_INSTALL_FAILURE)
            # A 32-bit package on 64-bit Windows installs under "Program Files (x86)".
            for program_files in (r"C:\Program Files", r"C:\Program Files (x86)"):
                self.assertFalse(s.host_path(program_files + r"\Zentrik\Elemora").exists())
            self.assertEqual(product_entries(s), {})

            # REPLACESETUP=1: Setup's installation goes through its own Gorvix.exe /S first.
            self.assertEqual(msiexec(s, "/i", package, "/qn", "REPLACESETUP=1"), 0)
            self.assertIsNone(s.registry(UNINSTALL_KEY))
            self.assertFalse(s.host_path(r"C:\Program Files\Zentrik\Table.exe").exists())
            folder = s.reg_value(PRODUCT_KEY, "InstallDir")
            self.assertRegex(folder, r"^C:\\Program Files( \(x86\))?\\Zentrik\\Elemora\\$")
            self.assertTrue(s.host_path(folder + "Table.exe").is_file())
            self.assertEqual(len(product_entries(s)), 1)

            code, seen = run_setup(s, "/S", r"/LOG=C:\setup.log")
            self.assertEqual(code, 3)
            self.assertFalse(seen)
            self.assertIn("Windows Installer", log_text(s, r"C:\setup.log"))
            self.assertIsNone(s.registry(UNINSTALL_KEY))


if __name__ == "__main__":
    unittest.main()
