# SPDX-License-Identifier: Apache-2.0
"""vantor.fit and the form values without a datum: the program's JSON for the same fit (the
numbers read back to the same doubles), NIST's reference fits, bad input."""

import glob
import math
import os

import numpy as np
import pytest

import vantor
from conftest import SAMPLES, sample

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")

# Each sample with an element fitted to it, and the criteria to fit (the ball is a cap, which
# determines no inscribed sphere).
FITS = [
    ("edge.txt", "line", "all", None),
    ("face.txt", "plane", "all", None),
    ("bore.txt", "circle", "all", None),
    ("bore.txt", "circle", "all", "0,0,1"),
    ("ball.txt", "sphere", "gauss", None),
    ("ball.txt", "sphere", "zone", None),
    ("ball.txt", "sphere", "circumscribed", None),
    ("shaft.txt", "cylinder", "all", None),
    ("cone.txt", "cone", "all", None),
]


def along(points, origin, direction):
    """The points' offsets from the origin along the unit direction, and their distances from
    the line of the direction through the origin."""
    offsets = points - origin
    height = offsets @ direction
    return height, np.linalg.norm(offsets - np.outer(height, direction), axis=1)


def signed_distances(f, points):
    """The distances of the points from the fitted element that the fit's minimum and maximum
    bound, worked out here from its parameters."""
    if f.element.kind == "line":
        return along(points, f.origin, f.direction)[1]
    if f.element.kind == "plane":
        return (points - f.origin) @ f.normal
    if f.element.kind == "circle":
        return along(points, f.centre, f.normal)[1] - f.radius
    if f.element.kind == "sphere":
        return np.linalg.norm(points - f.centre, axis=1) - f.radius
    if f.element.kind == "cylinder":
        return along(points, f.origin, f.direction)[1] - f.radius
    height, radius = along(points, f.apex, f.direction)  # a cone
    angle = math.radians(f.half_angle)
    return radius * math.cos(angle) - height * math.sin(angle)


@pytest.mark.parametrize("name,element,criterion,direction", FITS)
def test_fit_equals_the_program_and_its_contacts_touch(tool, name, element, criterion, direction):
    args = ["fit", element, os.path.join(SAMPLES, name), "--criterion", criterion]
    if direction is not None:
        args += ["--direction", direction]
    fits = tool(*args)["fits"]
    axis = None if direction is None else [float(x) for x in direction.split(",")]
    points = sample(name)
    for c, expected in fits.items():
        result = vantor.fit(points, element, c, direction=axis)
        assert result.to_dict() == expected, c
        if result.contacts is None:
            continue
        # Every point lies within the zone or on the side of the surface the criterion keeps;
        # each contact on the boundary.
        d = signed_distances(result, points)
        assert result.minimum - 1e-9 <= d.min() and d.max() <= result.maximum + 1e-9, c
        at_bound = np.minimum(np.abs(d - result.minimum), np.abs(d - result.maximum))
        assert len(result.contacts) > 0 and np.all(at_bound[result.contacts] <= 1e-9), c


# Each form command without a datum, its sample, and the reference asked for (None: the
# default). (The program's roundness with --reference is the analysis report.)
FORMS = [
    ("straightness", "edge.txt", None, None),
    ("straightness", "edge.txt", None, "gauss"),
    ("flatness", "face.txt", None, None),
    ("roundness", "bore.txt", None, None),
    ("roundness", "bore.txt", "0.001,0,1", None),
    ("sphericity", "ball.txt", None, None),
    ("sphericity", "ball.txt", None, "circumscribed"),
    ("cylindricity", "shaft.txt", None, None),
    ("cylindricity", "shaft.txt", None, "inscribed"),
    ("conicity", "cone.txt", None, None),
]


@pytest.mark.parametrize("feature,name,direction,reference", FORMS)
def test_form_without_a_datum_equals_the_program(tool, feature, name, direction, reference):
    args = [feature, os.path.join(SAMPLES, name)]
    keywords = {}
    if direction is not None:
        args += ["--direction", direction]
        keywords["direction"] = [float(x) for x in direction.split(",")]
    if reference is not None:
        args += ["--reference", reference]
        keywords["reference"] = reference
    expected = tool(*args)
    for key in ("file", "points", "unit", "direction_from"):
        expected.pop(key, None)
    assert getattr(vantor, feature)(sample(name), **keywords).to_dict() == expected


