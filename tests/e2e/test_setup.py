"""Setup.exe walked under Wine with the mouse, page by page, as a user does."""

from __future__ import annotations

import time
import unittest

from harness import DIST, WineSession, wait_until

INTRO = ('Прочетете внимателно преди да продължите! В натискането на бутона "Аз приемам" '
         'вие автоматично приемате условията на това споразумение ')
NOT_REACHED = "Този етап не е преминат"
FREE_PREFIX = "Налично дисково пространство:"


@unittest.skipUnless((DIST / "Setup.exe").exists(), "Setup.exe is not built")
class SetupWizard(unittest.TestCase):
    def setUp(self):
        self.s = WineSession("setup").__enter__()
        self.addCleanup(self.s.close)
        # The Bulgarian number format: a no-break space groups, a comma separates decimals.
        self.s.reg_add(r"HKCU\Control Panel\International", "sDecimal", ",")
        self.s.reg_add(r"HKCU\Control Panel\International", "sThousand", "\u00a0")
        self.app = self.s.start(DIST / "Setup.exe")
        self.welcome = self.s.wait_window("Form1", timeout=60)

    def visible(self, name: str) -> bool:
        return bool(self.s.windows(name))

    def test_walk_from_welcome_to_copying(self):
        s = self.s
        self.assertEqual(self.welcome.text("Label10"), "Следващ")
        s.screenshot("setup-1-welcome")

        self.welcome.click_control("Label10")
        licence = s.wait_window("Form2")
        self.assertTrue(s.wait_gone("Form1"))
        text = licence.text("rtf").replace("\r\n", "\n")
        self.assertTrue(text.startswith(INTRO + "\n1. ЛИЦЕНЗНО РАЗРЕШИТЕЛНО."), text[:200])
        self.assertEqual(text.count("\n"), 5)
        s.screenshot("setup-2-licence")

        # Not accepted yet: Next stays on the page and says nothing.
        licence.click_control("Label10")
        time.sleep(1)
        self.assertTrue(self.visible("Form2"))
        self.assertFalse(self.visible("Form4"))
        self.assertFalse(self.visible("frmMsg"))

        licence.click_control("Option1")
        licence.click_control("Label10")
        destination = s.wait_window("Form4")
        self.assertEqual(destination.text("Text1"), r"C:\Program Files\Zentrik")
        s.screenshot("setup-3-destination")
        target = s.host_path(r"C:\Program Files\Zentrik")
        self.assertFalse(target.exists())

        destination.click_control("Label10")
        disk = s.wait_window("Form5")
        self.assertTrue(target.is_dir(), "Next on the destination page creates the folder")
        free = disk.text("Label14")
        self.assertTrue(free.startswith(FREE_PREFIX) and free.endswith(" mb"), free)
        figure = free[len(FREE_PREFIX):-len(" mb")]
        # Cut, not rounded, two places after the comma (unless the figure is whole).
        self.assertRegex(figure, r"^[0-9]+(,[0-9]{1,2})?$")
        self.assertGreater(float(figure.replace(",", ".")), 10)
        # Taking the drive root selected it in the destination box.
        hidden_destination = s.windows("Form4", visible_only=False)[0]
        self.assertEqual(hidden_destination.control("Text1")["selection"], [0, 3])
        s.screenshot("setup-4-disk-space")

        disk.click_control("Label10")
        copying = s.wait_window("Form6")
        self.assertTrue(s.wait_gone("Form5"))
        self.assertEqual(copying.text("Label10"), "Старт")
        self.assertEqual(copying.text("Label4"), "Програми")
        s.screenshot("setup-5-copying")

    def test_unreached_step_is_refused_in_the_message_dialog(self):
        s = self.s
        self.welcome.click_control("Label8")
        msg = s.wait_window("frmMsg")
        self.assertEqual(msg.text("Msg"), NOT_REACHED)
        self.assertTrue(self.visible("Form1"))
        s.screenshot("setup-message")
        msg.click_control("Label11")
        self.assertTrue(s.wait_gone("frmMsg"))
        self.assertTrue(self.visible("Form1"))

    def test_cancel_no_then_cancel_yes_ends_the_program(self):
        s = self.s
        self.welcome.click_control("Label11")
        confirm = s.wait_window("frmExit")
        self.assertEqual(confirm.text("Label11"), "Желате ли да излезете?")
        s.screenshot("setup-cancel")
        confirm.click_control("Label10")
        self.assertTrue(s.wait_gone("frmExit"))
        self.assertTrue(self.visible("Form1"))
        self.assertTrue(self.app.running())

        self.welcome.click_control("Label11")
        confirm = s.wait_window("frmExit")
        confirm.click_control("Label12")
        self.assertIsNotNone(self.app.wait_exit(15), "Да ends the installer")
        self.assertFalse(self.visible("Form1"))


if __name__ == "__main__":
    unittest.main()
