"""gridmex.dask against the in-memory calls, bit for bit: every function, on
the threaded scheduler and on a local cluster of worker processes, images
and volumes in random uneven chunks (chunks of one pixel too), three
classes, points on every chunk border and the image border, just below
them, outside, NaN, infinite and huge, as NumPy and as chunked Dask arrays;
refusals with the in-memory call's identifiers; a volume larger than each
worker's memory limit; and the example."""
import os
import sys

import dask
import dask.array as da
import numpy as np
import pytest

import gridmex
import gridmex.dask

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "examples", "python"))
import dask_volume  # noqa: E402

IMAGES = ["pxBilinSample", "pxBilinSampleClamp", "pxBilinSampleHold", "pxCellSlope", "pxCellSlopeMasked",
          "pxCubicSample", "pxCubicSlope"]
VOLUMES = ["vxTrilinSample", "vxCellSlope", "vxCubicSample", "vxCubicSlope"]
CLASSES = [np.float64, np.uint16, np.int8]


@pytest.fixture(scope="module")
def cluster():
    from dask.distributed import LocalCluster

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as c:
        yield c


@pytest.fixture(params=["threads", "cluster"])
def scheduler(request):
    """The scheduler's name; the cluster's tasks cost milliseconds each, so
    its calls take coarser chunks."""
    if request.param == "threads":
        with dask.config.set(scheduler="threads"):
            yield request.param
    else:
        from dask.distributed import Client

        with Client(request.getfixturevalue("cluster")):
            yield request.param


def uneven_chunks(rng, extent, sizes=(1, 2, 3, 5, 8)):
    chunks = []
    while sum(chunks) < extent:
        chunks.append(int(min(rng.choice(sizes), extent - sum(chunks))))
    return tuple(chunks)


def coordinates(rng, extent, count):
    """Random points over the image and beyond, then every integer near the
    image (chunk borders and the image's own) exactly and a hair below, and
    NaN, infinities, -0, huge values and a floor beyond 32 bits."""
    c = rng.uniform(-3, extent + 3, count)
    edges = np.arange(-1.0, extent + 3)
    special = [np.nan, np.inf, -np.inf, -0.0, 2.0 ** 31 + 0.5, 2.0 ** 53 + 2, 2.0 ** 54 + 4, 2.0 ** 54 + 12,
               3 * 2.0 ** 53, 2.0 ** 55 + 8, 2.0 ** 60, -2.0 ** 60]
    c[:2 * edges.size + len(special)] = np.concatenate([edges, np.nextafter(edges, -np.inf), special])
    return rng.permutation(c)


def interior(rng, extent, count):
    """Points inside the image, so that the other coordinate's border cases
    meet computed values."""
    return rng.uniform(1, extent, count)


def points(rng, shape, dims):
    """Coordinate arrays, the first of three dimensions: in group a the
    border cases of axis a meet inside values on the other axes; in the last
    group every axis has its border cases."""
    groups = []
    for axis in range(dims + 1):
        groups.append([coordinates(rng, e, 400) if axis in (a, dims) else interior(rng, e, 400)
                       for a, e in enumerate(shape)])
    coords = [np.concatenate([g[a] for g in groups]) for a in range(dims)]
    return [coords[0].reshape(4, 5, -1, order="F")] + coords[1:]


def image_of(rng, shape, cls):
    values = rng.uniform(0, 120, shape)
    values[rng.random(shape) < 0.02] = 0
    return values.astype(cls)


def call(name, coords, array, mask):
    args = list(coords) + [array] + ([mask] if name == "pxCellSlopeMasked" else [])
    return args


def assert_same(got, want):
    got = got if isinstance(got, tuple) else (got,)
    want = want if isinstance(want, tuple) else (want,)
    assert len(got) == len(want)
    assert all(isinstance(g, da.Array) for g in got)
    for value, w in zip(dask.compute(*got), want):
        assert value.shape == w.shape and value.tobytes() == w.tobytes()


@pytest.mark.parametrize("name", IMAGES + VOLUMES)
def test_every_function_gives_the_bits_of_the_call(scheduler, name):
    rng = np.random.default_rng(sum(map(ord, name)))
    dims = 3 if name in VOLUMES else 2
    shape = (13, 11, 9) if dims == 3 else (23, 19)
    coords = points(rng, shape, dims)
    cluster = scheduler == "cluster"
    for cls in [CLASSES[len(name) % 3]] if cluster else CLASSES:
        whole = image_of(rng, shape, cls)
        mask = rng.random(shape) < 0.8
        chunks = tuple(uneven_chunks(rng, e, (4, 5, 7) if cluster else (1, 2, 3, 5, 8)) for e in shape)
        array = da.from_array(whole, chunks=chunks)
        want = getattr(gridmex, name)(*call(name, coords, whole, mask))
        got = getattr(gridmex.dask, name)(*call(name, coords, array, da.from_array(mask, chunks=5)),
                                          points_per_task=500)
        assert_same(got, want)
    # Dask points in their own chunks, the later coordinates longer than the
    # first and of another shape.
    lazy = [da.from_array(coords[0], chunks=(2, 3, 50))] + [
        da.from_array(np.concatenate([c, c[:7]]), chunks=333) for c in coords[1:]]
    assert_same(getattr(gridmex.dask, name)(*call(name, lazy, array, mask)),
                getattr(gridmex, name)(*call(name, coords, whole, mask)))


