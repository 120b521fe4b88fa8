"""gridmex.dask: the sampling plug-ins on images and volumes held as Dask
arrays, chunk by chunk on any Dask scheduler (threads, processes, a
cluster), with the bits of the single in-memory call.

    import gridmex.dask
    value = gridmex.dask.vxCubicSample(x, y, z, V)     # V: a Dask array
    value.compute()      # == gridmex.vxCubicSample(x, y, z, V.compute())

Every sampling plug-in has a function of the same name and argument order:
pxBilinSample, pxBilinSampleClamp, pxBilinSampleHold, pxCellSlope,
pxCellSlopeMasked (the mask is chunked like the image), pxCubicSample,
pxCubicSlope, vxTrilinSample, vxCellSlope, vxCubicSample and vxCubicSlope.
The image or volume is a Dask array of any chunking and of any class the
plug-in reads; the coordinates are NumPy or Dask arrays of any shape.  The
result is a Dask array of the shape the in-memory call returns, or a tuple
of them.  A call the in-memory plug-in refuses is refused here with the same
identifier when the graph is built: the plug-in itself is called on tiny
stand-ins of the inputs' classes and of the sizes its checks look at.

How it works: the points are cut into blocks of `points_per_task` points (a
keyword-only argument; Dask points are rechunked to that size).
Each point goes to the chunk that holds its cell (for the border rules of
pxBilinSampleClamp and pxBilinSampleHold, the cell whose pixels it takes);
a task receives the chunk with the halo the plug-in needs (the table
_RULES below) and the points' coordinates minus the block's integer origin,
and calls the plug-in.  Points the plug-in gives a fixed value (outside its
valid range, NaN) take that value, read from the stand-in call.  A task
holds one block of the image (a chunk and its halo) and at most one block
of points.

Exactness: the halo makes the plug-in's range test and border rules on a
block say what they say on the whole image, and the subtraction of the
origin is exact for every point sent to a chunk (its coordinate lies
between the origin and 2^31).  pxBilinSampleHold extrapolates beyond the
last row or column with the coordinate itself; a coordinate of 2^53 or more
there would not survive the shift, so such a point gets a block that starts
at the image's first row (or column): the whole extent of that axis.

NumPy points are grouped by chunk when the graph is built, and the groups
travel in the graph.  With Dask points the graph needs the chunks each block
of points reaches: building it reads the points once (a compute on the
current scheduler), bringing back only those chunk numbers; a task per
block then groups them.
"""
import collections

import dask
import dask.array as da
import numpy as np

import gridmex

POINTS_PER_TASK = 1 << 20

# Per plug-in, along every axis of the image or volume:
#   valid     (lo, hi): cells lo <= l <= extent - hi are computed as they
#             are.  Without `beyond`, any other point (and NaN) gets the
#             plug-in's fixed outside value.
#   halo      (below, above): pixels a block holds beyond its chunk.  Below
#             lo - 1 at least, so that a cell of the chunk passes the
#             block's lower test; above hi at least, for its upper test; and
#             the stencil's reach: a cell slope needs its neighbours on both
#             sides so that the chunk's edge is not taken for the image's.
#   beyond    (low, margin): the border rules, under which every point but a
#             NaN gets a value: a cell below lo takes cell `low`, one above
#             extent - hi takes extent - margin.  The chunks holding those
#             cells reach the image's border (halo below >= low - 1, above >=
#             margin), so the block's rule is the image's.  Such an image
#             needs 3 pixels per axis, and so does every block that gets
#             points: hence Hold's halo below of 1.
#   extrapolates  the value beyond the border follows the coordinate itself.
#   masked    a fifth input, the mask, chunked and cut like the image.
_Rule = collections.namedtuple("_Rule", "dims valid halo beyond extrapolates masked",
                               defaults=(None, False, False))
_RULES = {
    "pxBilinSample": _Rule(2, (2, 1), (1, 1)),
    "pxBilinSampleClamp": _Rule(2, (2, 1), (1, 2), beyond=(2, 2)),
    "pxBilinSampleHold": _Rule(2, (1, 1), (1, 2), beyond=(1, 2), extrapolates=True),
    "pxCellSlope": _Rule(2, (1, 0), (1, 1)),
    "pxCellSlopeMasked": _Rule(2, (1, 0), (1, 1), masked=True),
    "pxCubicSample": _Rule(2, (2, 3), (1, 3)),
    "pxCubicSlope": _Rule(2, (2, 4), (1, 4)),
    "vxTrilinSample": _Rule(3, (2, 1), (1, 1)),
    "vxCellSlope": _Rule(3, (1, 0), (1, 1)),
    "vxCubicSample": _Rule(3, (2, 2), (1, 2)),
    "vxCubicSlope": _Rule(3, (2, 2), (1, 2)),
}

_NO_CELL = -(2 ** 31)


def _is_dask(a):
    return isinstance(a, da.Array)


def _matlab_size(shape):
    """Rows and columns as the plug-ins see an array: further dimensions
    fold into the columns, a 1-D array is a column."""
    if len(shape) == 0:
        return 1, 1
    return shape[0], int(np.prod(shape[1:], dtype=np.int64))


