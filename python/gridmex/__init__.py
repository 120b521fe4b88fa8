"""gridmex: the plug-ins for image-based finite-element mechanics, called from
NumPy with the numbers MATLAB and Octave give.

Every plug-in is a function of the same name, with its inputs in the same
order; it returns its output as a NumPy array, or a tuple of arrays when it
has several: ``gx, gy = gridmex.pxCellSlope(X, Y, I)``.  ``help(gridmex.NAME)``
shows the plug-in's help.  Array shapes are MATLAB sizes (a 1-D array of n
elements is an n x 1 column, outputs have at least two dimensions), element
``[i, j]`` is MATLAB's ``(i+1, j+1)``, and points are in the plug-ins' 1-based
pixel frame.  Column-major (Fortran-ordered) arrays are read in place; others
are copied once.

A wrong number of inputs raises TypeError with the plug-in's message; every
other refusal raises GridmexError, whose ``identifier`` is the plug-in's.
"""
import contextlib
import os

from . import _host
from ._plugins import PLUGINS, SUFFIX
from .ndimage import map_coordinates  # noqa: F401

_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "own")


class GridmexError(ValueError):
    """A plug-in refused its inputs: ``identifier`` is the plug-in's own
    ("pluginName:reason"), the message its text."""

    def __init__(self, identifier, message):
        super().__init__(message)
        self.identifier = identifier


@contextlib.contextmanager
def threads(n):
    """Runs the calls of a ``with`` block on at most n threads: sets
    GRIDMEX_THREADS, which every call reads, and restores it after.  The
    setting is the process's, seen by calls from every Python thread."""
    previous = os.environ.get("GRIDMEX_THREADS")
    os.environ["GRIDMEX_THREADS"] = str(int(n))
    try:
        yield
    finally:
        if previous is None:
            del os.environ["GRIDMEX_THREADS"]
        else:
            os.environ["GRIDMEX_THREADS"] = previous


def _function(name, outputs, count_refusals, text):
    plugin = _host.Plugin(os.path.join(_FOLDER, name + SUFFIX))
    by_count = {(identifier, message) for identifier, message in count_refusals}

    def call(*args):
        ok, result, console = plugin.call(outputs, *args)
        if console:
            print(console, end="")
        if ok:
            return result[0] if outputs == 1 else result
        identifier, message = result
        if (identifier, message) in by_count or (identifier, None) in by_count:
            error = TypeError(message)
            error.identifier = identifier
            raise error
        raise GridmexError(identifier, message)

    call.__name__ = call.__qualname__ = name
    call.__doc__ = text
    return call


for _name, _row in PLUGINS.items():
    globals()[_name] = _function(_name, *_row)

__all__ = sorted(PLUGINS) + ["GridmexError", "threads"]
