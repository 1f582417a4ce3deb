# SPDX-License-Identifier: Apache-2.0
"""Location tolerances through Python: features whose deviations are known in closed form, and
failures raised with their status."""

import math

import numpy as np
import pytest

import vantor


def sections(centre, radius, heights, lobes=3, form=0.002):
    """Sections of a round feature along z about (centre, 0), 36 points each; the lobes leave
    each section's least-squares centre and the circumscribed cylinder's axis in place."""
    t = np.arange(36) * 2 * math.pi / 36
    r = radius + form * np.cos(lobes * t)
    return np.vstack(
        [np.column_stack([centre[0] + r * np.cos(t), centre[1] + r * np.sin(t), np.full(36, h)])
         for h in heights]
    )


Z = vantor.Line([0, 0, 0], [0, 0, 2])


def test_zones_hold_twice_the_known_deviations():
    hole = sections((0.03, -0.04), 10, [0, 20, 40])
    slot = [np.array([[x0 + e, y, z] for y in (-5, 0, 5) for z in (0, 5)]) for x0, e in
            ((-5, 0.02), (5, 0.02))]
    ball = np.array([[1 + 7 * math.sin(a) * math.cos(b), 2 + 7 * math.sin(a) * math.sin(b),
                      3.01 + 7 * math.cos(a)] for a in np.linspace(0.2, 3, 9)
                     for b in np.linspace(0, 6, 12)])
    cases = [
        (vantor.axis_position(hole, Z), 0.1, 3),
        (vantor.coaxiality(hole, Z, sections=[10, 30]), 0.1, 3),
        (vantor.circle_position(hole[:36], Z), 0.1, 0),
        (vantor.concentricity(hole[:36], Z), 0.1, 0),
        (vantor.plane_position(slot[1], vantor.Plane([0, 0, 0], [1, 0, 0])), 2 * 5.02, 0),
        (vantor.symmetry(slot[0], slot[1], vantor.Plane([0, 0, 0], [-1, 0, 0])), 0.04, 0),
        (vantor.point_position(ball, [1, 2, 3]), 0.02, 0),
    ]
    for result, value, centres in cases:
        assert result.value == pytest.approx(value, abs=1e-9), result
        assert result.deviation == pytest.approx(value / 2, abs=1e-9)
        assert result.centres.shape == (centres, 3)
    seats = vantor.common_datum_axis(
        sections((0, 0), 15, [0, 5, 10]), "shaft", sections((0.02, 0), 15, [90, 100]), "shaft"
    )
    axis, status = seats
    assert status in ("ok", "not_proved")
    assert axis.direction[0] == pytest.approx(0.02 / 90, abs=1e-9)


def test_failures_raise_with_their_status():
    three = np.array([[10.0, 0, 0], [0, 10, 0], [-10, 0, 0]])
    with pytest.raises(vantor.EvaluationError) as e:
        vantor.point_position(three, [0, 0, 0])
    assert e.value.status == "too_few_points"
    with pytest.raises(vantor.EvaluationError) as e:
        vantor.axis_position(sections((0, 0), 10, [0]), Z)
    assert e.value.status == "degenerate"
    with pytest.raises(vantor.EvaluationError) as e:
        vantor.common_datum_axis(three, "hole", three, "shaft")
    assert str(e.value).startswith("common_datum_axis: datum A")
    with pytest.raises(TypeError):
        vantor.plane_position(three, Z)
    with pytest.raises(ValueError):
        vantor.point_position(three, [0, math.nan, 0])
