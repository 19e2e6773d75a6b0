"""Table.exe under Wine, the atom's structure walked from the keyboard alone:
Ctrl+Enter on Fe opens it, a screen reader reads its parts, the wheel and
the page keys step through the elements, the switch orders the subshells by
filling, the view is copied and saved with empty boxes, and Esc closes it."""

from __future__ import annotations

import json
import subprocess
import time
import unittest

from harness import DIST, INSPECTOR, WineSession, wait_until
import test_trends

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class AtomTest(unittest.TestCase):
    def parts(self, atom) -> dict:
        return {c["name"]: c for c in atom.controls()}

    def title(self, atom) -> str:
        return atom.refresh().info["text"]

    def test_atom_from_the_keyboard_read_aloud_stepped_switched_saved_and_closed(self):
        with WineSession("atom") as s:
            app, w = s.start_viewer()
            test_trends.TrendsTest.focus_tile(self, s, "H")
            s.key("Down", "Down", "Down", *["Right"] * 7)
            self.assertEqual(s.focused_control(), "lbl_Fe")
            atom = s.open_by_key("ctrl+Return", "form_atom")
            self.assertEqual(s.message_boxes(), [])
            self.assertEqual(self.title(atom), "Строеж на атома – Желязо (Fe)")
            self.assertEqual(s.focused_control(), "lbl_heading")

            parts = self.parts(atom)
            self.assertEqual(parts["lbl_shells"]["accname"], "Електронна обвивка: K 2, L 8, M 14, N 2")
            self.assertEqual(parts["lbl_config"]["accname"], "Електронна конфигурация: [Ar] 3d6 4s2")
            self.assertEqual(parts["lbl_config"]["description"], "1s2 2s2 2p6 3s2 3p6 3d6 4s2")
            self.assertEqual(parts["box_3d"]["accname"], "3d: 5 клетки, ↑↓ ↑ ↑ ↑ ↑")
            self.assertEqual(parts["box_3d"]["description"], "4 несдвоени")
            self.assertEqual(parts["lbl_unpaired"]["accname"], "Несдвоени електрони: 4")
            # The drawing is not read: no child for a shell's letter or an arrow.
            self.assertFalse([c for c in atom.controls() if c["name"].startswith("atom_")])
            s.screenshot("atom-fe")

            # The wheel over the window steps by atomic number (the page keys below).
            l, t, r, b = atom.rect
            s.xdotool("mousemove", "--sync", str((l + r) // 2), str((t + b) // 2))
            s.xdotool("click", "5")
            self.assertTrue(wait_until(lambda: self.title(atom) == "Строеж на атома – Кобалт (Co)", 5), self.title(atom))

            # The switch after the heading, the shells and the configuration.
            s.key("Tab", "Tab", "Tab", "Tab")
            self.assertEqual(s.focused_control(), "opt_by_filling")
            s.key("space")
            self.assertTrue(wait_until(
                lambda: self.parts(atom)["lbl_config"]["accname"] == "Електронна конфигурация: [Ar] 4s2 3d7", 5))
            s.key("ctrl+c")
            self.assertTrue(wait_until(lambda: self.clipboard(s).get("dib") is not None), "no picture was copied")
            clip = self.clipboard(s)
            self.assertIn("\r\n[Ar] 4s² 3d⁷\r\n", clip["text"])
            self.assertEqual(clip["dib"]["width"], 3508)

            # Cr and Pd, the exceptions a lesson shows.
            s.key("Tab")
            self.assertTrue(s.focused_control().startswith("box_"))
            s.key("Prior", "Prior", "Prior")
            self.assertTrue(wait_until(lambda: self.title(atom) == "Строеж на атома – Хром (Cr)", 5))
            s.screenshot("atom-cr")
            s.key(*["Next"] * 22)
            self.assertTrue(wait_until(lambda: self.title(atom) == "Строеж на атома – Паладий (Pd)", 8))
            self.assertEqual(self.parts(atom)["lbl_config"]["accname"], "Електронна конфигурация: [Kr] 4d10")
            s.screenshot("atom-pd")

            # Empty boxes from the window's own menu, saved as a picture.
            s.key(*["Prior"] * 20)
            self.assertTrue(wait_until(lambda: self.title(atom) == "Строеж на атома – Желязо (Fe)", 8))
            s.key("shift+F10")
            time.sleep(0.5)
            s.key("Down", "Return")
            time.sleep(0.6)
            (s.drive_c / "atoms").mkdir()
            png = s.save_picture(r"C:\atoms\fe", "atom-fe-blank")
            density = subprocess.run(["identify", "-units", "PixelsPerInch", "-format", "%w %x", str(png)],
                                     capture_output=True, text=True, timeout=30).stdout.split()
            self.assertEqual(density[0], "3508")
            self.assertEqual(round(float(density[1])), 300)

            s.key("Escape")
            self.assertTrue(s.wait_gone("form_atom"))
            self.assertTrue(app.running())
            self.assertEqual(w.refresh().name, "form_main")
            self.assertEqual(s.message_boxes(), [])

    def clipboard(self, s) -> dict:
        return json.loads(next(l for l in s.run(str(INSPECTOR), "clip").splitlines() if l.startswith("{")))


if __name__ == "__main__":
    unittest.main()
