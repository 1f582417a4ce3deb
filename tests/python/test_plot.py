# SPDX-License-Identifier: Apache-2.0
"""The roundness plot draws the profile's deviations about the result's datum."""

import numpy as np
import pytest

import vantor
from conftest import sample

matplotlib = pytest.importorskip("matplotlib")
matplotlib.use("Agg")


@pytest.mark.parametrize(
    "datum",
    [
        {"direction": (0, 0, 1)},
        {"datum": vantor.Circle((40, 30, -12.5), (0, 0, 1), 25)},
        {"datum": vantor.Line((40, 30, 0), (0, 0, -1))},
    ],
)
def test_profile_spans_the_roundness(datum):
    points = sample("bore.txt")
    result = vantor.roundness(points, **datum)
    ax = vantor.plot.roundness(points, result)
    profile = ax.lines[0].get_ydata()
    assert len(profile) == len(points) + 1  # closed
    assert np.ptp(profile) == pytest.approx(result.value, rel=1e-9)
    assert ax.name == "polar"
