"""Lays out the Sphinx sources of the site in SRC: the pages and figures of
docs/, the reference pages generated from the help files, the README (whose
introduction the front page includes) and the speed plots drawn from
bench/results/ where docs/speed.md holds the line "<!-- speed plots -->".

Usage: stage.py SRC"""
import os
import shutil
import sys

import helpfile
import reference_pages
import speed_plots

ROOT = helpfile.ROOT
MARKER = "<!-- speed plots -->"


def main(src):
    shutil.rmtree(src, ignore_errors=True)
    shutil.copytree(os.path.join(ROOT, "docs"), src, ignore=shutil.ignore_patterns("tools", "__pycache__"))
    os.makedirs(os.path.join(src, "_include"))
    shutil.copy(os.path.join(ROOT, "README.md"), os.path.join(src, "_include", "README.md"))
    reference_pages.write(os.path.join(src, "reference"), helpfile.plugins(), helpfile.families())

    speed = os.path.join(src, "speed.md")
    with open(speed, encoding="utf-8") as f:
        page = f.read()
    if page.count(MARKER) != 1:
        sys.exit(f"docs/speed.md: no single line {MARKER}")
    plots = speed_plots.draw(os.path.join(ROOT, "bench", "results"), os.path.join(ROOT, "docs", "speed-runs.txt"),
                             os.path.join(src, "speed"))
    with open(speed, "w", encoding="utf-8") as f:
        f.write(page.replace(MARKER, plots))


if __name__ == "__main__":
    main(sys.argv[1])
