"""Table.exe under Wine, the solubility table and the activity series walked
from the keyboard: Ctrl+R opens the window, a screen reader reads the cells,
the headers and the series in order, the arrows move the cell focus, Ctrl+C
puts the table on the clipboard as the data file gives it, and Esc closes;
the exam set prints the periodic table and this table as one job of two
pages through a CUPS test printer."""

from __future__ import annotations

import json
import time
import unittest

from harness import DIST, INSPECTOR, ROOT, WineSession, wait_until
from test_print import default_printer, printed_pages

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"
CATIONS = "H+ Li+ NH4+ Na+ K+ Mg2+ Ca2+ Ba2+ Al3+ Cr3+ Mn2+ Fe2+ Fe3+ Zn2+ Ag+ Hg2+ Pb2+ Sn2+ Cu2+".split()
ANIONS = ["OH-", "F-", "Cl-", "Br-", "I-", "S2-", "SO3 2-", "SO4 2-", "NO3-", "PO4 3-", "CO3 2-", "SiO3 2-",
          "CH3COO-"]
SERIES = ["Li, Литий", "K, Калий", "Ba, Барий", "Ca, Калций", "Na, Натрий", "Mg, Магнезий", "Al, Алуминий",
          "Mn, Манган", "Zn, Цинк", "Cr, Хром", "Fe, Желязо", "Co, Кобалт", "Ni, Никел", "Sn, Калай",
          "Pb, Олово", "H2, Водород", "Cu, Мед", "Hg, Живак", "Ag, Сребро", "Pt, Платина", "Au, Злато"]


# The ions as the clipboard writes them.
UNICODE = dict(zip(CATIONS + ANIONS, "H⁺ Li⁺ NH₄⁺ Na⁺ K⁺ Mg²⁺ Ca²⁺ Ba²⁺ Al³⁺ Cr³⁺ Mn²⁺ Fe²⁺ Fe³⁺ Zn²⁺ Ag⁺ Hg²⁺ Pb²⁺ "
                   "Sn²⁺ Cu²⁺ OH⁻ F⁻ Cl⁻ Br⁻ I⁻ S²⁻ SO₃²⁻ SO₄²⁻ NO₃⁻ PO₄³⁻ CO₃²⁻ SiO₃²⁻ CH₃COO⁻".split()))


def data_file_as_text() -> str:
    """The clipboard's text as data/solubility.txt gives it."""
    marks = {}
    for line in (ROOT / "data" / "solubility.txt").read_text(encoding="utf-8").splitlines():
        if line and not line.startswith("#"):
            cation, anion, mark = line.split("\t")
            marks[cation, anion] = mark
    rows = ["\t" + "\t".join(UNICODE[c] for c in CATIONS)]
    rows += [UNICODE[a] + "\t" + "\t".join(marks[c, a] for c in CATIONS) for a in ANIONS]
    return "\r\n".join(rows) + "\r\n"


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class SolubilityTest(unittest.TestCase):
    def test_ctrl_r_reads_walks_and_copies_the_table_then_esc_closes_it(self):
        with WineSession("solubility") as s:
            app, w = s.start_viewer()
            win = s.open_by_key("ctrl+r", "form_solubility")
            s.screenshot("solubility")
            # One reading of the whole tree: a few hundred controls take long.
            rows = s.inspect()
            top = [r for r in rows if r["depth"] == 0 and r["visible"]]
            self.assertEqual([r["name"] for r in top if r["class"] == "#32770"], [])
            self.assertIn("Разтворимост на веществата във вода",
                          [r["text"] for r in top if r["name"] == "form_solubility"])
            controls = [r for r in rows if r["top"] == win.info["hwnd"] and r["depth"] > 0]
            by_name = {c["accname"]: c for c in controls}
            for name in ("Ag+, Cl-: AgCl, неразтворимо", "Ba2+, SO4 2-: BaSO4, неразтворимо",
                         "Fe3+, OH-: Fe(OH)3, неразтворимо", "H+, OH-: H2O, вода",
                         "Sn2+, NO3-: Sn(NO3)2, не съществува или водата го разлага"):
                self.assertIn(name, by_name)
                self.assertEqual(by_name[name]["role"], "cell")
            self.assertEqual([c["accname"] for c in controls if c["role"] == "column header"], CATIONS)
            self.assertEqual([c["accname"] for c in controls if c["role"] == "row header"], ANIONS)
            self.assertEqual([c["accname"] for c in controls if c["role"] == "list item"], SERIES)
            # Drawn in the mark's colour.
            l, t, r, b = by_name["Ag+, Cl-: AgCl, неразтворимо"]["rect"]
            self.assertEqual(s.pixel(l + 3, t + 3), (0xF4, 0xA6, 0x9E))

            # The focus starts on the first cell; the arrows, Home and End move it.
            self.assertEqual(s.focused_control(), "cell_0_0")
            s.key("Right", "Down")
            self.assertEqual(s.focused_control(), "cell_1_1")
            s.key("End")
            self.assertEqual(s.focused_control(), "cell_1_18")
            s.key("Down", "Home")
            self.assertEqual(s.focused_control(), "cell_2_0")
            s.key("Tab")   # one tab stop
            self.assertEqual(s.focused_control(), "cell_2_0")
            s.key("Right", "ctrl+Home")
            self.assertEqual(s.focused_control(), "cell_0_0")
            s.key("Down", "Right")
            s.screenshot("solubility-focus")

            s.key("ctrl+c")
            clip = {}

            def copied():
                nonlocal clip
                clip = json.loads(next(l for l in s.run(str(INSPECTOR), "clip").splitlines() if l.startswith("{")))
                return clip.get("text") is not None

            self.assertTrue(wait_until(copied, 10), clip)
            self.assertEqual(clip["text"], data_file_as_text())
            self.assertEqual((clip["dib"] or {}).get("width"), 3508)

            s.key("Escape")
            self.assertTrue(s.wait_gone("form_solubility"))
            self.assertTrue(app.running())
            self.assertEqual(w.refresh().name, "form_main")

    def test_the_exam_set_prints_the_periodic_table_and_the_solubility_table_as_one_job_of_two_pages(self):
        with WineSession("solubility-exam") as s, default_printer(self, s) as printer:
            s.start_viewer()
            s.open_by_key("ctrl+r", "form_solubility")
            # The window's menu: three worksheet lines, "Черно-бяло", then the exam set.
            s.key("shift+F10")
            time.sleep(0.5)
            s.key(*["Down"] * 5, "Return")
            pages = printed_pages(self, s, printer, 2, "solubility-exam")
            self.assertIn("Периодична система на химичните елементи", pages[0])
            self.assertIn("Разтворимост на веществата във вода", pages[1])
            self.assertIn("активността на металите намалява", pages[1])

if __name__ == "__main__":
    unittest.main()
