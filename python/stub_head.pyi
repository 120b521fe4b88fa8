# Type stub of the package gridmex: its own Python names, written by hand
# here; make_plugins.py appends one function per plug-in.  Inputs are what
# NumPy makes an array of, outputs double arrays, several outputs a tuple.
from contextlib import AbstractContextManager

import numpy as np
from numpy.typing import ArrayLike, NDArray

Array = NDArray[np.float64]

PLUGINS: dict[str, tuple[int, list[tuple[str, str | None]], str]]
SIGNATURES: dict[str, list[tuple[str, bool, bool]]]
SUFFIX: str

class GridmexError(ValueError):
    identifier: str
    def __init__(self, identifier: str, message: str) -> None: ...

def threads(n: int) -> AbstractContextManager[None]: ...
def map_coordinates(
    input: ArrayLike, coordinates: ArrayLike, order: int = ..., mode: str = ..., cval: float = ...
) -> Array: ...
