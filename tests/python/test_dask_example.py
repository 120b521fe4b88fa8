"""The Dask example on a local cluster of two worker processes: the chunked
volume sampled block by block gives the bits of the single in-memory call,
points outside the volume and on chunk borders included."""
import os
import sys

import numpy as np
import pytest

import gridmex

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "examples", "python"))
import dask_volume  # noqa: E402


@pytest.fixture(scope="module")
def client():
    from dask.distributed import Client, LocalCluster

    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster:
        with Client(cluster) as c:
            yield c


@pytest.mark.parametrize("name", sorted(dask_volume.HALO))
def test_cluster_result_is_the_single_call(client, name):
    volume = dask_volume.speckle_volume(40, 10)
    rng = np.random.default_rng(3)
    x, y, z = (rng.uniform(-1, 43, 20000) for _ in range(3))
    # Every chunk border and the volume's edges, exactly and a hair off.
    edges = np.concatenate([np.arange(0.0, 43), np.nextafter(np.arange(0.0, 43), -1)])
    x[:edges.size], y[-edges.size:], z[5000:5000 + edges.size] = edges, edges, edges
    x[1], y[2] = np.nan, np.inf
    got = dask_volume.sample(name, volume, x, y, z)
    want = getattr(gridmex, name)(x, y, z, volume.compute())
    assert np.count_nonzero(want) > 10000
    assert got.shape == want.shape and got.tobytes() == want.tobytes()
