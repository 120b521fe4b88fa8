"""The front end's own work: how NumPy arrays and Python values reach the
plug-ins (layouts, dtypes, shapes, scalars), how refusals come back, the
docstrings, threads and the GIL, and that repeated calls leak nothing."""
import concurrent.futures
import gc
import inspect
import os
import sys
import threading
import time
import tracemalloc

import numpy as np
import pytest
from hypothesis import given, settings, strategies as st

import gridmex

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
rng = np.random.default_rng(5)
IMAGE = np.asfortranarray(rng.uniform(0, 255, (40, 30)))
VOLUME = np.asfortranarray(rng.uniform(0, 255, (12, 10, 8)))
X, Y = rng.uniform(0.5, 41, 500), rng.uniform(0.5, 31, 500)
XV, YV, ZV = rng.uniform(1, 12, 300), rng.uniform(1, 10, 300), rng.uniform(1, 8, 300)


def bits(a):
    return a.dtype.str, a.shape, a.tobytes(order="F")


# Each image or volume layout against the Fortran-ordered original: the same bits.
LAYOUTS = {
    "C order": np.ascontiguousarray,
    "strided": lambda a: np.repeat(a, 2, axis=0)[::2],
    "read-only": lambda a: np.frombuffer(a.tobytes(order="F"), a.dtype).reshape(a.shape, order="F"),
    "big-endian": lambda a: a.astype(a.dtype.newbyteorder(">")),
    "transposed C": lambda a: np.ascontiguousarray(a.T).T,
}


@pytest.mark.parametrize("layout", LAYOUTS)
def test_layouts_give_the_bits_of_the_fortran_call(layout):
    change = LAYOUTS[layout]
    assert bits(gridmex.pxCubicSample(X, Y, change(IMAGE))) == bits(gridmex.pxCubicSample(X, Y, IMAGE))
    assert bits(gridmex.vxTrilinSample(change(XV), YV, ZV, change(VOLUME))) == \
        bits(gridmex.vxTrilinSample(XV, YV, ZV, VOLUME))


@pytest.mark.parametrize("dtype", ["f4", "i1", "u1", "i2", "u2", "i4", "u4", "i8", "u8", "?"])
def test_element_classes_read_as_double_reads_them(dtype):
    image = (IMAGE > 128) if dtype == "?" else IMAGE.astype(dtype)
    want = gridmex.pxBilinSample(X, Y, image.astype("f8"))
    assert bits(gridmex.pxBilinSample(X, Y, image)) == bits(want)


def test_fortran_arrays_are_read_in_place_others_copied_once():
    volume = np.asfortranarray(rng.uniform(0, 255, (100, 100, 100)))
    for layout, copies in [(volume, 0), (np.ascontiguousarray(volume), 1)]:
        tracemalloc.start()
        gridmex.vxTrilinSample(XV, YV, ZV, layout)
        peak = tracemalloc.get_traced_memory()[1]
        tracemalloc.stop()
        assert copies * volume.nbytes <= peak < (copies + 0.5) * volume.nbytes


def test_console_text_is_printed(capsys):
    with pytest.raises(gridmex.GridmexError, match="Singular Matrix."):
        gridmex.matInvert6(np.zeros((36, 1)))
    assert capsys.readouterr().out.startswith("Pivot 1 1 0\n")


def test_shapes_are_matlab_sizes_and_indices_map_to_the_pixel_frame():
    i, j = np.meshgrid(np.arange(40), np.arange(30), indexing="ij")
    v = gridmex.pxBilinSample(i + 1.0, j + 1.0, IMAGE)  # NumPy [i, j] is the point (i+1, j+1)
    assert v.shape == (40, 30) and v.flags.f_contiguous and v.flags.writeable
    assert np.array_equal(v[1:-1, 1:-1], IMAGE[1:-1, 1:-1])  # the first and last rows and columns are outside
    assert gridmex.pxBilinSample(X, Y, IMAGE).shape == (500, 1)  # 1-D: a column
    assert gridmex.pxBilinSample(np.zeros((0, 3)), np.zeros((0, 3)), IMAGE).shape == (0, 3)
    assert gridmex.pxBilinSample(np.empty((0, 0)), np.empty((0, 0)), IMAGE).shape == (0, 0)
    from_lists = gridmex.pxBilinSample(list(X[:5]), tuple(Y[:5]), IMAGE)
    assert bits(from_lists) == bits(gridmex.pxBilinSample(X[:5], Y[:5], IMAGE))
    m, s = gridmex.pxGrayStats(IMAGE)
    assert m.shape == s.shape == (1, 1) and abs(m[0, 0] - IMAGE.mean()) < 1e-9


