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
    for key in ("file", "points", "direction_from"):
        expected.pop(key, None)
    result = evaluate(sample(name), feature, kind, text)
    if result.reference is None:  # a given datum, which the program names
        expected.pop("reference", None)
    assert result.to_dict() == expected


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
    "integers": (lambda p: np.rint(p).astype(np.int32), lambda p: np.rint(p)),
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


@pytest.mark.parametrize(
    "name,feature,cutoff", [("edge.txt", "straightness", 25.0), ("face.txt", "flatness", 25.0)]
)
def test_filtered_equals_the_program(tool, name, feature, cutoff):
    expected = tool(feature, os.path.join(SAMPLES, name), "--cutoff", str(cutoff))
    for key in ("file", "points", "reference", "deviation_direction", "across"):
        expected.pop(key, None)
    result = getattr(vantor, feature)(sample(name), cutoff=cutoff)
    assert isinstance(result, vantor.FilteredFormResult)
    assert result.to_dict() == expected


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
