"""gridmex.dask against the in-memory call on the same image or volume and
points: a 256^3 double volume (128 MiB) in 64^3 chunks (and in 128^3 chunks
for vxCubicSample) and a 4096 x 4096 double image (128 MiB) in 1024 x 1024
chunks, made and kept on the workers of a local cluster of 1 and then 2
worker processes (one thread each, plug-ins on one thread), then on the
threaded scheduler (2 threads, one process); 1 million points, random over
the valid range or coherent (a displaced grid in storage order).  Each
figure is the best of two timed calls after a warm-up call; the in-memory
call runs on as many threads as the cluster has workers (2 beside the
threaded scheduler).  Writes bench/results/DATE-dask.csv (columns in
bench/README.md) and prints the same rows.  Run with the built package on
the path:
    PYTHONPATH=build/python python3 bench/dask_bench.py
"""
import datetime
import os
import subprocess
import time

import dask
import dask.array as da
import numpy as np

import gridmex
import gridmex.dask

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# plug-in, image: the volume in 64^3 chunks, in 128^3 chunks, the image.
CASES = (("vxTrilinSample", "v64"), ("vxCubicSample", "v64"), ("vxCubicSample", "v128"), ("pxBilinSample", "i"))


def made(shape, chunk):
    """A smooth pattern of the indices, made chunk by chunk where computed."""
    def make(block_info=None):
        location = block_info[None]["array-location"]
        index = np.ogrid[tuple(slice(a, b) for a, b in location)]
        return 128 + 60 * np.sin(0.37 * index[0] + 0.11 * index[1]) * np.cos(0.05 * sum(index))
    return da.map_blocks(make, dtype=np.float64, chunks=da.core.normalize_chunks(chunk, shape))


def point_sets(shape, count, rng):
    """Random points over the range every plug-in computes, and a displaced
    grid of the same count visited in storage order."""
    side = round(count ** (1 / len(shape)))
    random = [rng.uniform(2, e - 3, count) for e in shape]
    axes = [np.linspace(2, e - 3, side) for e in shape]
    grid = [g.ravel(order="F") for g in np.meshgrid(*axes, indexing="ij")]
    coherent = [g + 0.3 * np.sin(0.01 * grid[0] + a) for a, g in enumerate(grid)]
    return {"random": random, "coherent": coherent}


def best(call, repeats=2):
    call()
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        call()
        times.append(time.perf_counter() - start)
    return min(times), call()


def main():
    from dask.distributed import Client, LocalCluster

    os.environ["GRIDMEX_THREADS"] = "1"
    rng = np.random.default_rng(1)
    images = {"v64": made((256,) * 3, 64), "v128": made((256,) * 3, 128), "i": made((4096,) * 2, 1024)}
    sets = {3: point_sets(images["v64"].shape, 1_000_000, rng), 2: point_sets(images["i"].shape, 1_000_000, rng)}
    points = {label: sets[image.ndim] for label, image in images.items()}
    wholes = {label: np.asfortranarray(images[label].compute(scheduler="threads")) for label in ("v64", "i")}
    wholes["v128"] = wholes["v64"]
    started = datetime.datetime.now(datetime.timezone.utc)
    load = " ".join(open("/proc/loadavg").read().split()[:3])
    rows = []
    for workers in (1, 2, "threads"):
        if workers == "threads":
            # One process, two threads: Dask's own cost without transfers.
            scheduler = dask.config.set(scheduler="threads", num_workers=2)
        else:
            cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True, dashboard_address=None)
            scheduler = Client(cluster)
        kept = {label: images[label].persist() for label in images}
        with scheduler:
            for name, label in CASES:
                for set_name, coords in points[label].items():
                    module, got = best(lambda: getattr(gridmex.dask, name)(*coords, kept[label]).compute())
                    with gridmex.threads(2 if workers == "threads" else workers):
                        alone, want = best(lambda: getattr(gridmex, name)(*coords, wholes[label]))
                    row = (name, set_name, coords[0].size, "x".join(map(str, wholes[label].shape)),
                           "x".join(str(c[0]) for c in kept[label].chunks), workers, module, alone,
                           module / alone, got.tobytes() == want.tobytes())
                    print(",".join(map(str, row)), flush=True)
                    rows.append(row)
        if workers != "threads":
            cluster.close()
    commit = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"], capture_output=True,
                            text=True).stdout.strip() or "unknown"
    if subprocess.run(["git", "-C", ROOT, "diff", "--quiet", "HEAD", "--"]).returncode:
        commit += "-dirty"
    path = os.path.join(ROOT, "bench", "results", started.strftime("%Y-%m-%dT%H%MZ") + "-dask.csv")
    with open(path, "w", encoding="utf-8") as f:
        f.write("# gridmex.dask against the in-memory call, written by bench/dask_bench.py; "
                "columns in bench/README.md\n")
        f.write(f"# date: {started:%Y-%m-%d %H:%M UTC}\n# cores: {os.cpu_count()}\n# load at start: {load}\n")
        f.write(f"# commit: {commit}\n")
        f.write("plugin,points,count,image,chunks,workers,module_s,in_memory_s,ratio,same_bits\n")
        for row in rows:
            f.write(",".join(map(str, row)) + "\n")
        f.write("# load at end: " + " ".join(open("/proc/loadavg").read().split()[:3]) + "\n")
    print("results:", os.path.relpath(path, ROOT))


if __name__ == "__main__":
    main()