def test_python_scalars_read_as_numbers():
    phi = np.add.outer(np.arange(-8.0, 9), np.zeros(17)) / 4
    want = bits(gridmex.lvsRedistance(phi, 1.0, 2.0))
    for h, t in [(1, 2), (True, 2), (np.int32(1), np.float32(2)), (np.array([[1]], "u1"), "\x02"), (2**0, 2**1)]:
        assert bits(gridmex.lvsRedistance(phi, h, t)) == want
    # A str is MATLAB's char: one UTF-16 code unit per character, a lone
    # surrogate included, read as its code.
    for text, code in [("\xe9", 233), ("\ud800", 0xD800), ("\U0001F600", 0xD83D)]:
        assert bits(gridmex.lvsRedistance(phi, 1, text)) == bits(gridmex.lvsRedistance(phi, 1, code))
    assert bits(gridmex.lvsRedistance(phi, 2**60, 2)) == bits(gridmex.lvsRedistance(phi, 2.0**60, 2))


def test_signatures_are_the_help_files_calling_forms():
    assert str(inspect.signature(gridmex.pxBilinSample)) == "(X, Y, I, /)"
    assert str(inspect.signature(gridmex.slopeBasis2)) == "(image, basis, step=..., /)"
    assert str(inspect.signature(gridmex.feQuadPixels)) == "(elt, xn, yn, xpix, ypix, /)"


PHI = np.ones((5, 5))
# Calls Python can make that the plug-ins refuse: the exception, and the
# identifier of the refusal ("" for the count messages, which have none).
REFUSALS = [
    (lambda: gridmex.pxBilinSample(X, Y), TypeError, ""),
    (lambda: gridmex.pxBilinSample(), TypeError, ""),
    (lambda: gridmex.matInvert6(), TypeError, "matInvert6:noInput"),
    (lambda: gridmex.lvsRedistance(PHI, 1, 1, 1), TypeError, ""),
    (lambda: gridmex.pxBilinSample(X, Y, IMAGE + 1j), gridmex.GridmexError, "pxBilinSample:notRealNumeric"),
    (lambda: gridmex.pxBilinSample(X, Y, IMAGE.astype("f2")), gridmex.GridmexError, "pxBilinSample:notRealNumeric"),
    (lambda: gridmex.pxBilinSample(X, Y, IMAGE.astype(object)), gridmex.GridmexError, "pxBilinSample:notRealNumeric"),
    (lambda: gridmex.pxBilinSample(X, Y, np.array(["ab", "cd"])), gridmex.GridmexError, "pxBilinSample:notRealNumeric"),
    (lambda: gridmex.pxBilinSample(X, Y, "image"), gridmex.GridmexError, "pxBilinSample:notRealNumeric"),
    (lambda: gridmex.pxBilinSample(X, Y, np.zeros(3, "M8[s]")), gridmex.GridmexError, "pxBilinSample:notRealNumeric"),
    (lambda: gridmex.pxBilinSample([1, 2], [1, 2], IMAGE), gridmex.GridmexError, "pxBilinSample:notRealDouble"),
    (lambda: gridmex.pxBilinSample(X, Y[:3], IMAGE), gridmex.GridmexError, "pxBilinSample:tooShort"),
    (lambda: gridmex.lvsRedistance(PHI, None, 1), gridmex.GridmexError, "lvsRedistance:emptyScalar"),
    (lambda: gridmex.lvsRedistance(PHI, [[1, 2], [3]], 1), gridmex.GridmexError, "lvsRedistance:notNumeric"),
    (lambda: gridmex.lvsRedistance(PHI, {"h": 1}, 1), gridmex.GridmexError, "lvsRedistance:notNumeric"),
    (lambda: gridmex.lvsRedistance(PHI, 0, 1), gridmex.GridmexError, "lvsRedistance:badSpacing"),
    (lambda: gridmex.fdSlope("\ud800"), gridmex.GridmexError, "fdSlope:notRealNumeric"),
    # Python's own refusals: None for an array, an int no double holds.
    (lambda: gridmex.pxBilinSample(X, Y, None), TypeError, "pxBilinSample: argument 3 (I) is None"),
    (lambda: gridmex.slopeBasis2(None, np.ones((4, 1)), None), TypeError, "slopeBasis2: argument 1 (image)"),
    (lambda: gridmex.fdSlope(10**400), TypeError, "fdSlope: argument 1 is an int beyond the range"),
    (lambda: gridmex.lvsRedistance(PHI, 1, 2**53 + 1), TypeError, "lvsRedistance: argument 3 is an int that no"),
]


@pytest.mark.parametrize("k", range(len(REFUSALS)))
def test_refusals_keep_the_plugins_identifiers(k):
    call, kind, identifier = REFUSALS[k]
    with pytest.raises(kind) as refusal:
        call()
    if hasattr(refusal.value, "identifier"):
        assert refusal.value.identifier == identifier and str(refusal.value)
    else:  # refused by the package: the text names the plug-in and the argument
        assert str(refusal.value).startswith(identifier)
    assert issubclass(gridmex.GridmexError, ValueError)
    assert gridmex._host.live_arrays() == 0


