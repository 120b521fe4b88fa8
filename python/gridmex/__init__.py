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

Each function's signature holds the parameter names of the plug-in's help,
positional-only: ``inspect.signature(gridmex.slopeBasis2)`` is
``(image, basis, step=..., /)``.

A wrong number of inputs raises TypeError with the plug-in's message, and so
does None where the plug-in takes an array (None stands for MATLAB's ``[]``
only where the plug-in refuses an empty scalar itself; an empty array is
``np.empty((0, 0))``); every other refusal raises GridmexError, whose
``identifier`` is the plug-in's.
"""
import contextlib
import inspect
import os

_FOLDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "own")
if hasattr(os, "add_dll_directory"):  # Windows: the extension's libmx.dll and libmex.dll
    os.add_dll_directory(_FOLDER)

from . import _host  # noqa: E402
from ._plugins import PLUGINS, SIGNATURES, SUFFIX  # noqa: E402


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


class _Omitted:
    """The default shown for an optional input: the plug-in's own default
    applies when the argument is left out."""

    def __repr__(self):
        return "..."


def _signature(parameters):
    kind = inspect.Parameter.POSITIONAL_ONLY
    return inspect.Signature([inspect.Parameter(p, kind, default=_Omitted() if optional else inspect.Parameter.empty)
                              for p, optional, _ in parameters])


def _function(name, outputs, count_refusals, text):
    plugin = _host.Plugin(os.path.join(_FOLDER, name + SUFFIX))
    by_count = {(identifier, message) for identifier, message in count_refusals}
    # Positions where None is a mistake, not the plug-in's [] (its arrays);
    # checked once the plug-in's own count check would pass.
    arrays = [(k, p) for k, (p, _, empty_is_refused) in enumerate(SIGNATURES[name]) if not empty_is_refused]
    required = sum(not optional for _, optional, _ in SIGNATURES[name])

    def call(*args):
        for k, p in arrays if len(args) >= required else ():
            if k < len(args) and args[k] is None:
                raise TypeError(f"{name}: argument {k + 1} ({p}) is None, where an array is taken "
                                "(an empty array is np.empty((0, 0)))")
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
    call.__signature__ = _signature(SIGNATURES[name])
    return call


for _name, _row in PLUGINS.items():
    globals()[_name] = _function(_name, *_row)

from .ndimage import map_coordinates  # noqa: E402

__all__ = sorted(PLUGINS) + ["GridmexError", "map_coordinates", "threads"]
