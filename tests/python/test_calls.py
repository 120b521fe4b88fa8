"""The table's calls through the package: the output bits, or the refusal
(exception type, identifier and text), that the own host's loader gave for
the same call (calls_dump wrote them to GRIDMEX_PYTHON_CALLS)."""
import inspect
import json
import os

import numpy as np
import pytest

import gridmex

CLASSES = {"double": "f8", "single": "f4", "int8": "i1", "uint8": "u1", "int16": "i2", "uint16": "u2",
           "int32": "i4", "uint32": "u4", "int64": "i8", "uint64": "u8", "logical": "?", "char": "u2"}
# Refusals with an identifier that the plug-ins raise for too few or too many
# inputs.
COUNT_IDS = {"matInvert6:noInput", "slopeBasis3p:missingLists", "gridInterp2:tooManyInputs",
             "gridInterp3:tooManyInputs"}

with open(os.environ["GRIDMEX_PYTHON_CALLS"], encoding="ascii") as f:
    CALLS = json.load(f)


def decode(a):
    """A recorded array as Python passes it: a read-only column-major view of
    the recorded bytes, or a str for a character row."""
    values = np.frombuffer(bytes.fromhex(a["re"]), CLASSES[a["class"]])
    if a["class"] == "char":
        return "".join(map(chr, values))
    if "im" in a:
        parts = values
        values = np.empty(parts.size, np.result_type(parts.dtype, np.complex64))
        values.real, values.imag = parts, np.frombuffer(bytes.fromhex(a["im"]), parts.dtype)
    return values.reshape(a["dims"], order="F")


def same_bits(got, want):
    return (got.dtype == np.dtype(CLASSES[want["class"]]) and list(got.shape) == want["dims"]
            and got.tobytes(order="F") == bytes.fromhex(want["re"]))


@pytest.mark.parametrize("name", sorted(gridmex.PLUGINS))
def test_table_calls_match_the_own_host(name):
    calls = [c for c in CALLS if c["name"] == name]
    assert sum(c["kind"] == "served" for c in calls) > 0
    function = getattr(gridmex, name)
    # The signature read from the help: the table's shortest valid call
    # passes exactly its required parameters, and some valid call all of them.
    parameters = inspect.signature(function).parameters.values()
    served = {len(c["inputs"]) for c in calls if c["kind"] == "served"}
    assert min(served) == sum(p.default is p.empty for p in parameters) and len(parameters) in served
    for k, call in enumerate(calls):
        args = [decode(a) for a in call["inputs"]]
        if call["ok"]:
            got = function(*args)
            got = got if isinstance(got, tuple) else (got,)
            assert len(got) == len(call["outputs"]), k
            assert all(same_bits(g, w) for g, w in zip(got, call["outputs"])), k
            continue
        identifier, text = bytes.fromhex(call["id"]).decode(), bytes.fromhex(call["text"]).decode()
        counted = identifier in COUNT_IDS or (identifier == "" and text == bytes.fromhex(call["intext"]).decode())
        with pytest.raises(TypeError if counted else gridmex.GridmexError) as refusal:
            function(*args)
        assert (refusal.value.identifier, str(refusal.value)) == (identifier, text), k
    assert gridmex._host.live_arrays() == 0 and gridmex._host.live_scratch_blocks() == 0
