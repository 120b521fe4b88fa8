"""gridmex.map_coordinates against scipy.ndimage.map_coordinates and cv2.remap
on the same points: a 1024 x 1024 double image (C-ordered, as NumPy code has
it) and a 128^3 double volume, one million points each, coherent (a 1000 x
1000 grid, or 100^3, one sample apart, displaced by a smooth sub-sample
field) and random (uniform over the grid); order 1 (cv2.remap INTER_LINEAR
with float32 maps, 2-D only) and order 0 (INTER_NEAREST); gridmex and cv2
on 1 and 2 threads, scipy on its one.  Each time is the best of three calls
after a warm-up call.  Prints CSV rows in the columns of bench/README.md.
Run by bench/run with the bench build's package on PYTHONPATH."""
import time

import cv2
import numpy as np
from scipy import ndimage

import gridmex


def best(f, calls=3):
    f()
    seconds = float("inf")
    for _ in range(calls):
        start = time.perf_counter()
        f()
        seconds = min(seconds, time.perf_counter() - start)
    return seconds


def row(workload, n, ours, peer_label, peer):
    m = n / 1e6
    peer_rates = [m / p if p else "" for p in peer]
    ratios = [p / o if p else "" for p, o in zip(peer, ours)]
    cells = ["interp", "python", workload, "points", n, *(f"{s:.6g}" for s in ours), *(f"{m / s:.4g}" for s in ours),
             "", "", "", "", peer_label, peer_label, *(f"{r:.4g}" if r else "" for r in peer_rates),
             *(f"{r:.3g}" if r else "" for r in ratios), ""]
    print(",".join(str(c) for c in cells), flush=True)


def ours_on_threads(f):
    seconds = []
    for threads in (1, 2):
        with gridmex.threads(threads):
            seconds.append(best(f))
    return seconds


def main():
    rng = np.random.default_rng(1)
    side = 1024
    image = rng.uniform(0, 255, (side, side))
    g = np.linspace(11, side - 13, 1000)
    rows, cols = np.meshgrid(g, g, indexing="ij")
    shift = lambda a, b: 0.7 * np.sin(a / 37) * np.cos(b / 53)  # noqa: E731
    sets2 = {"coherent": np.stack([rows + shift(rows, cols), cols + shift(cols, rows)]),
             "random": rng.uniform(0, side - 1, (2, 1000, 1000))}
    for name, q in sets2.items():
        n = q[0].size
        map_x, map_y = q[1].astype(np.float32), q[0].astype(np.float32)
        for order, inter in ((1, cv2.INTER_LINEAR), (0, cv2.INTER_NEAREST)):
            ours = ours_on_threads(lambda: gridmex.map_coordinates(image, q, order=order))
            scipy = best(lambda: ndimage.map_coordinates(image, q, order=order, output=np.float64))
            row(f"map_coordinates order {order} 2-D {name}", n, ours, f"scipy map_coordinates order {order}",
                [scipy, None])
            remap = []
            for threads in (1, 2):
                cv2.setNumThreads(threads)
                remap.append(best(lambda: cv2.remap(image, map_x, map_y, inter, borderMode=cv2.BORDER_CONSTANT,
                                                    borderValue=np.nan)))
            row(f"map_coordinates order {order} 2-D {name}", n, ours, f"cv2.remap {'linear' if order else 'nearest'}",
                remap)
    vside = 128
    volume = rng.uniform(0, 255, (vside, vside, vside))
    g = np.linspace(9, vside - 11, 100)
    a, b, c = np.meshgrid(g, g, g, indexing="ij")
    sets3 = {"coherent": np.stack([a + shift(a, b), b + shift(b, c), c + shift(c, a)]),
             "random": rng.uniform(0, vside - 1, (3, 100, 100, 100))}
    for name, q in sets3.items():
        for order in (1, 0):
            ours = ours_on_threads(lambda: gridmex.map_coordinates(volume, q, order=order))
            scipy = best(lambda: ndimage.map_coordinates(volume, q, order=order, output=np.float64))
            row(f"map_coordinates order {order} 3-D {name}", q[0].size, ours, f"scipy map_coordinates order {order}",
                [scipy, None])


if __name__ == "__main__":
    main()
