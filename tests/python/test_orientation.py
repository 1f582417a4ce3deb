# SPDX-License-Identifier: Apache-2.0
"""Datums, orientation and runout from Python: values known in closed form on generated
features, a 3-2-1 frame, and failures raised with their status."""
import math

import numpy as np
import pytest

import vantor

rng = np.random.default_rng(20261211)
U, V = rng.uniform(-50, 50, 300), rng.uniform(-50, 50, 300)
FACE_A = np.c_[U, V, np.zeros_like(U)]  # material above: outward -z
T = np.linspace(0, 2 * math.pi, 72, endpoint=False)
E = 0.01  # the shaft's offset from the datum axis
SHAFT = np.vstack([np.c_[10 * np.cos(T) + E, 10 * np.sin(T), np.full_like(T, z)] for z in (0, 5, 10)])
Z_AXIS = vantor.Line([0, 0, 0], [0, 0, 1])


def wall(x, lean):
    """A face at x leaning by `lean` along z from 2 to 18, outward +x."""
    z, y = np.tile(np.linspace(2, 18, 9), 9), np.repeat(np.linspace(-20, 20, 9), 9)
    return np.c_[x + lean * (z - 10), y, z]


def test_tolerances_of_features_with_known_deviations():
    a, _ = vantor.datum_plane(FACE_A, [0, 0, -1])
    slope = math.tan(math.radians(0.02))
    top = np.c_[U, V, 20 + slope * U]
    cases = [
        (vantor.parallelism(top, a).value, (U.max() - U.min()) * slope),
        (vantor.perpendicularity(wall(55, 4e-4), a).value, 16 * 4e-4),
        (vantor.total_radial_runout(SHAFT, Z_AXIS).value, 2 * E),
        (vantor.circular_radial_runout(SHAFT, Z_AXIS, sections=3).value, 2 * E),
        (vantor.total_axial_runout(top, Z_AXIS).value, (U.max() - U.min()) * slope),
        (vantor.axis_perpendicularity(SHAFT, a, sections=3).value, 0.0),
        (vantor.angularity(top, a, 0.0).value, (U.max() - U.min()) * slope),
    ]
    for got, expected in cases:
        assert got == pytest.approx(expected, abs=1e-9)


def test_three_faces_give_the_corner_frame():
    c_face = np.c_[rng.uniform(-10, 10, 50), np.full(50, 40.0), rng.uniform(1, 9, 50)]
    frame = vantor.datum_system(("face", FACE_A, [0, 0, -1]), ("face", wall(55, 0.0), [1, 0, 0]),
                                ("face", c_face, [0, 1, 0]))
    assert frame.rotation_fixed and frame.status == "ok"
    for got, expected in ((frame.z, [0, 0, -1]), (frame.x, [1, 0, 0]), (frame.y, [0, -1, 0]),
                          (frame.origin, [55, 40, 0]), (frame.at(1, 2, 3), [56, 38, -3])):
        np.testing.assert_allclose(got, expected, atol=1e-9)
    axis, status = vantor.datum_axis(SHAFT, "shaft")
    np.testing.assert_allclose(np.abs(axis.direction), [0, 0, 1], atol=1e-9)


def test_failures_raise_with_their_status():
    a, _ = vantor.datum_plane(FACE_A, [0, 0, -1])
    for call, status in ((lambda: vantor.parallelism(FACE_A[:1], a), "too_few_points"),
                         (lambda: vantor.datum_plane(FACE_A, [0, 0, 0]), "refused"),
                         (lambda: vantor.datum_system(("face", FACE_A, [0, 0, -1]),
                                                      ("shaft", SHAFT[:2])), "too_few_points")):
        with pytest.raises(vantor.EvaluationError) as raised:
            call()
        assert raised.value.status == status
    with pytest.raises(TypeError):
        vantor.total_radial_runout(SHAFT, a)
