"""The sampling plug-ins called from Python through the gridmex package, and
OpenCV's Python remap (cv2.remap), on the points and the image or volume
that gridmex_bench wrote: one timed call each on 1 and 2 threads after a
warm-up call, and the time of one small call (16 points, best of 2000) for
the call overhead.  Prints "WHO NAME SET THREADS<TAB>seconds", WHO python
or cv2.  Run by gridmex_bench with the package's interpreter and the built
package on PYTHONPATH:
    python_plugins.py DIR SIDE2 ROWS2 COUNT2 SIDE3 ROWS3 COUNT3
"""
import os
import sys
import time

import cv2
import numpy as np

import gridmex

# The 2-D plug-ins, and the remap timed after each of the two it stands beside.
PLANAR = (("pxBilinSample", "linear"), ("pxBilinSampleClamp", None), ("pxBilinSampleHold", None),
          ("pxCellSlope", None), ("pxCubicSample", "cubic"))
SOLID = ("vxTrilinSample", "vxCubicSample")


def doubles(path, shape):
    """Raw doubles as the Octave script reads them: column-major, MATLAB's size."""
    return np.fromfile(path, dtype=np.float64).reshape(shape, order="F")


def timed(call):
    call()
    start = time.perf_counter()
    out = call()
    seconds = time.perf_counter() - start
    del out
    return seconds


def report(who, name, set_name, threads, seconds):
    print(f"{who} {name} {set_name} {threads}\t{seconds:.6g}", flush=True)


def main():
    folder = sys.argv[1]
    side2, rows2, count2, side3, rows3, count3 = (int(a) for a in sys.argv[2:8])
    image = doubles(f"{folder}/image.f64", (side2, side2))
    # cv2.remap reads a C-ordered image at 0-based (column, row) maps: the
    # transposed image is the same memory, read in the same order.
    image_cv = image.T
    for set_name in ("coherent", "random"):
        x, y = (doubles(f"{folder}/{set_name}2_{c}.f64", (rows2, count2 // rows2)) for c in "xy")
        map_x, map_y = (np.ascontiguousarray((c - 1).T, np.float32) for c in (x, y))
        for threads in (1, 2):
            os.environ["GRIDMEX_THREADS"] = str(threads)
            cv2.setNumThreads(threads)
            for name, kind in PLANAR:
                report("python", name, set_name, threads, timed(lambda: getattr(gridmex, name)(x, y, image)))
                if kind is None:
                    continue
                flag = cv2.INTER_LINEAR if kind == "linear" else cv2.INTER_CUBIC
                report("cv2", kind, set_name, threads, timed(lambda: cv2.remap(image_cv, map_x, map_y, flag)))
        if set_name == "random":
            small = (x[:16, :1].copy(order="F"), y[:16, :1].copy(order="F"))
            for threads in (1, 2):
                os.environ["GRIDMEX_THREADS"] = str(threads)
                best = min(timed(lambda: gridmex.pxBilinSample(*small, image)) for _ in range(1000))
                report("python", "pxBilinSample", "small16", threads, best)
    del image, image_cv
    volume = doubles(f"{folder}/volume.f64", (side3, side3, side3))
    for set_name in ("coherent", "random"):
        x, y, z = (doubles(f"{folder}/{set_name}3_{c}.f64", (rows3, count3 // rows3)) for c in "xyz")
        for threads in (1, 2):
            os.environ["GRIDMEX_THREADS"] = str(threads)
            for name in SOLID:
                report("python", name, set_name, threads, timed(lambda: getattr(gridmex, name)(x, y, z, volume)))


if __name__ == "__main__":
    main()
