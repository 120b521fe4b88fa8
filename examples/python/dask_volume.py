"""Sampling a volume larger than one worker's memory on a Dask cluster, with
the bits of the single in-memory call, through gridmex.dask.

The volume is a chunked Dask array in MATLAB's axis order (voxel (i, j, k)
at the point (i, j, k), 1-based), made chunk by chunk on the workers; no
worker holds more than a chunk and its halo of it.

    python3 examples/python/dask_volume.py                  # a local cluster of 2 workers
    python3 examples/python/dask_volume.py tcp://host:8786  # any scheduler
"""
import sys
import time

import dask.array as da
import numpy as np

import gridmex
import gridmex.dask


def speckle_volume(n, chunk):
    """An n^3 double volume made chunk by chunk where it is computed: a
    smooth speckle pattern of the voxel indices."""
    def make(block_info=None):
        (a, b), (c, d), (e, f) = block_info[None]["array-location"]
        i, j, k = np.ogrid[a:b, c:d, e:f]
        return 128 + 60 * np.sin(0.37 * i + 0.11 * j) * np.cos(0.23 * k - 0.07 * i) + 30 * np.sin(0.05 * i * j % 7)
    return da.map_blocks(make, dtype=np.float64, chunks=da.core.normalize_chunks(chunk, (n, n, n)))


def main(address=None, n=384, chunk=96, count=1_000_000):
    """Samples an n^3 volume at `count` random points on the scheduler at
    `address` (a local cluster of 2 workers when None); returns whether the
    result has the bits of the single call."""
    from dask.distributed import Client, LocalCluster

    cluster = None if address else LocalCluster(n_workers=2, threads_per_worker=1, memory_limit="400MiB")
    with Client(address or cluster):
        rng = np.random.default_rng(1)
        x, y, z = (rng.uniform(0, n + 2, count) for _ in range(3))
        volume = speckle_volume(n, chunk)
        start = time.perf_counter()
        values = gridmex.dask.vxCubicSample(x, y, z, volume).compute()
        spread = time.perf_counter() - start
        whole = np.asfortranarray(volume.compute())
    if cluster:
        cluster.close()
    start = time.perf_counter()
    single = gridmex.vxCubicSample(x, y, z, whole)
    alone = time.perf_counter() - start
    same = values.tobytes() == single.tobytes()
    print(f"{n}^3 doubles ({whole.nbytes / 2**20:.0f} MiB) in {chunk}^3 chunks, vxCubicSample at {count} points: "
          f"cluster {spread:.2f} s (the volume made there too), one call in memory {alone:.3f} s, same bits: {same}")
    return same


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else None)
