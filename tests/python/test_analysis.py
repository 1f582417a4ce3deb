# SPDX-License-Identifier: Apache-2.0
"""roundness_analysis: the harmonics and parameters of generated profiles of known form, and the
program's report of the same points."""

import numpy as np
import pytest

import vantor

RADIUS = 10.0
# A 3-lobed form with a smaller 20-lobed ripple on it, centred at CENTRE in the plane z = 2.
LOBES = {3: 0.002, 20: 0.0005}
CENTRE = np.array([5.0, -3.0, 2.0])


def profile(angles, scale=1.0):
    """The profile at these angles (from +x towards +y), with its deviations from the circle;
    `scale` multiplies the lobes."""
    deviations = sum(scale * a * np.cos(k * angles) for k, a in LOBES.items())
    r = RADIUS + deviations
    points = CENTRE + np.stack([r * np.cos(angles), r * np.sin(angles), 0 * angles], axis=1)
    return points, deviations


EQUAL = np.arange(720) * (2 * np.pi / 720)


def transmission(k, cutoff):
    """The Gaussian profile filter's transmission of harmonic k."""
    return np.exp(-np.log(2) * (k / cutoff) ** 2)


@pytest.mark.parametrize("cutoff", [None, 15.0])
def test_finds_the_lobes_and_their_parameters(cutoff):
    points, _ = profile(EQUAL)
    r = vantor.roundness_analysis(points, filter_upr=cutoff, reference="gauss", harmonics=3)
    # The spectrum is the unfiltered profile's: the lobes at their amplitudes. Angles start at
    # +y for an axis along z, so cos(3 t) has the phase 3 * 90 degrees, -90.
    assert [h["upr"] for h in r.harmonics[:2]] == [3, 20]
    for h in r.harmonics[:2]:
        assert h["amplitude"] == pytest.approx(LOBES[h["upr"]], rel=1e-9)
    assert r.harmonics[0]["phase_deg"] == pytest.approx(-90.0, abs=1e-6)
    assert r.harmonics[2]["amplitude"] < 1e-12
    # About the least-squares circle (the centre, RADIUS) the deviations are the lobes, each
    # passed by the filter at its transmission.
    passed = sum(
        a * (1.0 if cutoff is None else transmission(k, cutoff)) * np.cos(k * EQUAL)
        for k, a in LOBES.items()
    )
    expected = {
        "ronp": passed.max(),
        "ronv": -passed.min(),
        "ront": np.ptp(passed),
        "ronq": np.sqrt(np.mean(passed**2)),
    }
    for name, value in expected.items():
        assert getattr(r, name) == pytest.approx(value, rel=1e-6), name
    assert r.value == r.ront and r.filter_upr == cutoff and r.reference == "gauss"
    np.testing.assert_allclose(r.datum.centre, CENTRE, atol=1e-9)
    assert r.datum.radius == pytest.approx(RADIUS, abs=1e-9)
    assert r.resampled is None and r.eccentricity is None and r.tolerance is None


def test_unfiltered_about_the_default_reference_is_the_roundness():
    points, _ = profile(EQUAL)
    r = vantor.roundness_analysis(points)
    assert r.reference == vantor.DEFAULT_REFERENCE and r.harmonics is None
    assert r.value == pytest.approx(vantor.roundness(points).value, rel=1e-9)


def test_eccentricity_from_a_given_axis():
    points, _ = profile(EQUAL)
    off = vantor.Circle(CENTRE - [0, 0.01, 0], (0, 0, 2), RADIUS)
    r = vantor.roundness_analysis(points, off, reference="gauss")
    assert r.eccentricity["distance"] == pytest.approx(0.01, rel=1e-6)
    np.testing.assert_allclose(r.eccentricity["direction"], [0, 1, 0], atol=1e-6)
    # About the circle itself, unfiltered: the measured points' distances from its centre.
    about = vantor.roundness_analysis(points, off)
    assert about.reference == "given circle" and about.eccentricity is None
    deviations = np.linalg.norm(points - off.centre, axis=1) - RADIUS
    assert about.value == pytest.approx(np.ptp(deviations), rel=1e-9)
    assert about.ronp == pytest.approx(deviations.max(), rel=1e-9)


# The same points through the program and through Python, and whether the analysis resamples
# them: equal angles about their centre are not resampled; random angles, or angles about an
# axis off the centre, are.
AS_THE_PROGRAM = [
    ("equal", ["--filter", "15", "--harmonics", "4"], {"filter_upr": 15, "harmonics": 4}, False),
    ("random", ["--reference", "zone", "--harmonics", "2"], {"reference": "zone", "harmonics": 2},
     True),
    ("equal", ["--line", "5,-3.001,0,0,0,1", "--filter", "none"],
     {"datum": vantor.Line((5, -3.001, 0), (0, 0, 1))}, True),
]


@pytest.mark.parametrize("angles,args,keywords,resampled", AS_THE_PROGRAM)
def test_equals_the_program(tool, tmp_path, angles, args, keywords, resampled):
    t = EQUAL if angles == "equal" else np.sort(np.random.default_rng(4).uniform(0, 2 * np.pi, 720))
    points, _ = profile(t)
    path = str(tmp_path / "profile.txt")
    np.savetxt(path, points, fmt="%.17g")
    expected = tool("roundness", path, *args)
    for key in ("file", "points", "unit", "direction_from"):
        expected.pop(key, None)
    r = vantor.roundness_analysis(points, **keywords)
    assert r.to_dict() == expected
    assert (r.resampled is not None) == resampled


def test_sections_are_analysed_each():
    low, _ = profile(EQUAL)
    high, _ = profile(EQUAL, scale=2.0)
    points = np.concatenate([low, high + [0, 0, 20]])
    with pytest.raises(ValueError, match="more than a profile may.*sections='auto'"):
        vantor.roundness_analysis(points)
    limit = vantor.roundness_analysis(low).value * 1.5  # the low one within, the high one not
    sections = vantor.roundness_analysis(points, sections="auto", harmonics=1, upper=limit)
    assert [s.height for s in sections] == pytest.approx([2, 22])
    for s, scale, within in zip(sections, (1, 2), (True, False)):
        assert isinstance(s.roundness, vantor.RoundnessAnalysisResult)
        assert s.roundness.harmonics[0]["upr"] == 3
        assert s.roundness.harmonics[0]["amplitude"] == pytest.approx(scale * LOBES[3], rel=1e-9)
        assert s.roundness.within is within


def test_failures():
    points, _ = profile(EQUAL)
    half, _ = profile(EQUAL[:360])
    calls = [
        (lambda: vantor.roundness_analysis(half), ValueError, "^roundness: the points do not surround"),
        (lambda: vantor.roundness_analysis(points, filter_upr=0), ValueError, "filter_upr"),
        (lambda: vantor.roundness_analysis(points, harmonics=0), ValueError, "harmonics"),
        (lambda: vantor.roundness_analysis(points, harmonics=1.5), TypeError, "harmonics"),
        (lambda: vantor.roundness_analysis(points, reference="best"), ValueError, "criterion"),
        (lambda: vantor.roundness_analysis(points[:, :2]), ValueError, r"^roundness: points"),
        (
            lambda: vantor.roundness_analysis(points, vantor.Plane((0, 0, 0), (0, 0, 1))),
            TypeError,
            "Circle or Line, not Plane",
        ),
        (
            lambda: vantor.roundness_analysis(points, direction=(0, 0, 0)),
            ValueError,
            "non-zero",
        ),
    ]
    for call, error, message in calls:
        with pytest.raises(error, match=message):
            call()
