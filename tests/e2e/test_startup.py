"""The viewer's first moments: what a user types as soon as the window is
on the screen, before they could know whether it has finished starting,
reaches the box that has the focus."""

import shutil
import subprocess
import time
import unittest

from harness import DIST, WineSession, wait_until


class FirstMoments(unittest.TestCase):
    def test_keys_typed_the_moment_the_window_shows_go_into_the_focused_box(self):
        with WineSession("viewer-first-moments") as s:
            folder = s.drive_c / "Zentrik"
            folder.mkdir(parents=True, exist_ok=True)
            for name in ("Table.exe", "vrakel.mdb"):
                shutil.copy(DIST / name, folder / name)
            s.start("C:\\Zentrik\\Table.exe")
            # Watched for at the X level: asking the window itself, as the
            # other tests do, would let the program finish starting first.
            # Not seen there in time, the keys still go to the window found
            # as the other tests find it.
            end = time.time() + 20
            while time.time() < end:
                search = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "table.exe"], env=s.env,
                                        capture_output=True, text=True)
                if search.stdout.split():
                    break
                time.sleep(0.02)
            else:
                s.wait_window("form_main")
            s.xdotool("type", "--delay", "5", "26")
            w = s.wait_window("form_main")
            self.assertTrue(wait_until(lambda: w.text("txt_atom_num") == "26"), w.text("txt_atom_num"))
            self.assertEqual(s.focused_control(), "txt_atom_num")
            self.assertEqual(w.text("txt_name"), "")


if __name__ == "__main__":
    unittest.main()