@pytest.mark.parametrize("name, shape", [("pxBilinSampleHold", (3, 4)), ("pxBilinSampleClamp", (4, 3)),
                                         ("pxCellSlope", (1, 5)), ("pxCubicSample", (4, 8)),
                                         ("pxCellSlopeMasked", (5, 2, 3)), ("pxCubicSlope", (7, 3, 3)),
                                         ("vxCellSlope", (4, 1, 3)), ("vxTrilinSample", (5, 4)),
                                         ("vxCubicSample", (5, 6, 4, 2)), ("vxCubicSlope", (0, 4, 4))])
def test_small_and_folded_images(name, shape):
    """Images at the plug-ins' size limits, images of three dimensions
    (folded into their columns) with a flat mask longer than the image, a
    2-D volume (one slice), one of four dimensions (read from its first
    M N P elements), an empty one, in chunks of one pixel."""
    rng = np.random.default_rng(7)
    dims = 3 if name in VOLUMES else 2
    extents = shape[:1] + (int(np.prod(shape[1:])),) if dims == 2 else (shape + (1,))[:3]
    coords = [coordinates(rng, e, 300) for e in extents]
    whole = image_of(rng, shape, np.float64)
    mask = [rng.random(np.prod(shape) + 4) < 0.7] if name == "pxCellSlopeMasked" else []
    with dask.config.set(scheduler="sync"):
        assert_same(getattr(gridmex.dask, name)(*coords, da.from_array(whole, chunks=1),
                                                *[da.from_array(m, chunks=7) for m in mask]),
                    getattr(gridmex, name)(*coords, whole, *mask))


def refusal(function, *args):
    with pytest.raises((gridmex.GridmexError, TypeError)) as caught:
        function(*args)
    return type(caught.value), caught.value.identifier


@pytest.mark.parametrize("name, inputs", [
    ("pxBilinSample", lambda x, I, m: (x, x, I.astype(np.complex128))),
    ("pxCubicSlope", lambda x, I, m: (x.astype(np.float32), x, I)),
    ("pxBilinSampleHold", lambda x, I, m: (x, x[:-1], I)),
    ("pxBilinSampleClamp", lambda x, I, m: (x, x, I[:2])),
    ("pxCellSlopeMasked", lambda x, I, m: (x, x, I, m[:-1])),
    ("pxCellSlopeMasked", lambda x, I, m: (x, x, I, m.astype(np.complex64))),
    ("pxCellSlope", lambda x, I, m: (x, x)),
    ("vxCubicSample", lambda x, I, m: (x, x, x[:3], I[:, :, None])),
    ("vxCellSlope", lambda x, I, m: (x, x, x, np.zeros((5, 5, 4, 0)))),
])
def test_refusals_are_the_calls(name, inputs):
    x = np.linspace(1, 5, 6)
    I = np.arange(36.0).reshape(6, 6)
    mask = np.ones((6, 6), dtype=bool)
    want = refusal(getattr(gridmex, name), *inputs(x, I, mask))
    lazy = [da.from_array(a) if isinstance(a, np.ndarray) and a.ndim >= 2 else a for a in inputs(x, I, mask)]
    assert refusal(getattr(gridmex.dask, name), *lazy) == want


def ramp_volume(n, chunk):
    """An n^3 double volume made chunk by chunk where it is computed."""
    def make(block_info=None):
        (a, b), (c, d), (e, f) = block_info[None]["array-location"]
        i, j, k = np.ogrid[a:b, c:d, e:f]
        return ((7 * i + 13 * j + 29 * k) % 251) * 0.5 + 0.001 * i * j
    return da.map_blocks(make, dtype=np.float64, chunks=da.core.normalize_chunks(chunk, (n,) * 3))


def test_volume_beyond_each_workers_memory():
    """Workers of 200 MiB each sample a 210 MiB volume (made on the workers
    chunk by chunk) with the bits of the in-memory call."""
    from dask.distributed import Client, LocalCluster

    volume = ramp_volume(302, 76)
    assert volume.nbytes > 200 * 2 ** 20
    rng = np.random.default_rng(5)
    x, y, z = (rng.uniform(-1, 305, 50_000) for _ in range(3))
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, memory_limit="200MiB",
                      dashboard_address=None) as cluster, Client(cluster):
        got = dask.compute(*gridmex.dask.vxCubicSlope(x, y, z, volume))
    want = gridmex.vxCubicSlope(x, y, z, np.asfortranarray(volume.compute(scheduler="threads")))
    assert np.count_nonzero(want[0]) > 40_000
    assert all(g.tobytes() == w.tobytes() for g, w in zip(got, want))


def test_example(cluster):
    assert dask_volume.main(cluster.scheduler_address, n=40, chunk=11, count=20_000)
