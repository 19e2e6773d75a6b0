"""The Win32 os services checked against the real system under Wine: the
check program (tests/win) drives each service the way the programs use it
and reads the results back through plain Win32 calls."""

import re
import unittest

from harness import BUILD, ARCH, WineSession

OS_CHECK = BUILD / ARCH / "tests" / "win" / "os_check.exe"


@unittest.skipUnless(OS_CHECK.exists(), "os_check.exe is not built")
class OsServices(unittest.TestCase):
    def test_every_service_against_the_system(self):
        with WineSession("os-check") as s:
            out = s.run(str(OS_CHECK), timeout=120)
        result = re.search(r"(\d+) passed, (\d+) failed", out)
        self.assertIsNotNone(result, out)
        failures = [line for line in out.splitlines() if line.startswith("FAILED")]
        self.assertEqual(result.group(2), "0", "\n".join(failures))
        self.assertGreater(int(result.group(1)), 50)


if __name__ == "__main__":
    unittest.main()
