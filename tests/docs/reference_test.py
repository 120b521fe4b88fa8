"""The reference pages keep every word of the help texts: for each plug-in,
each word of its help text (its Octave test blocks aside) appears on its
site page and on its help-browser page at least as often as in the help, so
that no row, paragraph or line of the help is lost to the parsing.  And the
Python calling form reads the inputs as the package does, optional ones
included.

Usage: reference_test.py SOURCE_DIR"""
import collections
import os
import re
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(sys.argv[1], "docs", "tools"))
import helpfile  # noqa: E402
import matlab_help  # noqa: E402
import reference_pages  # noqa: E402


def words(text):
    return collections.Counter(re.findall(r"[A-Za-z0-9]+", text))


helps, families = helpfile.plugins(), helpfile.families()
site, browser = reference_pages.Writer(helps, families), matlab_help.Pages(helps)
problems = []
for name, h in helps.items():
    wanted = words(h.text.split("\n", 1)[1]) + words(h.summary)
    for kind, page in (("site page", site.page(name)),
                       ("help-browser page", " ".join(browser.plugin(name).itertext()))):
        lost = wanted - words(page.replace("\\", ""))
        if lost:
            problems.append(f"{name}: the {kind} lacks {dict(lost)}")
    ET.fromstring(ET.tostring(browser.plugin(name)))

for name, call in (("pxBilinSample", "out = gridmex.pxBilinSample(X, Y, I, /)"),
                   ("pxCellSlope", "gx, gy = gridmex.pxCellSlope(X, Y, I, /)"),
                   ("slopeBasis2", "result = gridmex.slopeBasis2(image, basis, step=..., /)")):
    if helps[name].python_call() != call:
        problems.append(f"{name}: Python form {helps[name].python_call()!r}, not {call!r}")
for problem in problems:
    print(problem)
print(f"{len(helps)} plug-ins, {len(problems)} problems")
sys.exit(1 if problems else 0)
