"""The Win32 os services against the real system under Wine: the GoogleTest
program built from tests/os runs the same contract the fakes pass on the
host, and the checks only the real system can answer."""

import re
import unittest

from harness import BUILD, ARCH, WineSession

OS_TESTS = BUILD / ARCH / "tests" / "os" / "os_system_tests.exe"
# The contract, the system-only tests and the runtime's number texts.
MIN_TESTS = 15


class OsServices(unittest.TestCase):
    def test_every_service_against_the_system(self):
        self.assertTrue(OS_TESTS.exists(), f"{OS_TESTS} is not built")
        with WineSession("os-tests") as s:
            out = s.run(str(OS_TESTS), "--gtest_color=no", timeout=180)
        ran = re.search(r"^\[==========\] (\d+) tests? from \d+ test suites? ran\.", out, re.M)
        self.assertIsNotNone(ran, out)
        failed = sorted(set(re.findall(r"^\[  FAILED  \] ([A-Za-z][\w/.]*)", out, re.M)))
        self.assertEqual(failed, [], out)
        self.assertRegex(out, r"(?m)^\[  PASSED  \] \d+ tests?\.")
        print(f"\n  os_system_tests: {ran.group(1)} tests ran under Wine ({ARCH})")
        self.assertGreaterEqual(int(ran.group(1)), MIN_TESTS)


if __name__ == "__main__":
    unittest.main()