# Each form without a datum on a sample; for a line, cylinder or cone the sample's axis and one 45
# degrees from it; and a datum, with which no reference is fitted.
STEERED = [
    ("straightness", "edge.txt", (1, 0, 0), (1, 1, 0), vantor.Line((0, 10, 5), (1, 0, 0))),
    ("flatness", "face.txt", None, None, vantor.Plane((0, 0, 0), (0, 0, 1))),
    ("roundness", "bore.txt", None, None, vantor.Line((40, 30, 0), (0, 0, 1))),
    ("sphericity", "ball.txt", None, None, vantor.Sphere((150, 80, 35), 12.7)),
    ("cylindricity", "shaft.txt", (0, 0, 1), (1, 0, 1), vantor.Cylinder((0, 0, 0), (0, 0, 1), 12)),
    ("conicity", "cone.txt", (0, 0, 1), (1, 0, 1), vantor.Line((0, 0, 0), (0, 0, 1))),
]


@pytest.mark.parametrize("feature,name,axis,far,datum", STEERED)
def test_fit_options_steer_the_reference_only(tool, feature, name, axis, far, datum):
    points, evaluate = sample(name), getattr(vantor, feature)
    plain = evaluate(points, time_budget=0.1)
    expected = tool(feature, os.path.join(SAMPLES, name), "--time-budget", "0.1")
    for key in ("file", "points", "unit", "direction_from"):
        expected.pop(key, None)
    assert plain.to_dict() == expected  # with the program's proof
    assert isinstance(plain.proof["proved"], bool)
    assert repr(plain).endswith(f"proof={plain.proof!r})")
    # A budget too short for any work proves nothing; least squares proves nothing to report.
    assert evaluate(points, time_budget=1e-9).proof["proved"] is False
    assert evaluate(points, reference="gauss").proof is None
    with pytest.raises(TypeError, match="time_budget steers the element fitted without a datum"):
        evaluate(points, datum, time_budget=0.1)
    if axis is None:
        return
    with pytest.raises(TypeError, match="axis steers"):
        evaluate(points, datum, axis=axis)
    # About the sample's own axis the reference is the one fitted without it; 45 degrees away,
    # no reference lies within the largest tilt.
    steered = evaluate(points, axis=axis, max_tilt=1.0, time_budget=0.1)
    assert steered.value == pytest.approx(plain.value, abs=1e-12)
    with pytest.raises(ValueError, match=f"^{feature}: minimum-zone .*largest tilt"):
        evaluate(points, axis=far, max_tilt=0.01, time_budget=0.1)


def read_set(path):
    """The points of a NIST .ds file (a count, then x y z lines) and the numbers of its .fit."""
    points = np.loadtxt(path, skiprows=1)
    reference = np.loadtxt(path[:-3] + ".fit")
    return points, reference


def up_to_sign(a, b):
    return min(np.max(np.abs(a - b)), np.max(np.abs(a + b)))


def axis_distance(point, origin, direction):
    offset = point - origin
    return np.linalg.norm(offset - np.dot(offset, direction) * direction)


def plane_difference(f, r):
    return max(abs(np.dot(r[:3] - f.origin, f.normal)), up_to_sign(f.normal, r[3:6]))


def sphere_difference(f, r):
    return max(np.max(np.abs(f.centre - r[:3])), abs(f.radius - r[3] / 2))


def cylinder_difference(f, r):
    return max(
        axis_distance(r[:3], f.origin, f.direction),
        up_to_sign(f.direction, r[3:6]),
        abs(f.radius - r[6] / 2),
    )


def cone_difference(f, r):
    # The reference: a point on the axis, the direction towards increasing radius, that
    # point's distance from the surface and the full apex angle in degrees.
    half_angle = math.radians(f.half_angle)
    height = np.dot(r[:3] - f.apex, f.direction)
    return max(
        axis_distance(r[:3], f.apex, f.direction),
        np.max(np.abs(f.direction - r[3:6])),
        abs(abs(height * math.sin(half_angle)) - r[6]),
        abs(2 * f.half_angle - r[7]),
    )


def circle_difference(f, r):
    return max(np.max(np.abs(f.centre - r[:3])), abs(f.radius - r[6] / 2))


NIST = [
    ("nist-l2/plane/pla", "plane", plane_difference),
    ("nist-l2/sphere/sph", "sphere", sphere_difference),
    ("nist-l2/cylinder/cyl", "cylinder", cylinder_difference),
    ("nist-l2/cone/con", "cone", cone_difference),
    # Fitted along the reference normal.
    ("nist-circle2d/cir2d", "circle", circle_difference),
]