def _column_major(a):
    """The elements of a NumPy or Dask array in storage order, 1-D."""
    return a.T.ravel() if a.ndim > 1 else a.ravel()


def _as_image(I, dims):
    """The image as an M x N, or the volume as an M x N x P, Dask array
    holding what the plug-in reads: further dimensions of an image fold into
    its columns; a volume has P = 1 when 2-D and is read from its first
    M N P elements when it has more dimensions."""
    I = I if _is_dask(I) else da.asarray(np.asarray(I))
    if I.ndim < dims:
        return I.reshape(I.shape + (1,) * (dims - I.ndim))
    if I.ndim == dims:
        return I
    if dims == 2:
        M, N = _matlab_size(I.shape)
        return I.transpose([0] + list(range(I.ndim - 1, 0, -1))).reshape(M, N)
    return I[(slice(None),) * 3 + (0,) * (I.ndim - 3)]


def _as_mask(mask, image):
    """The mask cut like the image: its first M N elements as an M x N
    array, in the image's chunks."""
    if not _is_dask(mask):
        mask = da.asarray(np.asarray(mask))
    M, N = image.shape
    if mask.shape != (M, N):
        mask = _column_major(mask)[:M * N].reshape(N, M).T
    return mask.rechunk(image.chunks)


def _small(a, elements):
    """A stand-in of a's class holding `elements` elements, NaN where the
    class has one."""
    s = np.zeros(elements, dtype=a.dtype)
    if s.dtype.kind in "fc":
        s[:] = np.nan
    return s


def _stand_in_call(name, rule, args):
    """The in-memory call on stand-ins: NaN coordinates, the inputs' classes,
    and the sizes the plug-in's checks compare (a coordinate shorter than the
    first, an image of fewer than 3 pixels along an axis, an empty trailing
    dimension, a short mask).  Raises what the call with the real inputs
    raises; otherwise returns the outputs as a tuple, whose elements hold the
    plug-in's value for a point it gives a fixed value."""
    arrays = [a if _is_dask(a) or isinstance(a, np.ndarray) else np.asarray(a) for a in args]
    count = arrays[0].size if arrays else 0
    stand = []
    for position, a in enumerate(arrays):
        if position < rule.dims:
            elements = 1 if count and a.size >= count else 0
            stand.append(_small(a, elements if position else min(count, 1)))
        elif position == rule.dims:
            stand.append(np.zeros(tuple(min(d, 3) for d in a.shape), dtype=a.dtype))
        elif position == rule.dims + 1 and rule.masked:
            M, N = _matlab_size(arrays[rule.dims].shape)
            m, n = _matlab_size(stand[rule.dims].shape)
            stand.append(np.zeros(m * n if a.size >= M * N else m * n - 1, dtype=a.dtype))
        else:
            stand.append(_small(a, 0) if _is_dask(a) else args[position])
    result = getattr(gridmex, name)(*stand)
    return result if isinstance(result, tuple) else (result,)


def _cells(c):
    """floor(c) as the plug-ins take it: a 32-bit cell, _NO_CELL for NaN
    and for a floor beyond the 32-bit range."""
    f = np.floor(c)
    return np.where((f >= -2147483648.0) & (f <= 2147483647.0), f, _NO_CELL).astype(np.int64)


def _axis_route(rule, c, extent, starts):
    """Along one axis: the chunk each point goes to (len(starts) - 1 for the
    block of the whole axis) and whether the point is computed at all."""
    cell = _cells(c)
    lo, hi = rule.valid
    whole = np.zeros(c.shape, dtype=bool)
    if rule.beyond is None:
        computed = (cell >= lo) & (cell <= extent - hi)
    else:
        low, margin = rule.beyond
        cell[(cell == _NO_CELL) & (c > 0)] = 2 ** 31 - 1
        if rule.extrapolates:
            whole = c >= 2.0 ** 53
        cell[cell < lo] = low
        cell[cell > extent - hi] = extent - margin
        computed = ~np.isnan(c)
    chunk = np.searchsorted(starts[1:], cell - 1, side="right")
    chunk[whole] = len(starts) - 1
    return chunk, computed


class _Geometry:
    """The chunk grid of the image and the block (chunk and halo) of every
    chunk key; key = the chunks along the axes, each axis counting one more
    for its whole extent."""

    def __init__(self, rule, chunks):
        self.rule = rule
        self.starts = [np.concatenate(([0], np.cumsum(c))).astype(np.int64) for c in chunks]
        self.shape = tuple(len(s) for s in self.starts)

    def keys(self, coords):
        parts = [_axis_route(self.rule, c, int(s[-1]), s) for c, s in zip(coords, self.starts)]
        computed = np.logical_and.reduce([p[1] for p in parts])
        key = np.full(coords[0].shape, -1, dtype=np.int64)
        key[computed] = np.ravel_multi_index([p[0][computed] for p in parts], self.shape)
        return key

    def block(self, key):
        below, above = self.rule.halo
        box = []
        for s, q in zip(self.starts, np.unravel_index(key, self.shape)):
            if q == len(s) - 1:
                box.append((0, int(s[-1])))
            else:
                box.append((max(int(s[q]) - below, 0), min(int(s[q + 1]) + above, int(s[-1]))))
        return box


