# SPDX-License-Identifier: Apache-2.0
"""Form values through Python equal the library's, as the vantor program reports them (JSON
numbers read back to the same doubles), whatever form the points arrive in."""

import os

import numpy as np
import pytest

import vantor
from conftest import SAMPLES, sample

# How a datum is given to the program (option) and to Python (keyword and value), from the
# same numbers.
DATUMS = {
    "plane": ("--plane", lambda v: {"datum": vantor.Plane(v[:3], v[3:])}),
    "line": ("--line", lambda v: {"datum": vantor.Line(v[:3], v[3:])}),
    "axis": ("--axis", lambda v: {"datum": vantor.Line(v[:3], v[3:])}),
    "circle": ("--circle", lambda v: {"datum": vantor.Circle(v[:3], v[3:6], v[6])}),
    "sphere": ("--sphere", lambda v: {"datum": vantor.Sphere(v[:3], v[3])}),
    "cylinder": ("--cylinder", lambda v: {"datum": vantor.Cylinder(v[:3], v[3:6], v[6])}),
    "cone": ("--cone", lambda v: {"datum": vantor.Cone(v[:3], v[3], v[4:7], v[7])}),
    "direction": ("--direction", lambda v: {"direction": v}),
    "centre": ("--centre", lambda v: {"centre": v}),
}

# Every feature against every kind of datum it takes. Datums a little off the samples' nominal
# geometry, with directions that are not of unit length, so that scaling them matters.
CASES = [
    ("face.txt", "flatness", "plane", "0.5,-1,0.001,0.0001,0,2"),
    ("face.txt", "flatness", "direction", "0.0001,0,3"),
    ("edge.txt", "straightness", "line", "0,10,5,2,0.0003,0"),
    ("bore.txt", "roundness", "circle", "40.001,30,-12.5,0,0,-2,25"),
    ("bore.txt", "roundness", "line", "40,30.002,0,0,0.00001,1"),
    ("bore.txt", "roundness", "direction", "0,0,1"),
    ("ball.txt", "sphericity", "sphere", "150,80.001,35,12.7"),
    ("ball.txt", "sphericity", "centre", "150,80,35.002"),
    ("shaft.txt", "cylindricity", "cylinder", "0,0.001,0,0,0.0002,3,12"),
    ("cone.txt", "conicity", "cone", "0,0,0,20,0,0,30,12"),
    ("cone.txt", "conicity", "axis", "0.001,0,0,0,0,1"),
]


def evaluate(points, feature, kind, text):
    numbers = [float(x) for x in text.split(",")]
    return getattr(vantor, feature)(points, **DATUMS[kind][1](numbers))


@pytest.mark.parametrize("name,feature,kind,text", CASES)
def test_equals_the_program(tool, name, feature, kind, text):
    expected = tool(feature, os.path.join(SAMPLES, name), DATUMS[kind][0], text)
    for key in ("file", "points", "unit", "direction_from"):
        expected.pop(key, None)
    result = evaluate(sample(name), feature, kind, text)
    if result.reference is None:  # a given datum, which the program names
        expected.pop("reference", None)
    assert result.to_dict() == expected


# The outward direction of each sample's surface at a point, to raise spikes along.
OUTWARD = {
    "face.txt": lambda p: np.array([0.0, 0, 1]),
    "edge.txt": lambda p: np.array([0.0, 1, 0]),
    "bore.txt": lambda p: np.append(p[:2] - [40, 30], 0) / np.linalg.norm(p[:2] - [40, 30]),
    "ball.txt": lambda p: (p - [150, 80, 35]) / np.linalg.norm(p - [150, 80, 35]),
    "shaft.txt": lambda p: np.append(p[:2], 0) / np.linalg.norm(p[:2]),
    "cone.txt": lambda p: np.append(p[:2], 0) / np.linalg.norm(p[:2]),
}


