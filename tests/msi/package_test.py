"""The Windows Installer packages of scripts/build, read back with msitools:
what they install, from which version, how they upgrade and refuse, and that
the Bulgarian texts survived the build. Skipped (exit 77) before a build."""

from __future__ import annotations

import os
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(os.environ.get("ELEMORA_SOURCE_DIR") or Path(__file__).resolve().parents[2])
BUILD_MSI = ROOT / "msi" / "build-msi"
PACKAGES = {"x86": (ROOT / "build" / "dist", "Elemora.msi"), "x64": (ROOT / "build" / "dist-x64", "Elemora-x64.msi")}


def table(package: Path, name: str) -> list[dict[str, str]]:
    """A table's rows, by column name."""
    text = subprocess.run(["msiinfo", "export", str(package), name], capture_output=True, check=True).stdout
    lines = text.decode("utf-8").split("\r\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def properties(package: Path) -> dict[str, str]:
    return {row["Property"]: row["Value"] for row in table(package, "Property")}


def resource_version(exe: Path) -> str:
    data = exe.read_bytes()
    at = data.find(bytes.fromhex("BD04EFFE"))
    ms, ls = int.from_bytes(data[at + 8:at + 12], "little"), int.from_bytes(data[at + 12:at + 16], "little")
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def tables(package: Path) -> list[str]:
    out = subprocess.run(["msiinfo", "tables", str(package)], capture_output=True, text=True, check=True).stdout
    return sorted(out.split())


def build(dist: Path, arch: str, out: Path, version: str | None = None) -> Path:
    args = [sys.executable, str(BUILD_MSI), "--arch", arch, str(dist), str(out)]
    if version:
        args[2:2] = ["--version", version]
    subprocess.run(args, check=True, capture_output=True)
    return out


class Package(unittest.TestCase):
    def test_each_package_installs_the_viewer_and_its_group_from_the_resources_version(self):
        guard = (ROOT / "setup" / "package_guard.h").read_text(encoding="utf-8")
        upgrade_code = re.search(r"kPackageUpgradeCode\[\] = L\"(\{[0-9A-F-]+\})\"", guard).group(1)
        for arch, (dist, name) in PACKAGES.items():
            with self.subTest(arch=arch):
                package = dist / name
                props = properties(package)
                version = resource_version(dist / "Table.exe")
                self.assertEqual(props["ProductVersion"] + ".0", version)
                self.assertEqual(props["UpgradeCode"], upgrade_code, "Setup.exe looks for another product")
                self.assertEqual(props["ProductName"], "Zentrik© Elemora")
                self.assertEqual((props["ALLUSERS"], props["ARPPRODUCTICON"]), ("1", "Table.exe"))

                files = {row["FileName"]: row for row in table(package, "File")}
                self.assertEqual(sorted(files), ["Table.exe", "vrakel.mdb"])
                for file_name, row in files.items():
                    self.assertEqual(int(row["FileSize"]), (dist / file_name).stat().st_size, file_name)
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
                self.assertEqual(directories["INSTALLDIR"]["DefaultDir"], "Elemora")
                self.assertEqual(directories[directories["INSTALLDIR"]["Directory_Parent"]]["DefaultDir"], "Zentrik")

                # Older versions are removed first; a newer one blocks.
                upgrade = sorted((r["VersionMin"], r["VersionMax"], r["Attributes"]) for r in table(package, "Upgrade"))
                self.assertEqual(upgrade, [("", props["ProductVersion"], "1"), (props["ProductVersion"], "", "2")])
                sequence = {r["Action"]: int(r["Sequence"]) for r in table(package, "InstallExecuteSequence")}
                self.assertLess(sequence["InstallValidate"], sequence["RemoveExistingProducts"])
                self.assertLess(sequence["RemoveExistingProducts"], sequence["InstallInitialize"])
                # Gorvix.exe runs after the launch conditions and before anything of ours is installed.
                self.assertLess(sequence["InstallInitialize"], sequence["RemoveSetupInstallation"])
                self.assertLess(sequence["RemoveSetupInstallation"], sequence["ProcessComponents"])
                self.assertLess(sequence["AllUsersStartMenu"], sequence["CostFinalize"])

                conditions = {r["Condition"]: r["Description"] for r in table(package, "LaunchCondition")}
                self.assertEqual(len(conditions), 2)
                setup_condition = next(c for c in conditions if "SETUPUNINSTALL" in c)
                self.assertTrue(setup_condition.startswith("Installed OR "), "a launch condition may block removal")
                self.assertIn('REPLACESETUP="1"', setup_condition)
                self.assertIn("REPLACESETUP=1", conditions[setup_condition])
                for text in conditions.values():
                    self.assertRegex(text, "[А-Яа-я]{4}")
                locator = {r["Signature_"]: r for r in table(package, "RegLocator")}["SetupEntry"]
                self.assertEqual(locator["Key"], r"SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Zentrik© Elemora")

                # Windows reads the strings in the package's code page.
                codepage = subprocess.run(["msiinfo", "export", str(package), "_ForceCodepage"], capture_output=True,
                                          check=True).stdout
                self.assertIn(b"1251\t_ForceCodepage", codepage)
                self.assertIn("Периодична".encode("cp1251"), package.read_bytes())
                self.assertNotIn("Периодична".encode("utf-8"), package.read_bytes())

    def test_the_two_platforms_differ_only_where_the_platform_requires(self):
        x86, x64 = (dist / name for dist, name in PACKAGES.values())
        self.assertEqual(tables(x86), tables(x64))
        codes = {arch: properties(dist / name)["ProductCode"] for arch, (dist, name) in PACKAGES.items()}
        self.assertNotEqual(codes["x86"], codes["x64"])
        platform_columns = {
            "Component": {"ComponentId", "Attributes"},      # the 64-bit flag
            "RegLocator": {"Type"},                          # the 64-bit registry view
            "File": {"FileSize", "Version"},                 # two builds of the viewer
            "MsiFileHash": {"HashPart1", "HashPart2", "HashPart3", "HashPart4"},
        }
        for name in tables(x86):
            if name in ("_SummaryInformation", "_ForceCodepage", "Icon", "Binary"):
                continue
            with self.subTest(table=name):
                skip = platform_columns.get(name, set())
                a, b = ([{k: v for k, v in row.items() if k not in skip} for row in table(p, name)] for p in (x86, x64))
                if name == "Property":
                    a, b = ([row for row in rows if row["Property"] != "ProductCode"] for rows in (a, b))
                if name == "Directory":
                    b = [{k: v.replace("ProgramFiles64Folder", "ProgramFilesFolder") for k, v in row.items()} for row in b]
                self.assertEqual(sorted(map(str, a)), sorted(map(str, b)))
        x86_components = {r["Component"]: int(r["Attributes"]) for r in table(x86, "Component")}
        x64_components = {r["Component"]: int(r["Attributes"]) for r in table(x64, "Component")}
        self.assertEqual({c: a | 256 for c, a in x86_components.items()}, x64_components)

    def test_product_code_follows_version_and_platform(self):
        dist, name = PACKAGES["x64"]
        with tempfile.TemporaryDirectory() as tmp:
            same = properties(build(dist, "x64", Path(tmp) / "same.msi"))
            higher = properties(build(dist, "x64", Path(tmp) / "higher.msi", "1.0.1"))
        built = properties(dist / name)
        self.assertEqual(same["ProductCode"], built["ProductCode"])
        self.assertEqual(higher["ProductVersion"], "1.0.1")
        self.assertNotEqual(higher["ProductCode"], built["ProductCode"])
        self.assertEqual(higher["UpgradeCode"], built["UpgradeCode"])


if __name__ == "__main__":
    if not all((dist / name).exists() for dist, name in PACKAGES.values()):
        print("the packages are not built (scripts/build)")
        sys.exit(77)
    unittest.main()
