"""Compares the e2e artifacts of two build trees pixel for pixel, for a change
that must not alter what is drawn (a refactoring of the painter, say).

    python3 compare_artifacts.py BEFORE_ARTIFACTS AFTER_ARTIFACTS [--crop WxH+X+Y] [--diffs DIR]

Every PNG and PDF that both folders hold is compared; a PDF is first turned
into one PNG a page with pdftoppm at 150 DPI. Each pair prints ImageMagick's
absolute error count (AE: pixels that differ, 0 for identical) and a diff
picture is kept for each pair that differs. --crop cuts both pictures of a
whole-screen shot to a window's rectangle before comparing, for a clock or a
caret outside the window that may differ between runs. Exits 1 when any pair
differs."""

from __future__ import annotations

import argparse
import subprocess
import sys
import tempfile
from pathlib import Path


def pages(pdf: Path, out: Path) -> list[Path]:
    """The PDF's pages as PNGs in `out`, first page first."""
    out.mkdir(parents=True, exist_ok=True)
    subprocess.run(["pdftoppm", "-r", "150", "-png", str(pdf), str(out / pdf.stem)], check=True, timeout=120)
    return sorted(out.glob(f"{pdf.stem}-*.png"))


def absolute_error(a: Path, b: Path, diff: Path, crop: str | None) -> str:
    """ImageMagick's AE count for a against b, or why they cannot be compared."""
    if crop:
        a_in, b_in = [["(", str(p), "-crop", crop, "+repage", ")"] for p in (a, b)]
        cmd = ["compare", "-metric", "AE", *a_in, *b_in, str(diff)]
    else:
        cmd = ["compare", "-metric", "AE", str(a), str(b), str(diff)]
    # compare writes the metric to its error output and exits 1 when the
    # pictures differ, 2 when it could not compare them (sizes differ).
    run = subprocess.run(cmd, capture_output=True, text=True, timeout=120)
    return run.stderr.strip() if run.returncode in (0, 1) else f"not comparable: {run.stderr.strip()}"


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("before", type=Path)
    ap.add_argument("after", type=Path)
    ap.add_argument("--crop", help="WxH+X+Y cut from both pictures first")
    ap.add_argument("--diffs", type=Path, help="folder for the diff pictures (default: a temporary one)")
    args = ap.parse_args()
    diffs = args.diffs or Path(tempfile.mkdtemp(prefix="artifact-diffs-"))
    diffs.mkdir(parents=True, exist_ok=True)

    pairs = []
    common = sorted({p.name for p in args.before.iterdir()} & {p.name for p in args.after.iterdir()})
    for name in common:
        a, b = args.before / name, args.after / name
        if name.endswith(".png"):
            pairs.append((name, a, b))
        elif name.endswith(".pdf"):
            pa, pb = pages(a, diffs / "before"), pages(b, diffs / "after")
            if len(pa) != len(pb):
                print(f"{name}: {len(pa)} pages against {len(pb)}")
                pairs.append((name, None, None))
            pairs += [(f"{name} page {n}", x, y) for n, (x, y) in enumerate(zip(pa, pb), 1)]

    differing = 0
    for label, a, b in pairs:
        if a is None:
            differing += 1
            continue
        diff = diffs / ("diff-" + label.removesuffix(".png").replace(" ", "-") + ".png")
        result = absolute_error(a, b, diff, args.crop)
        if result != "0":
            differing += 1
        print(f"{label}: AE {result}")
    print(f"{len(pairs)} compared, {differing} differ; diff pictures in {diffs}")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
