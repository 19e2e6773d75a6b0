"""Table.exe under Wine, its quiz taken from the keyboard alone: variant 4711
by name over the first twenty, five questions answered in the table, two
wrong on purpose; the verdicts as a screen reader reads them, the result, the
mistakes asked again; then the blank table by symbol, and Esc giving the
symbols back."""

from __future__ import annotations

import time
import unittest

from harness import DIST, WineSession, magick, wait_until
from test_print import default_printer, printed_pages

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"

# Variant 4711 over "Първите 20", as tests/viewer/quiz_test.cpp publishes it
# (computed apart from the program): H, Mg, B, N, He. Two answered wrong.
WALK = [("Водород", "h", True), ("Магнезий", "na", False), ("Бор", "b", True), ("Азот", "o", False),
        ("Хелий", "he", True)]


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class QuizTest(unittest.TestCase):
    def controls(self, s) -> dict:
        """Every control of both windows by name, from one reading of the tree."""
        return {c["name"]: c for c in s.inspect() if c["depth"] > 0}

    def wait_text(self, s, name: str, text: str, timeout: float = 8) -> dict:
        found = {}

        def check():
            found.update(self.controls(s))
            return found.get(name, {}).get("text") == text
        self.assertTrue(wait_until(check, timeout), f"{name}: {found.get(name, {}).get('text')!r}, not {text!r}")
        return found

    def fill(self, s, text: str):
        """Replaces what the focused text box holds."""
        s.key("End", "shift+Home")
        s.type_text(text)

    def answer_in_table(self, s, symbol: str):
        s.type_text(symbol)
        self.assertEqual(s.focused_control(), "lbl_" + symbol.capitalize())
        s.key("Return")

    def tile_colours(self, s, tile: dict) -> list[str]:
        """The colours inside a tile on the screen, its frame left out."""
        shot = s.screenshot("quiz-tile")
        l, t, r, b = tile["rect"]
        out = magick(str(shot), "-crop", f"{r - l - 8}x{b - t - 8}+{l + 4}+{t + 4}", "+repage",
                     "-format", "%c", "histogram:info:-")
        return [line.split()[2].upper() for line in out.splitlines() if line.strip()]

    def test_a_variant_from_the_keyboard_its_mistakes_again_and_the_blank_table(self):
        with WineSession("quiz") as s:
            _, w = s.start_viewer()
            quiz = s.open_by_key("ctrl+u", "form_quiz", settle=0.8)
            self.assertEqual(quiz.refresh().info["text"], "Упражнение")
            self.assertEqual(s.focused_control(), "cbo_kind")
            c = self.controls(s)
            self.assertEqual(c["cbo_kind"]["value"], "Намери елемента по име")
            self.assertEqual(c["cbo_elements"]["value"], "Всички")
            # Beside the table, which leaves it room on this screen.
            self.assertGreaterEqual(quiz.rect[0], w.refresh().rect[2])

            s.key("Tab", "Home")   # the elements: "Първите 20"
            s.key("Tab")
            self.fill(s, "5")
            s.key("Tab")
            self.fill(s, "4711")
            c = self.controls(s)
            self.assertEqual([c["cbo_elements"]["value"], c["txt_count"]["text"], c["txt_variant"]["text"]],
                             ["Първите 20", "5", "4711"])
            s.key("Tab")
            self.assertEqual(s.focused_control(), "btn_start")
            s.key("Return")

            # The table has the activation and its focus on a tile.
            self.assertTrue(wait_until(lambda: s.focused_control().startswith("lbl_"), 5), s.focused_control())
            for number, (name, typed, right) in enumerate(WALK, 1):
                c = self.wait_text(s, "lbl_question", f"Къде е {name}?")
                self.assertEqual(c["lbl_progress"]["text"], f"Въпрос {number} от 5")
                self.assertEqual(c["lbl_question"]["role"], "alert")
                if number == 1:
                    s.screenshot("quiz-question")
                self.answer_in_table(s, typed)
                symbol = {"Магнезий": "Mg", "Азот": "N"}.get(name)
                c = self.wait_text(s, "lbl_feedback", "Вярно!" if right else f"Грешно: {name} е {symbol}", 2)
                self.assertEqual(c["lbl_feedback"]["role"], "alert")
                # The panel shows nothing of the tile entered.
                self.assertEqual(c["txt_name"]["text"], "")
                if number == 2:
                    s.screenshot("quiz-wrong-answer")

            c = self.wait_text(s, "lbl_result", "Резултат: 3 от 5 (вариант 4711)")
            self.assertEqual(c["lst_mistakes"]["role"], "list")
            items = [c[n] for n in sorted(c) if n.startswith("mistake_")]
            self.assertEqual([i["role"] for i in items], ["list item", "list item"])
            self.assertEqual(items[0]["text"], "Къде е Магнезий? Отговор: Na (Натрий). Вярно: Mg (Магнезий).")
            self.assertTrue(wait_until(lambda: s.focused_control() == "btn_repeat", 5), s.focused_control())
            s.screenshot("quiz-end")

            s.key("Return")   # "Повтори грешните"
            for name, symbol in (("Магнезий", "mg"), ("Азот", "n")):
                self.wait_text(s, "lbl_question", f"Къде е {name}?")
                self.answer_in_table(s, symbol)
            c = self.wait_text(s, "lbl_result", "Резултат: 2 от 2 (вариант 4711)")

            # A new quiz on the blank table: no symbols while it asks.
            fe = c["lbl_Fe"]
            self.assertGreater(len(self.tile_colours(s, fe)), 1)   # the symbol's ink on the fill
            # Nothing left to repeat: the focus waits on "Ново упражнение".
            self.assertTrue(wait_until(lambda: s.focused_control() == "btn_new", 5), s.focused_control())
            s.key("Return")
            self.assertTrue(wait_until(lambda: s.focused_control() == "cbo_kind", 5), s.focused_control())
            s.key("Down", "Tab", "Tab", "Tab", "Tab", "Return")
            c = self.controls(s)
            self.assertEqual(c["lbl_progress"]["text"], "Въпрос 1 от 5")
            self.assertRegex(c["lbl_question"]["text"], r"^Къде е [A-Z][a-z]?\?$")
            self.assertEqual(len(self.tile_colours(s, fe)), 1)
            s.screenshot("quiz-blank-table")
            # Esc in the quiz window ends it and the symbols come back.
            l, t, r, b = c["lbl_progress"]["rect"]
            s.click((l + r) // 2, (t + b) // 2)
            s.key("Escape")
            self.assertTrue(s.wait_gone("form_quiz"))
            time.sleep(0.5)
            self.assertGreater(len(self.tile_colours(s, fe)), 1)
            self.assertEqual(s.message_boxes(), [])

    def test_the_variant_prints_as_one_job_of_questions_on_the_blank_table_and_the_answers(self):
        with WineSession("quiz-print") as s, default_printer(self, s) as printer:
            s.start_viewer()
            s.open_by_key("ctrl+u", "form_quiz", settle=0.8)
            s.key("Tab", "Home", "Tab")   # "Първите 20"
            self.fill(s, "5")
            s.key("Tab")
            self.fill(s, "4711")
            s.key("Tab", "Tab")
            self.assertEqual(s.focused_control(), "btn_print")
            s.key("Return")
            pages = printed_pages(self, s, printer, 2, "quiz-variant")
            self.assertIn("Упражнение – вариант 4711", pages[0])
            self.assertIn("Къде е Водород?", pages[0])
            self.assertIn("Къде е Хелий?", pages[0])
            self.assertIn("отговори", pages[1])

if __name__ == "__main__":
    unittest.main()