def _key_set(geometry, *coords):
    key = geometry.keys(coords)
    return np.unique(key[key >= 0])


def _route(geometry, *coords):
    """The points of one block grouped by chunk key: key -> (positions,
    coordinates minus the block's origin)."""
    key = geometry.keys(coords)
    routed = np.flatnonzero(key >= 0)
    if routed.size == 0:
        return {}
    key = key[routed]
    # Keys of fewer than 16 bits sort stably by radix, in linear time.
    if key.max() < 2 ** 16:
        key = key.astype(np.uint16)
    order = np.argsort(key, kind="stable")
    key = key[order]
    first = np.flatnonzero(np.concatenate(([True], key[1:] != key[:-1])))
    keys, order = key[first], routed[order]
    groups = {}
    for k, positions in zip(keys, np.split(order, first[1:])):
        origin = [a for a, _ in geometry.block(k)]
        groups[int(k)] = (positions, [c[positions] - o for c, o in zip(coords, origin)])
    return groups


def _sample(name, group, *blocks):
    positions, local = group
    result = getattr(gridmex, name)(*local, *blocks)
    outputs = result if isinstance(result, tuple) else (result,)
    return positions, np.stack([o.ravel() for o in outputs])


def _assemble(count, fixed, *pieces):
    out = np.empty((len(fixed), count))
    out[:] = np.asarray(fixed)[:, None]
    for positions, values in pieces:
        out[:, positions] = values
    return out


def _point_blocks(coords, count, size):
    """The coordinates' first `count` elements in storage order, cut into
    blocks of at most `size` points: NumPy blocks when every coordinate is
    a NumPy array, else Delayed blocks of Dask arrays; and the blocks' sizes."""
    if not any(_is_dask(c) for c in coords):
        flat = [np.ravel(np.asarray(c), order="F")[:count] for c in coords]
        starts = range(0, count, size)
        return [tuple(f[s:s + size] for f in flat) for s in starts], [min(size, count - s) for s in starts], False
    flat = [_column_major(c if _is_dask(c) else da.asarray(np.asarray(c)))[:count].rechunk(size) for c in coords]
    return list(zip(*[f.to_delayed().ravel() for f in flat])), list(flat[0].chunks[0]), True


def _sampled(name, args, points_per_task):
    rule = _RULES[name]
    fixed = [o.ravel()[0] if o.size else 0.0 for o in _stand_in_call(name, rule, args)]
    coords = list(args[:rule.dims])
    m, n = _matlab_size(np.shape(coords[0]) if not _is_dask(coords[0]) else coords[0].shape)
    count = m * n
    if count == 0:
        outputs = [da.zeros((m, n)) for _ in fixed]
        return outputs[0] if len(outputs) == 1 else tuple(outputs)
    image = _as_image(args[rule.dims], rule.dims)
    inputs = [image] + ([_as_mask(args[rule.dims + 1], image)] if rule.masked else [])
    geometry = _Geometry(rule, image.chunks)

    blocks, sizes, lazy = _point_blocks(coords, count, points_per_task)
    # NumPy points are grouped here, once; Dask points by a task per block,
    # after a first pass has told which chunks each block reaches.
    if lazy:
        key_sets = dask.compute(*[dask.delayed(_key_set)(geometry, *b) for b in blocks])
        routes = [(dask.delayed(_route, pure=True)(geometry, *b), keys.tolist()) for b, keys in zip(blocks, key_sets)]
    else:
        routes = [(groups, list(groups)) for groups in (_route(geometry, *b) for b in blocks)]

    cut = {}
    parts = []
    for (groups, keys), size in zip(routes, sizes):
        pieces = []
        for k in keys:
            if k not in cut:
                box = tuple(slice(a, z) for a, z in geometry.block(k))
                cut[k] = [dask.delayed(np.asfortranarray, pure=True)(a[box]) for a in inputs]
            pieces.append(dask.delayed(_sample, pure=True)(name, groups[k], *cut[k]))
        parts.append(da.from_delayed(dask.delayed(_assemble, pure=True)(size, fixed, *pieces),
                                     shape=(len(fixed), size), dtype=np.float64))
    flat = da.concatenate(parts, axis=1)
    outputs = [flat[j].reshape(n, m).T for j in range(len(fixed))]
    return outputs[0] if len(outputs) == 1 else tuple(outputs)


def _function(name):
    def call(*args, points_per_task=POINTS_PER_TASK):
        return _sampled(name, args, int(points_per_task))

    call.__name__ = call.__qualname__ = name
    call.__doc__ = (f"{name}(...) as gridmex.{name} takes it, the image or volume a Dask array: returns a Dask "
                    "array (a tuple for several outputs) whose computed value has the bits of the in-memory "
                    "call.  points_per_task bounds the points of one task.")
    return call


for _name in _RULES:
    globals()[_name] = _function(_name)

__all__ = sorted(_RULES) + ["POINTS_PER_TASK"]