@pytest.mark.parametrize("stem,element,difference", NIST, ids=[n[1] for n in NIST])
def test_nist_sets_within_1e8_and_as_the_program_fits_them(tool, tmp_path, stem, element,
                                                           difference):
    paths = sorted(glob.glob(os.path.join(DATA, stem + "*.ds")))
    assert len(paths) == 30
    for path in paths:
        points, reference = read_set(path)
        direction = reference[3:6].tolist() if element == "circle" else None
        result = vantor.fit(points, element, direction=direction)
        assert difference(result, reference) <= 1e-8, path
        copy = str(tmp_path / "points.vpts")
        vantor.save(copy, points, force=True)
        args = ["fit", element, copy]
        if direction is not None:
            args += ["--direction", ",".join(repr(x) for x in direction)]
        assert result.to_dict() == tool(*args)["fits"]["gauss"], path


def test_result_attributes():
    ring = sample("bore.txt")
    zone = vantor.fit(ring, "circle", "zone", direction=(0, 0, 1))
    assert isinstance(zone.element, vantor.Circle)
    assert zone.centre.shape == (3,) and zone.centre.dtype == np.float64
    np.testing.assert_array_equal(zone.centre, zone.element.centre)
    assert zone.radius == zone.element.radius
    assert zone.uncertainty is None and zone.contacts.dtype == np.intp
    # The contacts lie on the boundary of the zone.
    distance = np.linalg.norm((ring - zone.centre)[:, :2], axis=1) - zone.radius
    np.testing.assert_allclose(np.abs(distance[zone.contacts]), zone.deviation / 2, atol=1e-9)
    assert zone.points == len(ring) and zone.converged
    gauss = vantor.fit(ring, "circle")
    assert gauss.contacts is None and set(gauss.uncertainty) == {"centre", "normal", "radius"}
    assert repr(gauss).startswith("FitResult(element='circle', criterion='gauss', centre=[")
    with pytest.raises(AttributeError):
        gauss.radius = 1.0
    with pytest.raises(AttributeError):
        gauss.apex  # noqa: B018


def test_nan_rows_are_left_out_and_contacts_index_the_rows_given():
    ring = sample("bore.txt")
    gaps = np.insert(ring, [0, 100, 100], np.nan, axis=0)  # rows 0, 101 and 102
    given, with_gaps = vantor.fit(ring, "circle", "zone"), vantor.fit(gaps, "circle", "zone")
    shifted = given.contacts + 1 + 2 * (given.contacts >= 100)
    np.testing.assert_array_equal(with_gaps.contacts, shifted)
    expected = given.to_dict()
    expected["contacts"] = shifted.tolist()
    assert with_gaps.to_dict() == expected


def test_spikes_are_warned_about_and_rejected_on_request(tool, tmp_path):
    face = sample("face.txt")
    spiked = face.copy()
    spiked[[5, 60], 2] += 1.0
    assert vantor.fit(face, "plane", "zone").outliers == 0
    marred = vantor.fit(spiked, "plane", "zone")
    assert marred.outliers == 2 and "2 points stand" in marred.warning
    cleaned = vantor.fit(spiked, "plane", "zone", reject_beyond=3)
    np.testing.assert_array_equal(cleaned.rejected, [5, 60])
    assert cleaned.deviation == vantor.fit(np.delete(face, [5, 60], axis=0), "plane", "zone").deviation
    path = tmp_path / "spiked.txt"
    np.savetxt(path, spiked)
    program = tool("fit", "plane", str(path), "--criterion", "zone", "--reject", "3")
    assert program["fits"]["zone"] == cleaned.to_dict()
    assert tool("flatness", str(path))["outliers"] == 2


LINE = [[0.0, 0, 0], [1, 1, 1], [2, 2, 2], [3, 3, 3], [4, 4, 4], [5, 5, 5]]
RING = np.column_stack([np.cos(np.arange(8)), np.sin(np.arange(8)), np.zeros(8)])

