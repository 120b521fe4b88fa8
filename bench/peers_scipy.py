"""scipy.ndimage.map_coordinates on the points and the image or volume that
gridmex_bench wrote: orders 1 and 3 in 2-D and 3-D, one timed call each
after a warm-up call on a tenth of the points.  The order-3 spline
coefficients are computed once, outside the timing (prefilter=False), so
the timed call is the interpolation alone.  Prints
"scipy orderK_Dd SET 1<TAB>seconds" (map_coordinates has one thread).
Run by gridmex_bench with Debian's python3:
    peers_scipy.py DIR SIDE2 ROWS2 COUNT2 SIDE3 ROWS3 COUNT3
"""
import sys
import time

import numpy as np
from scipy import ndimage


def doubles(path):
    return np.fromfile(path, dtype=np.float64)


def time_orders(grid, points, what):
    # The plug-ins' frame is 1-based and column-major: a C-ordered array of
    # the reversed shape, read at the reversed 0-based coordinates, touches
    # memory in the same order.
    coefficients = {1: grid, 3: ndimage.spline_filter(grid, order=3)}
    for set_name, coords in points:
        for order, data in coefficients.items():
            ndimage.map_coordinates(data, coords[:, : coords.shape[1] // 10], order=order, prefilter=False)
            start = time.perf_counter()
            out = ndimage.map_coordinates(data, coords, order=order, prefilter=False)
            seconds = time.perf_counter() - start
            del out
            print(f"scipy order{order}_{what} {set_name} 1\t{seconds:.6g}", flush=True)


def main():
    folder = sys.argv[1]
    side2, side3 = int(sys.argv[2]), int(sys.argv[5])
    sets = ("coherent", "random")

    image = doubles(f"{folder}/image.f64").reshape(side2, side2)
    points = []
    for set_name in sets:
        x, y = (doubles(f"{folder}/{set_name}2_{c}.f64") for c in "xy")
        points.append((set_name, np.stack([y - 1, x - 1])))
    time_orders(image, points, "2d")

    volume = doubles(f"{folder}/volume.f64").reshape(side3, side3, side3)
    points = []
    for set_name in sets:
        x, y, z = (doubles(f"{folder}/{set_name}3_{c}.f64") for c in "xyz")
        points.append((set_name, np.stack([z - 1, y - 1, x - 1])))
    time_orders(volume, points, "3d")


if __name__ == "__main__":
    main()
