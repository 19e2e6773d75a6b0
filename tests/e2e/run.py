"""Runs every tests/e2e/test_*.py and writes "passed failed" to build/e2e/counts."""

import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

from harness import ARCH, DIST, WORK  # noqa: E402


def main() -> int:
    print(f"e2e: the {ARCH} programs from {DIST.relative_to(DIST.parents[1])}/", flush=True)
    suite = unittest.defaultTestLoader.discover(str(HERE), pattern="test_*.py", top_level_dir=str(HERE))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    passed = result.testsRun - failed - len(result.skipped)
    WORK.mkdir(parents=True, exist_ok=True)
    (WORK / "counts").write_text(f"{passed} {failed}\n")
    print(f"e2e ({ARCH}): {passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
