"""The Windows Installer packages of scripts/build, read back with msitools.
Skipped (exit 77) before a build."""

from __future__ import annotations

import os
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(os.environ.get("ELEMORA_SOURCE_DIR") or Path(__file__).resolve().parents[2])
PACKAGES = {"x86": ROOT / "build" / "dist" / "Elemora.msi", "x64": ROOT / "build" / "dist-x64" / "Elemora-x64.msi"}


def table(package: Path, name: str) -> list[dict[str, str]]:
    out = subprocess.run(["msiinfo", "export", str(package), name], capture_output=True, check=True).stdout
    lines = out.decode("utf-8").split("\r\n")
    return [dict(zip(lines[0].split("\t"), line.split("\t"))) for line in lines[3:] if line]


def properties(package: Path) -> dict[str, str]:
    return {row["Property"]: row["Value"] for row in table(package, "Property")}


def resource_version(exe: Path) -> str:
    data = exe.read_bytes()
    at = data.find(bytes.fromhex("BD04EFFE")) + 8
    ms, ls = int.from_bytes(data[at:at + 4], "little"), int.from_bytes(data[at + 4:at + 8], "little")
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


class Package(unittest.TestCase):
    def test_each_package_holds_the_viewer_its_group_upgrades_and_refusals(self):
        guard = (ROOT / "setup" / "package_guard.h").read_text(encoding="utf-8")
        upgrade_code = re.search(r"kPackageUpgradeCode\[\] = L\"(\{[0-9A-F-]+\})\"", guard).group(1)
        for arch, package in PACKAGES.items():
            with self.subTest(arch=arch):
                props, dist = properties(package), package.parent
                version = resource_version(dist / "Table.exe")
                self.assertEqual(props["ProductVersion"] + ".0", version)
                self.assertEqual(props["UpgradeCode"], upgrade_code, "Setup.exe looks for another product")
                self.assertEqual(props["ProductName"], "Zentrik© Elemora")
                files = {row["FileName"]: row for row in table(package, "File")}
                self.assertEqual({n: int(r["FileSize"]) for n, r in files.items()},
                                 {n: (dist / n).stat().st_size for n in ("Table.exe", "vrakel.mdb")})
                self.assertEqual(files["Table.exe"]["Version"], version)

                directories = {row["Directory"]: row for row in table(package, "Directory")}
                shortcuts = {row["Name"]: row for row in table(package, "Shortcut")}
                self.assertEqual(sorted(shortcuts), ["Table.exe", "Zentrik® Elemora 2002"])
                for row in shortcuts.values():
                    self.assertEqual((row["Target"], row["WkDir"]), ("[INSTALLDIR]Table.exe", "INSTALLDIR"))
                    group = directories[row["Directory_"]]
                    self.assertEqual((group["DefaultDir"], group["Directory_Parent"]), ("Zentrik", "ProgramMenuFolder"))
                self.assertEqual(shortcuts["Zentrik® Elemora 2002"]["Description"],
                                 "Zentrik® Периодична Система на елементите")

                # Older versions go first; a newer one blocks. Gorvix.exe runs
                # before anything of ours is installed.
                upgrade = sorted((r["VersionMin"], r["VersionMax"], r["Attributes"]) for r in table(package, "Upgrade"))
                self.assertEqual(upgrade, [("", props["ProductVersion"], "1"), (props["ProductVersion"], "", "2")])
                order = [r["Action"] for r in sorted(table(package, "InstallExecuteSequence"),
                                                     key=lambda r: int(r["Sequence"]))]
                for earlier, later in [("AllUsersStartMenu", "CostFinalize"), ("InstallValidate", "RemoveExistingProducts"),
                                       ("RemoveExistingProducts", "InstallInitialize"),
                                       ("InstallInitialize", "RemoveSetupInstallation"),
                                       ("RemoveSetupInstallation", "ProcessComponents")]:
                    self.assertLess(order.index(earlier), order.index(later), (earlier, later))

                conditions = {r["Condition"]: r["Description"] for r in table(package, "LaunchCondition")}
                setup_condition = next(c for c in conditions if "SETUPUNINSTALL" in c)
                self.assertTrue(setup_condition.startswith("Installed OR "), "a launch condition may block removal")
                self.assertIn("REPLACESETUP=1", conditions[setup_condition])
                for text in conditions.values():
                    self.assertRegex(text, "[А-Яа-я]{4}")
                # Windows reads the strings in the package's code page.
                self.assertIn(b"1251\t_ForceCodepage", subprocess.run(
                    ["msiinfo", "export", str(package), "_ForceCodepage"], capture_output=True, check=True).stdout)
                self.assertIn("Периодична".encode("cp1251"), package.read_bytes())

    def test_the_two_platforms_differ_only_where_the_platform_requires(self):
        x86, x64 = PACKAGES.values()
        names = subprocess.run(["msiinfo", "tables", str(x86)], capture_output=True, text=True, check=True).stdout.split()
        platform_columns = {
            "Component": {"ComponentId", "Attributes"},      # the 64-bit flag
            "RegLocator": {"Type"},                          # the 64-bit registry view
            "File": {"FileSize", "Version"},                 # two builds of the viewer
            "MsiFileHash": {"HashPart1", "HashPart2", "HashPart3", "HashPart4"},
        }
        for name in set(names) - {"_SummaryInformation", "_ForceCodepage", "Icon", "Binary"}:
            with self.subTest(table=name):
                a, b = ([str({k: v.replace("ProgramFiles64Folder", "ProgramFilesFolder") for k, v in row.items()
                              if k not in platform_columns.get(name, ()) and row.get("Property") != "ProductCode"})
                         for row in table(p, name)] for p in (x86, x64))
                self.assertEqual(sorted(a), sorted(b))
        components = [{r["Component"]: int(r["Attributes"]) for r in table(p, "Component")} for p in (x86, x64)]
        self.assertEqual({c: a | 256 for c, a in components[0].items()}, components[1])
        codes = [properties(p)["ProductCode"] for p in (x86, x64)]
        self.assertNotEqual(codes[0], codes[1])
        # The same version rebuilt keeps its ProductCode.
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, str(ROOT / "msi" / "build-msi"), "--arch", "x64", str(x64.parent),
                            f"{tmp}/again.msi"], check=True, capture_output=True)
            self.assertEqual(properties(Path(tmp) / "again.msi")["ProductCode"], codes[1])


if __name__ == "__main__":
    if not all(p.exists() for p in PACKAGES.values()):
        print("the packages are not built (scripts/build)")
        sys.exit(77)
    unittest.main()