@pytest.mark.parametrize("name,feature,kind,text", CASES)
def test_three_spikes_are_warned_about_as_the_program_does(
    tool, tmp_path, name, feature, kind, text
):
    points = sample(name)
    assert evaluate(points, feature, kind, text).outliers == 0
    spiked = points.copy()
    for row in (3, len(points) // 3, 2 * len(points) // 3):
        spiked[row] += OUTWARD[name](points[row])  # 1 mm out
    result = evaluate(spiked, feature, kind, text)
    assert result.outliers == 3 and "3 points stand" in result.warning
    path = tmp_path / "spiked.txt"
    np.savetxt(path, spiked, fmt="%.17g")
    expected = tool(feature, str(path), DATUMS[kind][0], text)
    assert (expected["outliers"], expected["warning"]) == (result.outliers, result.warning)


def nan_rows(points):
    """The points with invalid rows before, among and after them, one NaN coordinate in each."""
    nan = np.full((1, 3), np.nan)
    partial = np.array([[1.0, np.nan, 2.0]])
    return np.concatenate([nan, points[:7], partial, points[7:], nan])


def wide(points):
    """A view with a column stride of two doubles."""
    array = np.zeros((len(points), 6))
    array[:, ::2] = points
    return array[:, ::2]


# Each form of the points, and the float64 points whose result it must give exactly.
FORMS = {
    "float32": (lambda p: p.astype(np.float32), lambda p: p.astype(np.float32).astype(np.float64)),
    "column stride": (wide, lambda p: p),
    "Fortran order": (np.asfortranarray, lambda p: p),
    "reversed rows": (lambda p: p[::-1], lambda p: np.ascontiguousarray(p[::-1])),
    "nested lists": (lambda p: p.tolist(), lambda p: p),
    # In whole micrometres: whole millimetres would turn the bore's z noise about -12.5 into
    # a step of 1 between -12 and -13, which is no roundness profile.
    "integers": (lambda p: np.rint(p * 1000).astype(np.int32), lambda p: np.rint(p * 1000)),
    "NaN rows": (nan_rows, lambda p: p),
}


@pytest.mark.parametrize("form", FORMS)
@pytest.mark.parametrize("name,feature,kind,text", CASES)
def test_every_form_of_the_points_gives_the_same_result(form, name, feature, kind, text):
    points = sample(name)
    given, same = FORMS[form]
    got = evaluate(given(points), feature, kind, text).to_dict()
    assert got == evaluate(same(points), feature, kind, text).to_dict()


def test_result_attributes():
    r = vantor.roundness(sample("bore.txt"), direction=(0, 0, 1))
    assert isinstance(r.datum, vantor.Circle)
    assert r.datum.normal.shape == (3,) and r.datum.normal.dtype == np.float64
    assert repr(r).startswith("FormResult(feature='roundness', value=")
    with pytest.raises(AttributeError):
        r.value = 0.0


def sectioned_bore(rng):
    """Four profiles of 72 points at random angles over 60 mm, radius 20, on a tilted axis
    through the origin; profile k has a 3-lobed form of amplitude AMPLITUDES[k]."""
    axis = np.array([0.3, -0.2, 1.0]) / np.linalg.norm([0.3, -0.2, 1.0])
    u = np.cross(axis, [1.0, 0, 0])
    u /= np.linalg.norm(u)
    w = np.cross(axis, u)
    rows = []
    for k, a in enumerate(AMPLITUDES):
        t = np.radians(np.arange(72) * 5 + rng.uniform(0, 5, 72))  # one point in every 5 degrees
        r = 20 + a * np.cos(3 * t)
        rows.append(20.0 * k * axis + (r * np.cos(t))[:, None] * u + (r * np.sin(t))[:, None] * w)
    return np.concatenate(rows)


AMPLITUDES = [0.001, 0.003, 0.002, 0.0015]


def test_sections_split_a_bore_as_the_program_does(tool, tmp_path):
    points = sectioned_bore(np.random.default_rng(3))
    with pytest.raises(ValueError, match="more than a profile may.*sections='auto'"):
        vantor.roundness(points)
    path = str(tmp_path / "long_bore.txt")
    np.savetxt(path, points)
    expected = tool("roundness", path, "--sections", "auto")["sections"]
    given = np.concatenate([[[np.nan, 0, 0]], points])  # a NaN row, in no section
    for how in ("auto", 4, [10, 30, 50.0]):
        sections = vantor.roundness(given, sections=how)
        assert len(sections) == 4
        for k, (s, e) in enumerate(zip(sections, expected)):
            # Profile k is rows 72k .. 72k + 71 of the points, one row on in `given`.
            assert list(s.rows) == list(range(72 * k + 1, 72 * k + 73))
            assert s.height == pytest.approx(20.0 * k, abs=1e-6)
            assert s.roundness.value == e["roundness"]
            assert 0.9 * 2 * AMPLITUDES[k] <= s.roundness.value <= 2 * AMPLITUDES[k] + 1e-9
    with pytest.raises(ValueError, match=" of 2 spread "):
        vantor.roundness(points, sections=2)
    with pytest.raises(ValueError, match="no points above height 70"):
        vantor.roundness(points, sections=[70.0])
    single = vantor.roundness(points[:72], sections="auto")
    assert len(single) == 1 and single[0].roundness.value == vantor.roundness(points[:72]).value


@pytest.mark.parametrize(
    "name,feature,cutoff", [("edge.txt", "straightness", 25.0), ("face.txt", "flatness", 25.0)]
)
def test_filtered_equals_the_program(tool, name, feature, cutoff):
    expected = tool(feature, os.path.join(SAMPLES, name), "--cutoff", str(cutoff))
    for key in ("file", "points", "unit", "reference", "deviation_direction", "across"):
        expected.pop(key, None)
    result = getattr(vantor, feature)(sample(name), cutoff=cutoff)
    assert isinstance(result, vantor.FilteredFormResult)
    assert result.to_dict() == expected


def test_filtered_warns_of_spikes_as_the_program_does(tool, tmp_path):
    line = np.array([[x, 0.001 * np.sin(x), 0.0] for x in np.arange(0.0, 50.0, 0.5)])
    line[[7, 33, 66], 1] += 1.0
    result = vantor.straightness(line, cutoff=3.0)  # too sparse as well: 0.5 > 3 / 7
    assert result.outliers == 3
    assert "too sparse" in result.warning and "3 points stand" in result.warning
    path = tmp_path / "spiked.txt"
    np.savetxt(path, line)
    expected = tool("straightness", str(path), "--cutoff", "3")
    assert (expected["outliers"], expected["warning"]) == (3, result.warning)


def test_filtered_takes_no_datum_and_warns_when_sparse():
    line = np.array([[x, 0.001 * np.sin(x), 0.0] for x in np.arange(0.0, 10.0, 0.5)])
    assert vantor.straightness(line, cutoff=10.0).warning is None
    assert "too sparse" in vantor.straightness(line, cutoff=3.0).warning
    with pytest.raises(TypeError, match="datum"):
        vantor.straightness(line, vantor.Line([0, 0, 0], [1, 0, 0]), cutoff=3.0)
    with pytest.raises(TypeError, match="max_tilt"):
        vantor.straightness(line, max_tilt=5.0, cutoff=3.0)
    with pytest.raises(ValueError, match="cutoff"):
        vantor.flatness(line, cutoff=-1.0)


# Every form function, and the program's command with the same options, on a sample.
TOLERANCED = [
    ("edge.txt", "straightness", {}, []),
    ("face.txt", "flatness", {}, []),
    ("face.txt", "flatness", {"cutoff": 25.0}, ["--cutoff", "25"]),
    ("bore.txt", "roundness", {"direction": (0, 0, 1)}, ["--direction", "0,0,1"]),
    ("bore.txt", "roundness_analysis", {"filter_upr": 50}, ["--filter", "50"]),
    ("ball.txt", "sphericity", {}, []),
    ("shaft.txt", "cylindricity", {}, []),
    ("cone.txt", "conicity", {}, []),
]


@pytest.mark.parametrize("name,function,keywords,args", TOLERANCED)
def test_tolerance_verdict_as_the_program_gives_it(tool, name, function, keywords, args):
    points = sample(name)
    form = getattr(vantor, function)
    value = form(points, **keywords).value
    feature = "roundness" if function == "roundness_analysis" else function
    # At the upper limit; one step above it; below nominal + lower.
    cases = [
        ({"upper": value}, True),
        ({"upper": float(np.nextafter(value, 0))}, False),
        ({"nominal": value, "lower": value / 100, "upper": value}, False),
    ]
    for tolerance, within in cases:
        r = form(points, **keywords, **tolerance)
        assert r.within is within
        assert r.tolerance == {"nominal": 0.0, "lower": 0.0, **tolerance, "within": within}
        options = [f"--{k}={v!r}" for k, v in tolerance.items()]
        expected = tool(feature, os.path.join(SAMPLES, name), *args, *options,
                        status=0 if within else 1)
        assert r.to_dict()["tolerance"] == expected["tolerance"]
