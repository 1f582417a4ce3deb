# SPDX-License-Identifier: Apache-2.0
"""The roundness analysis: a profile filtered, measured about the four reference circles and
taken apart into harmonics, as the command-line tool's roundness command reports it with
--filter, --reference and --harmonics."""

from __future__ import annotations

import copy
from typing import Any, Dict, List, Optional, Sequence, Union

import numpy as np

from . import _core
from ._errors import prefixed
from ._forms import Section, by_profile
from ._geometry import Circle, Line, from_core, vector3
from ._points import as_array
from ._tolerance import Judged, judged, tolerance_of


# What every analysis reports, before its datum.
_ALWAYS = ("feature", "value", "reference", "filter_upr", "ront", "ronp", "ronv", "ronq")


class RoundnessAnalysisResult(Judged):
    """The roundness analysis of one profile, under the names of the tool's JSON report.

    Attributes:
        feature: "roundness".
        value: RONt, the same as `ront`.
        reference: the reference circle the parameters are measured about: a criterion name
            ("zone"), "given circle" or "circle about the given axis".
        filter_upr: the Gaussian filter's cutoff in undulations per revolution (UPR), or None
            for the unfiltered profile.
        ront, ronp, ronv, ronq: peak to valley, the largest (outward) deviation, minus the
            smallest, and the root mean square of the deviations from the reference circle.
        datum: the reference circle (a Circle in the plane of the profile).
        eccentricity: with a `reference` criterion and a datum Circle or Line, the dict of
            "distance" (of the reference circle's centre from the datum's axis) and
            "direction" (the unit direction towards it as [x, y, z]; None when the distance is
            0); else None.
        outliers: the measured points standing far outside the rest about their least-squares
            circle (FitResult.outliers' rule), with `warning` saying so when there are any.
        warning: the warning about outliers, or None.
        resampled: when the points lay at unequal angles and were resampled at equal ones, the
            dict of "points" (how many) and "upr_limit" (the highest harmonic reported); else
            None.
        harmonics: with `harmonics` K, the K largest harmonics of 2 UPR and more of the
            unfiltered profile in falling amplitude, each a dict of "upr", "amplitude" (half the
            harmonic's peak to valley) and "phase_deg" (degrees, -180 to 180, in the library's
            polar frame: vantor/roundness_analysis.h); else None.
        tolerance, within: the verdict when `upper` was given, as FormResult has them.
    """

    __slots__ = (
        "feature",
        "value",
        "reference",
        "filter_upr",
        "ront",
        "ronp",
        "ronv",
        "ronq",
        "datum",
        "eccentricity",
        "outliers",
        "warning",
        "resampled",
        "harmonics",
        "tolerance",
    )

    feature: str
    value: float
    reference: str
    filter_upr: Optional[float]
    ront: float
    ronp: float
    ronv: float
    ronq: float
    datum: Circle
    eccentricity: Optional[Dict[str, Any]]
    outliers: int
    warning: Optional[str]
    resampled: Optional[Dict[str, int]]
    harmonics: Optional[List[Dict[str, Any]]]
    tolerance: Optional[Dict[str, Any]]

    def __init__(
        self, report: Dict[str, Any], datum: Circle, tolerance: Optional[Dict[str, Any]] = None
    ) -> None:
        values = {**dict.fromkeys(self.__slots__), "outliers": 0, **report}
        values.update(datum=datum, tolerance=tolerance)
        for name in self.__slots__:
            object.__setattr__(self, name, values[name])

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("RoundnessAnalysisResult is immutable")

    def to_dict(self) -> Dict[str, Any]:
        """The result as the tool's JSON report gives it (without the file's name and number of
        points): filter_upr always, eccentricity, outliers, warning, resampled, harmonics and
        tolerance where there are any."""
        out: Dict[str, Any] = {name: getattr(self, name) for name in _ALWAYS}
        out["datum"] = self.datum.to_dict()
        for name in ("eccentricity", "outliers", "warning", "resampled", "harmonics", "tolerance"):
            value = getattr(self, name)
            if value is not None and not (name == "outliers" and value == 0):
                out[name] = copy.deepcopy(value)
        return out

    def __repr__(self) -> str:
        shown = ["feature", "value", "reference", "filter_upr", "ronp", "ronv", "ronq"]
        parts = [f"{name}={getattr(self, name)!r}" for name in shown]
        parts.append(f"datum={self.datum!r}")
        for name in ("eccentricity", "resampled", "harmonics"):
            if getattr(self, name) is not None:
                parts.append(f"{name}={getattr(self, name)!r}")
        if self.outliers > 0:
            parts.append(f"outliers={self.outliers!r}")
        if self.tolerance is not None:
            parts.append(f"within={self.within!r}")
        return f"RoundnessAnalysisResult({', '.join(parts)})"