BAD_FITS = [
    (lambda: vantor.fit(LINE, "torus"), ValueError, "unknown element 'torus'"),
    (lambda: vantor.fit(LINE, "line", "best"), ValueError, "unknown criterion 'best'"),
    (lambda: vantor.fit(LINE, 3), TypeError, "names"),
    (lambda: vantor.fit(LINE, "line", direction=(0, 0, 1)), ValueError, "only a circle"),
    (lambda: vantor.fit(RING, "circle", direction=(0, 1)), ValueError, "direction: expected"),
    (lambda: vantor.fit(RING, "circle", direction=(0, 0, 0)), ValueError, "zero or not finite"),
    (lambda: vantor.fit(np.zeros((4, 2)), "line"), ValueError, r"\(N, 3\) array"),
    (lambda: vantor.fit([["a", "b", "c"]], "line"), ValueError, "expected numbers"),
    (lambda: vantor.fit(np.full((6, 3), np.nan), "line"), ValueError, "the set has 0"),
    (lambda: vantor.fit(LINE[:4], "cylinder"), ValueError, "a cylinder needs at least 5"),
    (lambda: vantor.fit(LINE, "plane"), ValueError, "lie on one line: they determine no plane"),
    (lambda: vantor.fit(RING, "sphere"), ValueError, "in one plane: they determine no sphere"),
    (lambda: vantor.fit(LINE, "line", "inscribed"), ValueError, "not defined for a line"),
    (lambda: vantor.sphericity(sample("ball.txt"), reference="inscribed"), ValueError,
     "sphericity: maximum-inscribed sphere: the points do not surround the centre"),
    (lambda: vantor.flatness(LINE), ValueError, "plane: the points lie on one line"),
    (lambda: vantor.cylindricity(RING, reference="best"), ValueError, "unknown criterion"),
    (lambda: vantor.flatness(RING, direction=(0, 0, 1), reference="gauss"), TypeError, "not"),
    (lambda: vantor.cylindricity(RING, max_tilt=0), ValueError, "largest tilt must lie in"),
    (lambda: vantor.sphericity(RING, time_budget=-1), ValueError, "time budget must be"),
    (lambda: vantor.fit(LINE, "line", reject_beyond=1), ValueError, "rejection threshold"),
]


@pytest.mark.parametrize("call,error,message", BAD_FITS)
def test_bad_fits(call, error, message):
    with pytest.raises(error, match=message):
        call()


FAILED_FITS = [
    (lambda: vantor.fit(LINE, "torus"), "refused"),
    (lambda: vantor.fit(LINE, "line", "inscribed"), "refused"),
    (lambda: vantor.fit(np.full((6, 3), np.nan), "line"), "too_few_points"),
    (lambda: vantor.fit(np.vstack([RING, [1e155, 0, 0]]), "circle", direction=(0, 0, 1)),
     "invalid_points"),
    (lambda: vantor.fit(LINE, "plane"), "degenerate"),
    (lambda: vantor.fit(sample("ball.txt")[:40], "sphere", "inscribed"), "not_determined"),
]


@pytest.mark.parametrize("call,status", FAILED_FITS)
def test_failed_fits_raise_their_status(call, status):
    with pytest.raises(vantor.FitError) as failure:
        call()
    assert failure.value.status == status


SAMPLE_OF = {"line": "edge.txt", "plane": "face.txt", "circle": "bore.txt",
             "sphere": "ball.txt", "cylinder": "shaft.txt", "cone": "cone.txt"}


def test_the_element_table_describes_every_fit():
    assert list(vantor.ELEMENTS) == list(SAMPLE_OF)
    assert vantor.CRITERIA == ("gauss", "zone", "inscribed", "circumscribed")
    for name, info in vantor.ELEMENTS.items():
        points = sample(SAMPLE_OF[name])
        for criterion in vantor.CRITERIA:
            if criterion not in info.criteria:
                with pytest.raises(vantor.FitError) as refused:
                    vantor.fit(points, name, criterion)
                assert refused.value.status == "refused"
        f = vantor.fit(points, name)
        assert list(f.parameters) == [p for p, _ in info.parameters]
        assert [np.size(v) for v in f.parameters.values()] == [n for _, n in info.parameters]
        with pytest.raises(vantor.FitError, match=f"at least {info.fewest_points} ") as short:
            vantor.fit(points[: info.fewest_points - 1], name)
        assert short.value.status == "too_few_points"


def test_valid_fits_say_whether_they_are_proved(tool):
    points = sample("bore.txt")
    assert vantor.fit(points, "cylinder").status == "ok"
    proved = vantor.fit(points, "cylinder", "zone")
    assert proved.status == "ok" and proved.proof["proved"]
    rushed = vantor.fit(points, "cylinder", "zone", time_budget=1e-7)
    assert rushed.status == "not_proved" and not rushed.proof["proved"]
    assert rushed.to_dict()["status"] == "not_proved"


def test_forms_without_a_datum_fit_the_minimum_zone_element_by_default():
    face = sample("face.txt")
    assert vantor.DEFAULT_REFERENCE == "zone"
    fitted = vantor.fit(face, "plane", "zone")
    flatness = vantor.flatness(face)
    assert flatness.value == fitted.deviation and flatness.reference == "minimum-zone plane"
    assert flatness.value < vantor.flatness(face, reference="gauss").value
