# SPDX-License-Identifier: Apache-2.0
"""Sizes through Python: an elliptical cylinder's two-point sizes run from the minor to the
major diameter, its sections' and global diameters follow the criterion, and failures raise
with their status."""

import numpy as np
import pytest

import vantor


def elliptical_cylinder(a, b, heights, n=360):
    """Sections of an ellipse with semi-axes a (along x) and b at the heights given."""
    t = 2 * np.pi * np.arange(n) / n
    return np.vstack(
        [np.column_stack([a * np.cos(t), b * np.sin(t), np.full(n, z)]) for z in heights]
    )


def test_sizes_of_an_elliptical_cylinder():
    a, b = 10.02, 9.98
    points = elliptical_cylinder(a, b, [0, 20, 40])
    points[5] = np.nan  # left out, as every evaluation leaves NaN rows out (the axis moves by
    # about 1e-9 for that)
    local = vantor.two_point_sizes(points, "cylinder", sections="auto")
    assert local.value == 0 and local.points == len(points) - 1
    assert local.of("maximum") == pytest.approx(2 * a, abs=1e-7)
    assert local.statistics["minimum"] == pytest.approx(2 * b, abs=1e-7)
    assert local.statistics["count"] == len(local.sizes)
    inscribed = vantor.section_sizes(points, "inscribed", "auto")
    assert inscribed.sizes == pytest.approx([2 * b] * 3, abs=1e-7)
    circumscribed = vantor.global_size(points, "cylinder", "circumscribed")
    assert circumscribed.value == pytest.approx(2 * a, abs=1e-7)
    assert circumscribed.status == "ok" and circumscribed.statistics["count"] == 1
    assert vantor.SIZE_STATISTICS == ("maximum", "minimum", "average", "median", "range")
    with pytest.raises(ValueError, match="unknown statistic"):
        local.of("mean")


@pytest.mark.parametrize(
    "call, status",
    [
        (lambda p: vantor.global_size(p, "plane", "gauss"), "refused"),
        (lambda p: vantor.global_size(p[:2], "circle", "gauss"), "too_few_points"),
        (lambda p: vantor.two_point_sizes(p[p[:, 1] > 3], "circle"), "degenerate"),
        (lambda p: vantor.section_sizes(p, "gauss", 5), "refused"),
    ],
)
def test_failures_raise_with_their_status(call, status):
    with pytest.raises(vantor.EvaluationError) as raised:
        call(elliptical_cylinder(10, 10, [0]))
    assert raised.value.status == status
