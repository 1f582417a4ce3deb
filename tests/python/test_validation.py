# SPDX-License-Identifier: Apache-2.0
"""Bad input raises a clear error; a failed evaluation raises EvaluationError with the reason
and its status."""

import os

import numpy as np
import pytest

import vantor

GOOD = np.array([[0.0, 0, 0], [1, 0, 0.001], [0, 1, -0.002], [1, 1, 0]])

# Points the package refuses, with the status of the error: the array's shape and type are
# refused, the rest is what the library says of the points.
BAD_POINTS = [
    (np.zeros((4, 2)), r"\(N, 3\) array, got shape \(4, 2\)", "refused"),
    (np.zeros(3), r"shape \(3,\)", "refused"),
    (np.zeros((4, 3, 1)), r"shape \(4, 3, 1\)", "refused"),
    (np.zeros((0, 3)), "no rows", "refused"),
    ([["1", "2", "3"]], "expected numbers", "refused"),
    ([[1, 2, "a"]], "expected numbers", "refused"),
    (None, "expected numbers", "refused"),
    (np.ones((2, 3), dtype=complex), "expected numbers", "refused"),
    (np.ones((2, 3), dtype=bool), "expected numbers", "refused"),
    ([[1, 2, 3], [4, 5]], r"\(N, 3\) array of numbers", "refused"),
    (np.full((3, 3), np.nan), "no valid point", "too_few_points"),
    ([[0, 0, 0], [1, 2, np.inf]], "row 1 has an infinite coordinate", "invalid_points"),
    ([[0, 0, 1e308], [0, 0, -1e308]], "not finite", "invalid_points"),
]


def flatness_about_z(points):
    return vantor.flatness(points, vantor.Plane((0, 0, 0), (0, 0, 1)))


# Every form names itself in the error; the sums of the last set overflow in the plane's test.
BAD_FORMS = [("flatness", flatness_about_z, *bad) for bad in BAD_POINTS] + [
    ("roundness", vantor.roundness, *bad) for bad in BAD_POINTS[:-1]
]


@pytest.mark.parametrize("feature,form,points,message,status", BAD_FORMS)
def test_bad_points(feature, form, points, message, status):
    with pytest.raises(vantor.EvaluationError, match=f"^{feature}: .*" + message) as failure:
        form(points)
    assert failure.value.status == status


BAD_ELEMENTS = [
    (lambda: vantor.Plane((0, 0, 0), (0, 0, 0)), ValueError, "plane: the normal must have"),
    (lambda: vantor.Line((0, 0, 0), (0, 0, 0)), ValueError, "line: the direction must have"),
    (lambda: vantor.Line((0, 0, 0), (1e300, 1e300, 0)), ValueError, "finite, non-zero length"),
    (lambda: vantor.Circle((0, 0, 0), (0, 0, 1), -1), ValueError, "radius must not be negative"),
    (lambda: vantor.Cone((0, 0, 0), 1, (0, 0, 0), 2), ValueError, "two points must lie"),
    (lambda: vantor.Cone((0, 0, 0), 1, (0, 0, 1), -2), ValueError, "radius1 must not be"),
    (lambda: vantor.Plane((0, 0, np.nan), (0, 0, 1)), ValueError, "origin: every number"),
    (lambda: vantor.Plane((0, 0), (0, 0, 1)), ValueError, "origin: expected three numbers"),
    (lambda: vantor.Sphere((0, 0, 0), "1"), TypeError, "radius: expected a number"),
    (lambda: vantor.Sphere((0, 0, 0), float("inf")), ValueError, "radius: must be finite"),
]


@pytest.mark.parametrize("make,error,message", BAD_ELEMENTS)
def test_bad_elements(make, error, message):
    with pytest.raises(error, match=message):
        make()


PLANE = vantor.Plane((0, 0, 0), (0, 0, 1))
LINE = vantor.Line((0, 0, 0), (0, 0, 1))

BAD_CALLS = [
    (lambda: vantor.flatness(GOOD, PLANE, direction=(0, 0, 1)), TypeError, "at most one"),
    (lambda: vantor.flatness(GOOD, LINE), TypeError, "datum must be a Plane, not Line"),
    (lambda: vantor.cylindricity(GOOD, (0, 0, 1)), TypeError, "must be a Cylinder, not tuple"),
    (lambda: vantor.flatness(GOOD, direction=(0, 0, 0)), ValueError, "direction: must have"),
    (lambda: vantor.sphericity(GOOD, centre=(0, np.nan, 0)), ValueError, "centre: every"),
    (lambda: vantor.flatness(GOOD, upper=0.001, lower=0.002), ValueError, "below lower$"),
    (lambda: vantor.flatness(GOOD, upper=-0.001), ValueError, "below lower, which is 0"),
    (lambda: vantor.roundness(GOOD, nominal=0.001), TypeError, "nominal needs upper"),
    (lambda: vantor.cylindricity(GOOD, upper="0.1"), TypeError, "upper must be a number"),
    (lambda: vantor.conicity(GOOD, upper=np.inf), ValueError, "upper must be finite"),
    # Points on one line: no circle.
    (
        lambda: vantor.roundness([[0, 0, 0], [1, 0, 0], [2, 0, 0]], direction=(0, 0, 1)),
        ValueError,
        "roundness: .* circle: the points seen along the axis lie on one line",
    ),
    # Every point at one position along the axis: no cone.
    (
        lambda: vantor.conicity([[1, 0, 0], [0, 2, 0], [-1, 0, 0]], LINE),
        ValueError,
        "conicity: no cone",
    ),
]


@pytest.mark.parametrize("call,error,message", BAD_CALLS)
def test_bad_calls(call, error, message):
    with pytest.raises(error, match=message):
        call()


CAP = vantor.load(os.path.join(os.environ["VANTOR_SAMPLES"], "ball.txt"))

# Failed evaluations raise EvaluationError with the library's code for the failure.
FAILED = [
    (lambda: vantor.roundness([[0, 0, 0], [1, 0, 0], [2, 0, 0]], direction=(0, 0, 1)),
     "degenerate"),
    (lambda: vantor.conicity([[1, 0, 0], [0, 2, 0], [-1, 0, 0]], LINE), "degenerate"),
    (lambda: vantor.cylindricity(GOOD), "too_few_points"),
    (lambda: vantor.sphericity(CAP, reference="inscribed"), "not_determined"),
    (lambda: vantor.straightness(GOOD, cutoff=-1.0), "refused"),
    (lambda: vantor.flatness([[0, 0, 0], [1, 1, 1], [2, 2, 2]], cutoff=0.8), "degenerate"),
    (lambda: vantor.roundness(GOOD[:2], direction=(0, 0, 1)), "too_few_points"),
    (lambda: vantor.roundness_analysis(GOOD[:2]), "too_few_points"),
    (lambda: vantor.roundness(CAP, sections=7), "refused"),
]


@pytest.mark.parametrize("call,status", FAILED)
def test_failed_evaluations_raise_their_status(call, status):
    with pytest.raises(vantor.EvaluationError) as failure:
        call()
    assert failure.value.status == status, str(failure.value)
