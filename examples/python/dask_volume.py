"""Sampling a volume larger than one worker's memory on a Dask cluster, with
the bits of the single in-memory call.

The volume is a chunked Dask array in MATLAB's axis order (x down dimension
0, pixel (i, j, k) at the point (i, j, k), 1-based): no worker ever holds
more than one chunk and its halo.  Each point goes to the chunk that holds
the voxel of its floor; the worker receives that chunk with the halo the
plug-in's stencil needs (one voxel below, one or two above) and the point's
coordinates shifted into the block.  The shift is by an integer, which is
exact in binary floating point, and the kernel sees the same voxels around
the same fractional offsets, so every value has the bits the whole-volume
call gives; the results are put back in the points' order.  Points outside
the volume go to a border chunk, where they stay outside.

    python3 examples/python/dask_volume.py                  # a local cluster of 2 workers
    python3 examples/python/dask_volume.py tcp://host:8786  # any scheduler
"""
import sys
import time

import dask
import dask.array as da
import numpy as np

import gridmex

# Voxels each plug-in reads below and above the cell of a point, and the
# rule that a sampled cell does not start on a block's first voxel.
HALO = {"vxTrilinSample": (1, 1), "vxCubicSample": (1, 2)}


def _sample_block(name, block, x, y, z):
    return getattr(gridmex, name)(x, y, z, block)[:, 0]


def sample(name, volume, x, y, z):
    """getattr(gridmex, name)(x, y, z, volume) for a Dask array `volume` and
    1-D point arrays, computed chunk by chunk on the current Dask scheduler;
    returns the n x 1 column the single call returns."""
    below, above = HALO[name]
    points = [np.asarray(c, np.float64) for c in (x, y, z)]
    starts = [np.cumsum((0,) + c) for c in volume.chunks]
    # The chunk of each point along each axis: that of the voxel of its
    # floor, clamped to the first or last chunk outside the volume.
    chunk = [np.clip(np.searchsorted(s[1:], np.floor(c) - 1, side="right"), 0, len(s) - 2)
             for c, s in zip(points, starts)]
    key = np.ravel_multi_index(chunk, volume.numblocks)
    order = np.argsort(key, kind="stable")
    keys, first = np.unique(key[order], return_index=True)
    tasks = []
    for k, group in zip(keys, np.split(order, first[1:])):
        index = np.unravel_index(k, volume.numblocks)
        lo = [max(int(s[i]) - below, 0) for s, i in zip(starts, index)]
        hi = [min(int(s[i + 1]) + above, int(s[-1])) for s, i in zip(starts, index)]
        block = volume[tuple(slice(a, b) for a, b in zip(lo, hi))]
        local = [c[group] - offset for c, offset in zip(points, lo)]
        tasks.append(dask.delayed(_sample_block)(name, block, *local))
    out = np.empty(points[0].size)
    for group, values in zip(np.split(order, first[1:]), dask.compute(*tasks)):
        out[group] = values
    return out[:, None]


def speckle_volume(n, chunk):
    """An n^3 double volume made chunk by chunk on the workers (it never
    exists in one place): a smooth speckle pattern of the voxel indices."""
    def make(block_info=None):
        (a, b), (c, d), (e, f) = block_info[None]["array-location"]
        i, j, k = np.meshgrid(np.arange(a, b), np.arange(c, d), np.arange(e, f), indexing="ij")
        return 128 + 60 * np.sin(0.37 * i + 0.11 * j) * np.cos(0.23 * k - 0.07 * i) + 30 * np.sin(0.05 * i * j % 7)
    return da.map_blocks(make, dtype=np.float64, chunks=((chunk,) * (n // chunk),) * 3)


def main(address=None):
    from dask.distributed import Client, LocalCluster, wait

    n, chunk, count = 384, 96, 1_000_000
    cluster = None if address else LocalCluster(n_workers=2, threads_per_worker=1, memory_limit="400MiB")
    with Client(address or cluster):
        rng = np.random.default_rng(1)
        x, y, z = (rng.uniform(0, n + 2, count) for _ in range(3))
        start = time.perf_counter()
        volume = speckle_volume(n, chunk).persist()
        wait(volume)
        made = time.perf_counter() - start
        start = time.perf_counter()
        values = sample("vxCubicSample", volume, x, y, z)
        spread = time.perf_counter() - start
        whole = np.asfortranarray(volume.compute())
    start = time.perf_counter()
    single = gridmex.vxCubicSample(x, y, z, whole)
    alone = time.perf_counter() - start
    print(f"{n}^3 doubles ({whole.nbytes / 2**20:.0f} MiB) in {chunk}^3 chunks, made on the workers in {made:.2f} s; "
          f"vxCubicSample at {count} points: cluster {spread:.2f} s, one call in memory {alone:.3f} s, "
          f"same bits: {np.array_equal(values.view(np.uint64), single.view(np.uint64))}")
    if cluster:
        cluster.close()


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else None)
