"""The outcomes of the randomly drawn calls, counted by kind (returned, or
the exception's type) and shown at the end of the run."""
import collections

import pytest

OUTCOMES = collections.Counter()


@pytest.fixture(scope="session")
def fuzz_outcomes():
    return OUTCOMES


def pytest_terminal_summary(terminalreporter):
    if OUTCOMES:
        counts = ", ".join(f"{kind} {n}" for kind, n in sorted(OUTCOMES.items()))
        terminalreporter.write_line(f"random calls: {sum(OUTCOMES.values())} ({counts})")
