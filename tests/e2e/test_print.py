"""Table.exe under Wine printing the table through the system's print dialog
to a real printer queue: a private cupsd with a cups-pdf queue as the default
printer, the printed page turned into an image."""

from __future__ import annotations

import contextlib
import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

from harness import ARTIFACTS, DIST, WineSession, magick, wait_until

TABLE = DIST / "Table.exe"
DATABASE = DIST / "vrakel.mdb"
TRANSITION_METALS = "#00FFFF"   # Fe's tile
WHITE = "#FFFFFF"
CUPS_PDF = Path("/usr/lib/cups/backend/cups-pdf")
CUPS_PDF_PPD = "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"


class PdfPrinter:
    """cupsd on a private socket with one cups-pdf queue, the default printer.
    cups-pdf reads its settings from a fixed folder; a queue of its own name
    there sends its files here instead of the user's home."""

    def __init__(self, folder: Path):
        self.folder = folder
        self.queue = f"elemora{os.getpid()}"
        self.socket = folder / "cups.sock"
        self.out = folder / "pdf"
        self.settings = Path("/etc/cups") / f"cups-pdf-{self.queue}.conf"
        self.env = dict(os.environ, CUPS_SERVER=str(self.socket))
        self.proc = None

    def start(self) -> str | None:
        """Starts the queue; the reason when cupsd cannot serve one here."""
        cupsd = shutil.which("cupsd") or "/usr/sbin/cupsd"
        if not Path(cupsd).exists() or not CUPS_PDF.exists():
            return "cupsd or the cups-pdf backend is not installed (scripts/bootstrap installs them)"
        if os.geteuid() != 0:
            return "cupsd runs the cups-pdf backend only when started as root"
        for d in ("conf", "spool/tmp", "cache", "state", "log", "pdf"):
            (self.folder / d).mkdir(parents=True, exist_ok=True)
        # cupsd's filters run as the unprivileged "lp" and read the spool.
        for d in (self.folder, self.folder.parent):
            d.chmod(0o711)
        f = self.folder
        (f / "conf" / "cupsd.conf").write_text(
            f"Listen {self.socket}\nBrowsing No\nWebInterface No\nLogLevel info\nDefaultAuthType None\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
        (f / "conf" / "cups-files.conf").write_text(
            f"ServerRoot {f}/conf\nRequestRoot {f}/spool\nTempDir {f}/spool/tmp\nCacheDir {f}/cache\n"
            f"StateDir {f}/state\nErrorLog {f}/log/error_log\nAccessLog {f}/log/access_log\n"
            f"PageLog {f}/log/page_log\n")
        with open(f / "log" / "cupsd.out", "w") as log:
            self.proc = subprocess.Popen([cupsd, "-f", "-c", str(f / "conf" / "cupsd.conf"),
                                          "-s", str(f / "conf" / "cups-files.conf")],
                                         stdout=log, stderr=log, stdin=subprocess.DEVNULL, start_new_session=True)
        wait_until(lambda: self.proc.poll() is not None or "is running" in self.lp("lpstat", "-r"), timeout=20)
        if "is running" not in self.lp("lpstat", "-r"):
            log = (f / "log" / "cupsd.out").read_text(errors="replace")
            if (f / "log" / "error_log").exists():
                log += (f / "log" / "error_log").read_text(errors="replace")
            return "cupsd did not start: " + (log.strip().splitlines() or ["no output"])[-1]
        self.settings.write_text(f"Out {self.out}\nAnonDirName {self.out}\nSpool {f}/spool/cups-pdf\n")
        self.lp("lpadmin", "-p", self.queue, "-E", "-v", f"cups-pdf:/{self.queue}", "-m", CUPS_PDF_PPD, check=True)
        self.lp("lpadmin", "-d", self.queue, check=True)
        return None

    def lp(self, *args: str, check: bool = False) -> str:
        r = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=30, check=check)
        return r.stdout + r.stderr

    def jobs(self) -> str:
        return self.lp("lpstat", "-W", "all", "-o", self.queue).strip()

    def pdfs(self) -> list[Path]:
        return sorted(self.out.glob("*.pdf"))

    def stop(self):
        self.settings.unlink(missing_ok=True)
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()


@contextlib.contextmanager
def default_printer(test: unittest.TestCase, s: WineSession):
    """A PdfPrinter as the default printer of the session's programs for the
    block; the test is skipped where cupsd cannot serve one."""
    printer = PdfPrinter(s.tmp / "cups")
    try:
        reason = printer.start()
        if reason:
            test.skipTest(reason)
        s.env["CUPS_SERVER"] = str(printer.socket)
        yield printer
    finally:
        printer.stop()


