"""gridmex.map_coordinates: scipy.ndimage.map_coordinates of order 0 or 1,
computed by the plug-ins gridInterp2 and gridInterp3."""
import numpy as np

_MODES = {"constant": "constant", "nearest": "nearest"}
_METHODS = {0: "nearest", 1: "linear"}


def map_coordinates(input, coordinates, order=1, mode="constant", cval=np.nan):
    """Values of a 2-D or 3-D array at the points ``coordinates``, as
    ``scipy.ndimage.map_coordinates(input, coordinates, order, mode=mode,
    cval=cval, output=np.float64)`` gives them, bit for bit.

    ``coordinates`` has shape ``(input.ndim, ...)``: 0-based indices along
    each axis of ``input``; the result, float64, has shape
    ``coordinates.shape[1:]``.  ``order`` is 0 (nearest sample, halves
    rounded up) or 1 (linear).  ``mode`` is ``'constant'`` (points outside
    ``[0, n-1]`` on some axis, and NaN coordinates, give ``cval``) or
    ``'nearest'`` (coordinates beyond an edge take the edge; NaN
    coordinates give NaN).  ``cval`` defaults to NaN (scipy's to 0).

    Differences from scipy: the result is always float64 (scipy returns
    the input's dtype unless told otherwise, rounding to integers); in mode
    ``'nearest'`` coordinates beyond 2**63 and infinite ones of order 0 take
    the edge, and NaN coordinates of order 0 give NaN, where scipy reads an
    index of undefined value.  Any other order or mode raises ValueError.
    """
    from . import gridInterp2, gridInterp3

    if order not in _METHODS:
        raise ValueError(f"order must be 0 or 1 (it is {order!r}); use scipy.ndimage for splines")
    if mode not in _MODES:
        raise ValueError(f"mode must be 'constant' or 'nearest' (it is {mode!r})")
    input = np.asarray(input)
    if input.ndim not in (2, 3):
        raise ValueError(f"input must have 2 or 3 dimensions (it has {input.ndim})")
    coordinates = np.asarray(coordinates, dtype=np.float64)
    if coordinates.ndim < 1 or coordinates.shape[0] != input.ndim:
        raise ValueError(f"coordinates must have shape ({input.ndim}, ...) (it has {coordinates.shape})")
    shape = coordinates.shape[1:]
    # The C-ordered array reversed is the Fortran-ordered array the plug-ins
    # read in place: axis 0 becomes their columns (Xq), the last axis their
    # rows (Yq), axis 0 of a volume its pages (Zq).
    volume = np.ascontiguousarray(input).T
    points = [np.asfortranarray(c.reshape(-1)) for c in coordinates]
    if input.ndim == 2:
        out = gridInterp2(volume, points[0], points[1], _METHODS[order], float(cval), _MODES[mode])
    else:
        out = gridInterp3(volume, points[1], points[2], points[0], _METHODS[order], float(cval), _MODES[mode])
    return out.reshape(shape)
