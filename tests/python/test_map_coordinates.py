"""gridmex.map_coordinates against scipy.ndimage.map_coordinates: every dtype,
2-D and 3-D, order 0 and 1, modes 'constant' and 'nearest', at random points,
on every node and edge, a hair outside, far outside and at NaN."""
import numpy as np
import pytest
from scipy import ndimage

import gridmex

DTYPES = [np.float64, np.float32, np.int8, np.uint8, np.int16, np.uint16, np.int32, np.uint32, np.int64,
          np.uint64, np.bool_]


def array_of(dtype, shape, rng):
    if dtype is np.bool_:
        return rng.uniform(size=shape) > 0.5
    info = np.iinfo(dtype) if np.issubdtype(dtype, np.integer) else np.finfo(dtype)
    low, high = max(info.min, -1e4), min(info.max, 1e4)
    return rng.uniform(low, high, shape).astype(dtype)


def points(shape, rng, n=1500):
    """Coordinates of shape (ndim, n, 2): random over the array and two
    samples beyond, every node, halves, the hairs beyond both edges, far
    away (below 2**62, where scipy's index is defined) and NaN."""
    axes = []
    for extent in shape:
        last = extent - 1.0
        special = [0.0, last, -0.5, last + 0.5, 0.5, np.nextafter(0.0, -1), np.nextafter(last, extent),
                   -1e12, 1e12, np.nan]
        nodes = np.arange(extent, dtype=np.float64)
        values = np.concatenate([rng.uniform(-2, extent + 1, n), nodes, special])
        axes.append(values)
    size = max(len(a) for a in axes)
    q = np.array([rng.permutation(np.resize(a, size)) for a in axes])
    return q[:, : size // 2 * 2].reshape(len(shape), -1, 2)


SHAPES = [(7, 9), (5, 6, 4), (1, 6), (4, 1, 3)]


@pytest.mark.parametrize("shape", SHAPES)
@pytest.mark.parametrize("dtype", DTYPES)
def test_equals_scipy_bit_for_bit(shape, dtype):
    rng = np.random.default_rng(100 * SHAPES.index(shape) + DTYPES.index(dtype))
    image = array_of(dtype, shape, rng)
    q = points(shape, rng)
    finite = ~np.isnan(q).any(axis=0)
    for order in (0, 1):
        for mode, cval in (("constant", np.nan), ("constant", -3.0), ("nearest", 0.0)):
            ours = gridmex.map_coordinates(image, q, order=order, mode=mode, cval=cval)
            theirs = ndimage.map_coordinates(image, q, order=order, mode=mode, cval=cval, output=np.float64)
            assert ours.shape == theirs.shape == q.shape[1:]
            assert ours.dtype == np.float64
            # scipy's order 0 reads an undefined index at NaN in mode
            # 'nearest'; ours gives NaN there.
            compare = finite if mode == "nearest" else np.ones_like(finite)
            np.testing.assert_array_equal(ours[compare], theirs[compare], err_msg=f"{order} {mode} {cval}")
            if mode == "nearest":
                assert np.isnan(ours[~finite]).all()
            else:
                assert (np.isnan(ours[~finite]) if np.isnan(cval) else ours[~finite] == cval).all()


def test_layouts_and_shapes_of_the_points():
    rng = np.random.default_rng(1)
    image = rng.uniform(size=(6, 8))
    q = np.array([[1.5, 4.25], [2.0, 6.5]])
    want = ndimage.map_coordinates(image, q, order=1)
    # Fortran-ordered, sliced and C-ordered inputs give the same values.
    for layout in (image, np.asfortranarray(image), np.ascontiguousarray(np.pad(image, 1)[1:-1, 1:-1])):
        np.testing.assert_array_equal(gridmex.map_coordinates(layout, q), want)
    assert gridmex.map_coordinates(image, [1.5, 2.0]).shape == ()
    assert gridmex.map_coordinates(image, np.zeros((2, 3, 4, 5))).shape == (3, 4, 5)
    assert gridmex.map_coordinates(image, np.zeros((2, 0))).shape == (0,)


def test_refuses_what_it_does_not_compute():
    image = np.zeros((4, 4))
    with pytest.raises(ValueError, match="order must be 0 or 1"):
        gridmex.map_coordinates(image, np.zeros((2, 1)), order=3)
    with pytest.raises(ValueError, match="mode must be 'constant' or 'nearest'"):
        gridmex.map_coordinates(image, np.zeros((2, 1)), mode="reflect")
    with pytest.raises(ValueError, match="coordinates must have shape"):
        gridmex.map_coordinates(image, np.zeros((3, 1)))
    with pytest.raises(ValueError, match="2 or 3 dimensions"):
        gridmex.map_coordinates(np.zeros(4), np.zeros((1, 1)))
    with pytest.raises(gridmex.GridmexError):
        gridmex.map_coordinates(np.zeros((0, 4)), np.zeros((2, 1)))