def _positive(name: str, value: Any, integral: bool, how: str) -> None:
    kinds = (int, np.integer) if integral else (int, float, np.integer, np.floating)
    if isinstance(value, bool) or not isinstance(value, kinds):
        raise TypeError(f"roundness: {name} must be {how}, not {value!r}")
    if not value > 0:
        raise ValueError(f"roundness: {name}: expected {how}, got {value!r}")


def roundness_analysis(
    points: Any,
    datum: Union[Circle, Line, None] = None,
    *,
    direction: Any = None,
    filter_upr: Optional[float] = None,
    reference: Optional[str] = None,
    harmonics: Optional[int] = None,
    sections: Union[str, int, Sequence[float], None] = None,
    upper: Optional[float] = None,
    nominal: Optional[float] = None,
    lower: Optional[float] = None,
) -> Union[RoundnessAnalysisResult, List[Section]]:
    """The roundness analysis of a profile (vantor::roundness_analysis): RONt, RONp, RONv and
    RONq of the profile, filtered when asked, about a reference circle, and its harmonics, as
    the tool's ``vantor roundness`` reports them with --filter, --reference and --harmonics.

    The profile is each point's distance from the datum axis against its angle about it: the
    given circle's axis, the given line, or the axis of the least-squares circle fitted along
    `direction` (without one, in the least-squares plane of the points), whatever the
    reference. Points at unequal angles are resampled at equal ones (see `resampled`). The
    points must be one profile, as for roundness(), unless split with `sections`.

    Parameters
    ----------
    points : array_like, shape (N, 3)
        The measured points; rows with a NaN coordinate are left out.
    datum : Circle or Line, optional
        The circle or the axis the profile is taken about.
    direction : array_like of 3 floats, optional
        Without a datum: the normal of the least-squares circle whose axis the profile is taken
        about.
    filter_upr : float, optional
        The cutoff of the Gaussian profile filter in undulations per revolution (usually 15,
        50, 150 or 500; 50 % transmission at the cutoff). None: no filter.
    reference : str, optional
        The criterion of the reference circle fitted to the (filtered) profile: "gauss",
        "zone", "inscribed" or "circumscribed". None: the datum Circle, the circle about the
        datum Line with the profile's mean radius, or without a datum DEFAULT_REFERENCE.
    harmonics : int, optional
        Report the K largest harmonics of 2 UPR and more.
    sections : "auto", int or sequence of float, optional
        Split points measured as several profiles, as roundness() does, and analyse each.
    upper : float, optional
        The upper tolerance of RONt: it may reach nominal + upper. Gives the result (with
        `sections`, each section's) a verdict.
    nominal, lower : float, optional
        The nominal value and the lower tolerance (RONt must reach nominal + lower); 0 unless
        given. Need `upper`.

    Returns
    -------
    RoundnessAnalysisResult or list of Section
        The analysis; with `sections`, a Section for each by increasing height, whose
        `roundness` is its analysis.

    Raises
    ------
    ValueError
        For bad points, points (or a section) that are not one profile, an unknown criterion,
        a filter_upr or harmonics that is not positive, a failed analysis (with the reason, such
        as a gap between the points' angles that leaves the profile open), and upper below
        lower.
    TypeError
        For a datum that is not a Circle or Line, both a datum and a direction, options of the
        wrong type, and `nominal` or `lower` without `upper`.
    """
    tolerance = tolerance_of("roundness", upper, nominal, lower)
    if datum is not None and direction is not None:
        raise TypeError("roundness takes at most one of datum or direction")
    if datum is not None and not isinstance(datum, (Circle, Line)):
        raise TypeError(f"roundness: datum must be a Circle or Line, not {type(datum).__name__}")
    if filter_upr is not None:
        _positive("filter_upr", filter_upr, False, "a cutoff in UPR (a positive number, e.g. 50)")
    if harmonics is not None:
        _positive("harmonics", harmonics, True, "a positive whole number")
    if reference is not None and not isinstance(reference, str):
        raise TypeError(f"roundness: reference must be a criterion name, not {reference!r}")
    kind, numbers = "", []
    if datum is not None:
        kind, numbers = datum.kind, list(datum._numbers)
    elif direction is not None:
        kind, numbers = "direction", vector3("direction", direction)
        if not any(numbers):
            raise ValueError("roundness: direction: must have a non-zero length")
    try:
        array = as_array(points)
    except ValueError as e:
        raise prefixed("roundness", e) from None

    def analyse(profile: np.ndarray) -> RoundnessAnalysisResult:
        cutoff = 0.0 if filter_upr is None else float(filter_upr)
        report, circle = _core.roundness_analysis(
            profile, kind, numbers, cutoff, reference, int(harmonics or 0)
        )
        result = RoundnessAnalysisResult(report, from_core("circle", circle))
        return judged(result, tolerance)

    return by_profile(array, datum, direction, sections, analyse)