def printed_pages(test: unittest.TestCase, s: WineSession, printer: PdfPrinter, count: int,
                  artifact: str) -> list[str]:
    """Answers the print dialog that is opening with its default button,
    waits for the one job it sends, checks that it is a PDF of `count` pages,
    keeps it (and its pages as PNGs) as `artifact` and returns the text of
    each page."""
    s.wait_window("#32770", timeout=60)
    time.sleep(1)
    s.key("Return")
    test.assertTrue(wait_until(lambda: printer.pdfs() and not printer.lp("lpstat", "-o", printer.queue).strip(),
                               timeout=120), f"no PDF was printed; jobs: {printer.jobs()!r}")
    pdfs = printer.pdfs()
    test.assertEqual(len(pdfs), 1, "not one job")
    info = subprocess.run(["pdfinfo", str(pdfs[0])], check=True, capture_output=True, text=True).stdout
    test.assertRegex(info, rf"Pages:\s+{count}\n")
    shutil.copy(pdfs[0], ARTIFACTS / f"{artifact}.pdf")
    subprocess.run(["pdftoppm", "-png", "-r", "60", str(pdfs[0]), str(ARTIFACTS / artifact)], check=True, timeout=60)
    return [subprocess.run(["pdftotext", "-f", str(n), "-l", str(n), str(pdfs[0]), "-"], check=True,
                           capture_output=True, text=True).stdout for n in range(1, count + 1)]


@unittest.skipUnless(TABLE.exists() and DATABASE.exists(), "Table.exe or vrakel.mdb is not built")
class PrintTest(unittest.TestCase):
    def test_printed_page_is_the_table_in_landscape_on_white(self):
        with WineSession("print") as s, default_printer(self, s) as printer:
            self.walk(s, printer)

    def walk(self, s: WineSession, printer: PdfPrinter):
        s.start_viewer()
        for _ in range(15):   # to the tile table, as a keyboard user goes
            if s.focused_control().startswith("lbl_"):
                break
            s.key("Tab")
        tile = s.focused_control()

        # Cancel prints nothing.
        dialog = s.open_by_key("ctrl+p", "#32770", timeout=30)
        s.screenshot("print-dialog")
        texts = " ".join(c["text"] for c in dialog.controls())
        self.assertIn(printer.queue, texts, "the print dialog does not offer the CUPS queue")
        s.key("Escape")
        self.assertTrue(s.wait_gone("#32770"))
        time.sleep(3)
        self.assertEqual(printer.jobs(), "")
        self.assertEqual(printer.pdfs(), [])
        self.assertEqual(s.focused_control(), tile)

        s.open_by_key("ctrl+p", "#32770", timeout=30)
        s.key("Return")
        # The job ends once cups-pdf has written the whole file.
        self.assertTrue(wait_until(lambda: printer.pdfs() and not printer.lp("lpstat", "-o", printer.queue).strip(),
                                   timeout=90),
                        f"no PDF was printed; jobs: {printer.jobs()!r}; boxes: "
                        f"{[s.message_text(b) for b in s.message_boxes()]!r}")
        self.assertEqual(s.message_boxes(), [])
        pdf = printer.pdfs()[0]
        pages = subprocess.run(["pdfinfo", str(pdf)], check=True, capture_output=True, text=True).stdout
        self.assertRegex(pages, r"Pages:\s+1\n")
        # Drawn for the printer, not a picture of the window: the title is text.
        text = subprocess.run(["pdftotext", str(pdf), "-"], check=True, capture_output=True, text=True).stdout
        self.assertIn("Периодична система на химичните елементи", text)
        subprocess.run(["pdftoppm", "-png", "-r", "50", "-singlefile", str(pdf), str(s.tmp / "page")],
                       check=True, timeout=60)
        shutil.copy(pdf, ARTIFACTS / "print-page.pdf")
        page = ARTIFACTS / "print-page.png"
        shutil.copy(s.tmp / "page.png", page)

        width, height = map(int, magick(str(page), "-format", "%w %h", "info:").split())
        self.assertGreater(width, height, "the page is not landscape")
        corners = magick(str(page), "-format",
                         f"%[hex:p{{0,0}}] %[hex:p{{{width - 1},0}}] %[hex:p{{0,{height - 1}}}] "
                         f"%[hex:p{{{width - 1},{height - 1}}}]", "info:")
        for corner in corners.split():
            self.assertEqual("#" + corner[:6].upper(), WHITE)
        self.assertIn(TRANSITION_METALS, magick(str(page), "-format", "%c", "histogram:info:-").upper())
        # The picture fills the page one way and is centred both ways.
        w_, h_, x, y = map(int, magick(str(page), "-trim", "-format", "%w %h %X %Y", "info:")
                           .replace("+", " ").split())
        left, right, top, bottom = x, width - x - w_, y, height - y - h_
        self.assertLessEqual(abs(left - right), 3, (left, right))
        self.assertLessEqual(abs(top - bottom), 3, (top, bottom))
        self.assertLess(min(left + right, top + bottom), 0.1 * width, "the picture does not fill the page")


if __name__ == "__main__":
    unittest.main()