def test_docstrings_are_the_help_files():
    for name in gridmex.PLUGINS:
        with open(os.path.join(ROOT, "domains.txt"), encoding="utf-8") as f:
            domains = [line.split()[0] for line in f if line[:1].isalpha()]
        domain = next(d for d in domains if os.path.exists(os.path.join(ROOT, d, name + ".m")))
        with open(os.path.join(ROOT, domain, name + ".m"), encoding="utf-8") as f:
            first, call_line = f.readline(), f.readlines()[1]
        doc = getattr(gridmex, name).__doc__.splitlines()
        assert doc[0] == first[2:].rstrip() and doc[2] == call_line[2:].rstrip(), name


LARGE = (rng.uniform(1, 40, 400000), rng.uniform(1, 30, 400000))


def test_threads_and_concurrent_python_threads_give_the_same_bits():
    with gridmex.threads(1):
        want = bits(gridmex.pxCubicSample(*LARGE, IMAGE))
    with gridmex.threads(2):
        assert bits(gridmex.pxCubicSample(*LARGE, IMAGE)) == want
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        got = list(pool.map(lambda _: bits(gridmex.pxCubicSample(*LARGE, IMAGE)), range(4)))
    assert got == [want] * 4


def test_the_gil_is_released_during_a_call():
    # About 11 M cell updates: a tenth of a second or more, during which this
    # thread runs only if the call let go of the GIL.
    phi = np.add.outer(np.arange(-150.0, 150), np.zeros(300)) / 4
    ticks = 0
    with gridmex.threads(1):
        worker = threading.Thread(target=gridmex.lvsRedistance, args=(phi, 1, 60))
        worker.start()
        time.sleep(0.01)
        while worker.is_alive():
            ticks += 1
            time.sleep(0.001)
        worker.join()
    assert ticks > 10


def test_repeated_calls_leak_nothing():
    # Frames of earlier tests (a kept traceback) may still hold the arrays
    # until the collector runs.
    gc.collect()
    refs = [sys.getrefcount(a) for a in (X, Y, IMAGE)]
    for _ in range(20):
        gridmex.pxCellSlope(X, Y, np.ascontiguousarray(IMAGE))
    tracemalloc.start()
    before = tracemalloc.take_snapshot()
    for _ in range(300):
        gridmex.pxCellSlope(X, Y, np.ascontiguousarray(IMAGE))
        with pytest.raises(gridmex.GridmexError):
            gridmex.pxCellSlope(X, Y, IMAGE + 1j)
    grown = sum(s.size_diff for s in tracemalloc.take_snapshot().compare_to(before, "filename"))
    tracemalloc.stop()
    assert grown < 64 * 1024
    gc.collect()
    assert [sys.getrefcount(a) for a in (X, Y, IMAGE)] == refs
    assert gridmex._host.live_arrays() == 0 and gridmex._host.live_scratch_blocks() == 0


# Values of every kind Python can pass, for calls drawn at random: arrays of
# many kinds, and Python's own hard cases (ints of any size, floats, any text,
# lone surrogates included).
POOL = [None, "", "abc", 3, 2.5, -1, True, [], [1, [2]], {}, 1 + 2j, np.zeros((0, 3)), IMAGE[::3, ::2],
        IMAGE.astype("f2"), IMAGE.astype(object), np.ascontiguousarray(VOLUME), VOLUME > 100, X[:7],
        np.arange(12, dtype=">i4").reshape(3, 4), np.full((36, 2), 0.5), np.zeros(3, "M8[s]"),
        np.array([np.nan, np.inf]), 2**53 + 1, 10**400, -2**1024, "\ud800"]
VALUES = st.one_of(st.sampled_from(POOL), st.integers(), st.floats(),
                   st.text(st.characters(blacklist_categories=()), max_size=3))


@pytest.mark.parametrize("name", sorted(gridmex.PLUGINS))
@settings(max_examples=80, derandomize=True, database=None, deadline=None)
@given(data=st.data())
def test_random_python_calls_return_or_refuse(fuzz_outcomes, name, data):
    # Mostly as many inputs as the plug-in takes, one fewer or one more.
    parameters = inspect.signature(getattr(gridmex, name)).parameters
    args = data.draw(st.lists(VALUES, min_size=len(parameters) - 1, max_size=len(parameters) + 1))
    try:
        out = getattr(gridmex, name)(*args)
    except (TypeError, gridmex.GridmexError) as refusal:
        fuzz_outcomes[type(refusal).__name__] += 1
    else:
        fuzz_outcomes["returned"] += 1
        outputs = out if isinstance(out, tuple) else (out,)
        assert all(isinstance(o, np.ndarray) and o.dtype == np.float64 for o in outputs)
    assert gridmex._host.live_arrays() == 0
