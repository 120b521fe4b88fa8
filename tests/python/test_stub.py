"""The package's type stub as a type checker reads it (Debian's mypy, on
the gridmex that this Python imports): a small use of the package passes,
and unpacking three outputs of a two-output plug-in, or leaving out a
required input, is an error."""
import os
import subprocess
import sys

import gridmex

GOOD = """
import numpy as np
import gridmex

I = np.zeros((4, 5), order="F")
v = gridmex.pxBilinSample(np.array([1.5]), np.array([2.0]), I)
gx, gy = gridmex.pxCellSlope([1.0], [2.0], I)
R = gridmex.slopeBasis2(I, np.ones((20, 1))) + gridmex.slopeBasis2(I, np.ones((20, 1)), 2)
total: float = float(v.sum() + gx.sum() + gy.sum() + R.sum())
with gridmex.threads(1):
    m, s = gridmex.pxGrayStats(I.astype(np.uint8))
try:
    gridmex.fdSlope(I)
except gridmex.GridmexError as e:
    identifier: str = e.identifier
"""
BAD = """
import numpy as np
import gridmex

gx, gy, gz = gridmex.pxCellSlope([1.0], [2.0], np.zeros((4, 5)))
v = gridmex.pxBilinSample([1.0], [2.0])
"""


def test_mypy_accepts_a_use_and_rejects_wrong_unpacking(tmp_path):
    (tmp_path / "good.py").write_text(GOOD)
    (tmp_path / "bad.py").write_text(BAD)
    # mypy finds the package where this Python found it.
    env = dict(os.environ, PYTHONPATH=os.path.dirname(os.path.dirname(os.path.abspath(gridmex.__file__))))
    run = subprocess.run([sys.executable, "-m", "mypy", "--python-executable", sys.executable, "--cache-dir", "/dev/null",
                          "--no-error-summary", "good.py", "bad.py"], cwd=tmp_path, env=env, capture_output=True, text=True)
    errors = sorted(line.split(" error: ")[0] for line in run.stdout.splitlines() if " error: " in line)
    assert errors == ["bad.py:5:", "bad.py:6:"], run.stdout + run.stderr
    assert "Need more than 2 values to unpack (3 expected)" in run.stdout
