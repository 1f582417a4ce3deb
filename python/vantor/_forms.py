# SPDX-License-Identifier: Apache-2.0
"""Form values of measured points against a datum, or about an element fitted to them."""

from __future__ import annotations

from typing import Any, Callable, Dict, List, Optional, Sequence, Tuple, Type, Union

import numpy as np

from . import _core
from ._errors import EvaluationError, prefixed
from ._filtered import FilteredFormResult, filtered
from ._geometry import Circle, Cone, Cylinder, Element, Line, Plane, Sphere, from_core, vector3
from ._points import as_array
from ._tolerance import Judged, judged, tolerance_of

Datum = Union[Element, np.ndarray]


class FormResult(Judged):
    """A form value with what the evaluation measured it against.

    Attributes:
        feature: "straightness", "flatness", "roundness", "sphericity", "cylindricity" or
            "conicity".
        value: the form value.
        minimum, maximum: the smallest and largest of the quantity that `extremes` names
            ("deviation", "diameter" or "radius"); None, like `extremes`, where the
            evaluation keeps none.
        datum: what the value was measured against: the element given or the one the
            evaluation fitted, or for sphericity about a centre that centre (an array).
        reference: the name of the reference element fitted to the points and measured
            against ("minimum-zone plane"); None when a datum was given.
        proof: the proof of a minimax reference's fit, as FitResult.proof gives it: a dict of
            "objective", "bound", "gap", "tolerance" and "proved"; None for a least-squares
            reference and when a datum was given.
        outliers: the number of points that stand far outside the rest about the datum, by
            FitResult.outliers' rule. With any, `warning` says so: the value measures them
            rather than the surface.
        warning: the warning about outliers, or None.
        tolerance: the verdict when `upper` was given: the command-line tool's JSON
            "tolerance", a dict of "nominal", "lower", "upper" and "within"; else None.
        within: tolerance["within"]: whether nominal + lower <= value <= nominal + upper;
            None without a tolerance.
    """

    __slots__ = (
        "feature",
        "value",
        "minimum",
        "maximum",
        "extremes",
        "datum",
        "reference",
        "proof",
        "outliers",
        "warning",
        "tolerance",
    )

    feature: str
    value: float
    minimum: Optional[float]
    maximum: Optional[float]
    extremes: Optional[str]
    datum: Datum
    reference: Optional[str]
    proof: Optional[Dict[str, Any]]
    outliers: int
    warning: Optional[str]
    tolerance: Optional[Dict[str, Any]]

    def __init__(
        self,
        feature: str,
        value: float,
        minimum: Optional[float],
        maximum: Optional[float],
        extremes: Optional[str],
        datum: Datum,
        reference: Optional[str] = None,
        proof: Optional[Dict[str, Any]] = None,
        outliers: int = 0,
        warning: Optional[str] = None,
        tolerance: Optional[Dict[str, Any]] = None,
    ) -> None:
        given = (
            feature,
            value,
            minimum,
            maximum,
            extremes,
            datum,
            reference,
            proof,
            outliers,
            warning,
            tolerance,
        )
        for name, v in zip(self.__slots__, given):
            object.__setattr__(self, name, v)

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("FormResult is immutable")

    def to_dict(self) -> Dict[str, Any]:
        """The result under the names of the command-line tool's JSON report: feature, value,
        min_<extremes> and max_<extremes> where kept, reference where one was fitted, datum,
        proof where the reference has one, outliers with warning where there are any, and
        tolerance where one was given."""
        out: Dict[str, Any] = {"feature": self.feature, "value": self.value}
        if self.extremes is not None:
            out["min_" + self.extremes] = self.minimum
            out["max_" + self.extremes] = self.maximum
        if self.reference is not None:
            out["reference"] = self.reference
        datum = self.datum
        out["datum"] = (
            datum.to_dict() if isinstance(datum, Element) else {"centre": datum.tolist()}
        )
        if self.proof is not None:
            out["proof"] = dict(self.proof)
        if self.outliers > 0:
            out["outliers"] = self.outliers
            out["warning"] = self.warning
        if self.tolerance is not None:
            out["tolerance"] = dict(self.tolerance)
        return out

    def __repr__(self) -> str:
        parts = [f"feature={self.feature!r}", f"value={self.value!r}"]
        if self.extremes is not None:
            parts += [f"minimum={self.minimum!r}", f"maximum={self.maximum!r}"]
            parts.append(f"extremes={self.extremes!r}")
        if self.reference is not None:
            parts.append(f"reference={self.reference!r}")
        datum = self.datum
        shown = repr(datum) if isinstance(datum, Element) else repr(datum.tolist())
        parts.append(f"datum={shown}")
        if self.proof is not None:
            parts.append(f"proof={self.proof!r}")
        if self.outliers > 0:
            parts.append(f"outliers={self.outliers!r}")
        if self.tolerance is not None:
            parts.append(f"within={self.within!r}")
        return f"FormResult({', '.join(parts)})"


# The keyword alternatives to a datum element, and the kind the core knows them by.
_ALTERNATIVES = {"direction": "direction", "centre": "point"}

# The options of the reference element's fit without a datum, with their defaults (vantor.fit's).
_FIT_DEFAULTS: Dict[str, Any] = {"axis": None, "max_tilt": 15.0, "time_budget": 1.0}


def _steers(name: str, value: Any) -> bool:
    """Whether a fit option holds other than its default, and so would steer a fit."""
    default = _FIT_DEFAULTS[name]
    if default is None:
        return value is not None
    return not (isinstance(value, (int, float)) and value == default)


def _about_reference(
    feature: str,
    points: Any,
    reference: Optional[str],
    direction: Any = None,
    fit: Optional[Dict[str, Any]] = None,
) -> FormResult:
    """The form value about the reference element fitted to the points, under the fit options
    given (the others at their defaults)."""
    criterion = DEFAULT_REFERENCE if reference is None else reference
    if not isinstance(criterion, str):
        raise TypeError(f"{feature}: reference must be a criterion name, not {criterion!r}")
    numbers = None if direction is None else vector3("direction", direction)
    options = {**_FIT_DEFAULTS, **(fit or {})}
    axis = None if options["axis"] is None else vector3("axis", options["axis"])
    try:
        (
            result,
            low,
            high,
            extremes,
            kind,
            datum_numbers,
            name,
            proof,
            outliers,
            warning,
        ) = _core.reference_form(
            feature,
            as_array(points),
            criterion,
            numbers,
            axis,
            float(options["max_tilt"]),
            float(options["time_budget"]),
        )
    except ValueError as e:
        raise prefixed(feature, e) from None
    datum = from_core(kind, datum_numbers)
    return FormResult(feature, result, low, high, extremes, datum, name, proof, outliers, warning)


def _evaluate(
    feature: str,
    points: Any,
    datum: Optional[Element],
    types: Tuple[Type[Element], ...],
    reference: Optional[str],
    fit: Dict[str, Any],
    **alternatives: Any,
) -> FormResult:
    given = [(k, v) for k, v in alternatives.items() if v is not None]
    if datum is not None:
        given.insert(0, ("datum", datum))
    if len(given) > 1:
        names = " or ".join(["datum"] + list(alternatives))
        raise TypeError(f"{feature} takes at most one of {names}")
    if not given:
        return _about_reference(feature, points, reference, fit=fit)
    name, value = given[0]
    if feature == "roundness" and name == "direction":
        return _about_reference(feature, points, reference, value, fit)
    if reference is not None:
        raise TypeError(f"{feature}: reference names the element fitted without a datum, not "
                        f"one to use with {name}")
    steering = [k for k, v in fit.items() if _steers(k, v)]
    if steering:
        raise TypeError(f"{feature}: {steering[0]} steers the element fitted without a datum, "
                        f"not one to use with {name}")
    if name == "datum":
        if not isinstance(value, types):
            expected = " or ".join(t.__name__ for t in types)
            raise TypeError(f"{feature}: datum must be a {expected}, not {type(value).__name__}")
        kind, numbers = value.kind, list(value._numbers)
    else:
        kind, numbers = _ALTERNATIVES[name], vector3(name, value)
    try:
        result, low, high, extremes, datum_kind, datum_numbers, outliers, warning = _core.form(
            feature, as_array(points), kind, numbers
        )
    except ValueError as e:
        raise prefixed(feature, e) from None
    used: Datum = (
        np.array(datum_numbers) if datum_kind == "point" else from_core(datum_kind, datum_numbers)
    )
    return FormResult(feature, result, low, high, extremes, used, None, None, outliers, warning)


# The criterion of the reference element fitted when no datum is given: "zone", the minimum zone
# by which ISO 1101 defines form. It is the command-line tool's default (front/reference.h), so
# that both give the same form value.
DEFAULT_REFERENCE: str = _core.default_reference

# Every evaluation takes `points`: an (N, 3) array-like of floats (float32 or any strides
# accepted, converted in one pass). Rows with a NaN coordinate are left out. Without a datum the
# value is measured about the reference element fitted to the points: by default the minimum-zone
# element (DEFAULT_REFERENCE), or the one of `reference` ("gauss", "zone", "inscribed" or
# "circumscribed": lines, planes and cones have gauss and zone, circles, spheres and cylinders
# all four), named in the result's `reference` and given as its datum. Failures raise
# ValueError with the reason (for a fit, the library's); a wrong datum raises TypeError.
#
# About a fitted element the value is the fit's deviation, the largest minus the smallest
# signed distance from the element, with those two as minimum and maximum (extremes
# "deviation"); for straightness twice the largest distance from the line, with twice the
# smallest and largest distance (extremes "diameter"); for roundness the largest minus the
# smallest distance from the fitted circle's axis, with those two (extremes "radius").
#
# The fit of that element takes vantor.fit's options: `time_budget` (the seconds a minimax fit may
# spend proving its optimum) and, for a line, cylinder or cone, `axis` (the approximate axis
# direction, three numbers) and `max_tilt` (degrees). They steer only that fit: given with a
# datum, other than their defaults, they raise TypeError. The result's `proof` is that of a
# minimax reference's fit.

#
# Every evaluation takes a tolerance as the tool's --upper, --nominal and --lower do: with
# `upper` the result's `tolerance` holds the verdict (see vantor._tolerance.judged), otherwise
# it is None; `nominal` and `lower` need `upper`.


def straightness(
    points: Any,
    datum: Optional[Line] = None,
    *,
    reference: Optional[str] = None,
    axis: Any = None,
    max_tilt: float = 15.0,
    time_budget: float = 1.0,
    cutoff: Optional[float] = None,
    upper: Optional[float] = None,
    nominal: Optional[float] = None,
    lower: Optional[float] = None,
) -> Union[FormResult, FilteredFormResult]:
    """Straightness: the diameter of the smallest cylinder about a line that holds every point.

    Parameters
    ----------
    points : array_like, shape (N, 3)
        The measured points; rows with a NaN coordinate are left out.
    datum : Line, optional
        The line to measure about. Without one, the line fitted to the points.
    reference : str, optional
        The criterion of the fitted line: "zone" (the default, DEFAULT_REFERENCE) or "gauss".
    axis : array_like of 3 floats, optional
        The approximate direction of the fitted line.
    max_tilt : float, default 15.0
        How far (degrees) the fitted line may tilt from `axis`.
    time_budget : float, default 1.0
        The seconds a minimax fit may spend proving its optimum.
    cutoff : float, optional
        Evaluate the profile filtered by the Gaussian filter of this cutoff wavelength
        (coordinate units) about the least-squares line of the filtered points; takes no datum,
        reference or fit option.
    upper : float, optional
        The upper tolerance: the value may reach nominal + upper. Gives the result a verdict.
    nominal, lower : float, optional
        The nominal value and the lower tolerance (the value must reach nominal + lower); 0
        unless given. Need `upper`.

    Returns
    -------
    FormResult or FilteredFormResult
        A FormResult whose minimum and maximum are twice the smallest and largest distance from
        the line (extremes "diameter"); with `cutoff`, a FilteredFormResult of STRt, STRp, STRv
        and STRq.

    Raises
    ------
    ValueError
        For bad points, a failed fit or evaluation (with the reason), and upper below lower.
    TypeError
        For a datum that is not a Line, fit options or `cutoff` given with a datum, and
        `nominal` or `lower` without `upper`.
    """
    tolerance = tolerance_of("straightness", upper, nominal, lower)
    fit = {"axis": axis, "max_tilt": max_tilt, "time_budget": time_budget}
    if cutoff is not None:
        unused = {"datum": datum is None, "reference": reference is None}
        unused.update({k: not _steers(k, v) for k, v in fit.items()})
        return judged(filtered("straightness", points, cutoff, unused), tolerance)
    result = _evaluate("straightness", points, datum, (Line,), reference, fit)
    return judged(result, tolerance)


def flatness(
    points: Any,
    datum: Optional[Plane] = None,
    *,
    direction: Any = None,
    reference: Optional[str] = None,
    time_budget: float = 1.0,
    cutoff: Optional[float] = None,
    upper: Optional[float] = None,
    nominal: Optional[float] = None,
    lower: Optional[float] = None,
) -> Union[FormResult, FilteredFormResult]:
    """Flatness: the width of the zone between two planes parallel to a plane that holds the
    points.

    Parameters
    ----------
    points : array_like, shape (N, 3)
        The measured points; rows with a NaN coordinate are left out.
    datum : Plane, optional
        The plane to measure against; minimum and maximum are the smallest and largest signed
        distance (positive on the normal's side).
    direction : array_like of 3 floats, optional
        Instead of a datum: the narrowest zone between planes perpendicular to it; the datum is
        then the zone's middle plane, minimum and maximum -value/2 and +value/2.
    reference : str, optional
        Without a datum or direction, the criterion of the plane fitted to the points: "zone"
        (the default, DEFAULT_REFERENCE) or "gauss".
    time_budget : float, default 1.0
        The seconds a minimax fit may spend proving its optimum.
    cutoff : float, optional
        Evaluate the heights filtered by the areal Gaussian filter of this cutoff wavelength
        (coordinate units) about the least-squares plane of the filtered points; takes no datum,
        direction, reference or fit option.
    upper : float, optional
        The upper tolerance: the value may reach nominal + upper. Gives the result a verdict.
    nominal, lower : float, optional
        The nominal value and the lower tolerance (the value must reach nominal + lower); 0
        unless given. Need `upper`.

    Returns
    -------
    FormResult or FilteredFormResult
        A FormResult with extremes "deviation"; with `cutoff`, a FilteredFormResult of FLTt,
        FLTp, FLTv and FLTq.

    Raises
    ------
    ValueError
        For bad points, a zero direction, a failed fit or evaluation (with the reason), and
        upper below lower.
    TypeError
        For a datum that is not a Plane, both a datum and a direction, a fit option or `cutoff`
        with either, and `nominal` or `lower` without `upper`.
    """
    tolerance = tolerance_of("flatness", upper, nominal, lower)
    fit = {"time_budget": time_budget}
    if cutoff is not None:
        unused = {
            "datum": datum is None,
            "direction": direction is None,
            "reference": reference is None,
            "time_budget": not _steers("time_budget", time_budget),
        }
        return judged(filtered("flatness", points, cutoff, unused), tolerance)
    result = _evaluate("flatness", points, datum, (Plane,), reference, fit, direction=direction)
    return judged(result, tolerance)


class Section:
    """One profile of points measured as several along an axis (roundness with `sections`).

    Attributes:
        height: the mean height of its points along the axis (x*dx + y*dy + z*dz, the axis
            direction turned towards +z, then +y, then +x).
        low, high: the smallest and largest height of its points.
        rows: the indices of its points among the rows given (NaN rows belong to none).
        roundness: its roundness, a FormResult as roundness() gives for one profile (from
            roundness_analysis, a RoundnessAnalysisResult).
    """

    __slots__ = ("height", "low", "high", "rows", "roundness")

    def __init__(
        self, height: float, low: float, high: float, rows: np.ndarray, result: Any
    ) -> None:
        self.height = height
        self.low = low
        self.high = high
        self.rows = rows
        self.roundness = result

    def __repr__(self) -> str:
        return (
            f"Section(height={self.height!r}, points={len(self.rows)}, "
            f"roundness={self.roundness.value!r})"
        )


_SPLIT_HOW = "sections='auto', a number of sections or a list of heights to cut at"


def split_rule(what: str, sections: Any) -> Tuple[str, int, List[float]]:
    """The split rule of `sections` as the library takes it: (rule, count, heights); None is
    one section."""
    if isinstance(sections, str) and sections == "auto":
        return "auto", 0, []
    if isinstance(sections, (int, np.integer)) and not isinstance(sections, bool):
        return "count", int(sections), []
    if sections is None:
        return "whole", 0, []
    try:
        return "at", 0, [float(h) for h in sections]
    except (TypeError, ValueError):
        message = f"{what}: sections must be {_SPLIT_HOW}, not {sections!r}"
        raise TypeError(message) from None


def _split(
    points: np.ndarray, datum: Optional[Element], direction: Any, sections: Any
) -> List[Tuple[np.ndarray, float, float, float, Optional[str]]]:
    """The library's split of the rows (vantor/sections.h) along the datum's axis, the axis
    along `direction`, or the points' own."""
    kind: str = ""
    numbers: List[float] = []
    if isinstance(datum, (Circle, Line)):
        kind, numbers = datum.kind, list(datum._numbers)
    elif direction is not None:
        kind, numbers = "direction", list(vector3("direction", direction))
    rule, count, at = split_rule("roundness", sections)
    try:
        return _core.split_rows(points, kind, numbers, rule, count, at)[3]
    except ValueError as e:
        if sections is None:  # no axis to measure the spread by: the evaluation says why
            return []
        raise prefixed("roundness", e) from None




def by_profile(
    array: np.ndarray,
    datum: Optional[Element],
    direction: Any,
    sections: Any,
    evaluate: Callable[[np.ndarray], Any],
) -> Any:
    """evaluate(points) of the points as one profile, or with `sections` a Section for each
    section; points that are not one profile (or a section that is not) raise ValueError."""
    split = _split(array, datum, direction, sections)
    if sections is None:
        if split and split[0][4] is not None:
            why = split[0][4]
            raise EvaluationError(f"roundness: {why}: split them into profiles with {_SPLIT_HOW}")
        return evaluate(array)
    result = []
    for rows, height, low, high, refusal in split:
        if refusal is not None:
            raise EvaluationError(f"roundness: {refusal}: cut it with {_SPLIT_HOW}")
        result.append(Section(height, low, high, rows, evaluate(array[rows])))
    return result


def roundness(
    points: Any,
    datum: Union[Circle, Line, None] = None,
    *,
    direction: Any = None,
    reference: Optional[str] = None,
    time_budget: float = 1.0,
    sections: Union[str, int, Sequence[float], None] = None,
    upper: Optional[float] = None,
    nominal: Optional[float] = None,
    lower: Optional[float] = None,
) -> Union[FormResult, List[Section]]:
    """Roundness: the width of the ring about an axis that holds the points; only a point's
    distance from the axis counts.

    The points must be one profile: they may spread along the axis (the datum's, the one along
    `direction`, or their own: their least-squares circle's, or their least-squares cylinder's
    when they are not one profile) by at most 1 % of their mean distance from it. With
    `sections` they are split (vantor/sections.h), never within a profile. For harmonics,
    filtering and RONt, RONp, RONv, RONq see roundness_analysis.

    Parameters
    ----------
    points : array_like, shape (N, 3)
        The measured points; rows with a NaN coordinate are left out.
    datum : Circle or Line, optional
        A Circle: the radial deviations from it about its axis (no minimum and maximum kept).
        A Line: about the line as axis; minimum and maximum are the smallest and largest
        distance from it (extremes "radius").
    direction : array_like of 3 floats, optional
        Without a datum: about the axis of the circle fitted along this direction (its normal),
        by default in the least-squares plane of the points. The circle becomes the datum;
        minimum and maximum as for a Line.
    reference : str, optional
        The criterion of the fitted circle: "zone" (the default, DEFAULT_REFERENCE), "gauss",
        "inscribed" or "circumscribed".
    time_budget : float, default 1.0
        The seconds a minimax fit may spend proving its optimum.
    sections : "auto", int or sequence of float, optional
        Split points measured as several profiles: "auto" cuts where consecutive heights lie
        more than 1 % of the radius apart, N at the N-1 widest such gaps, a list of heights at
        those heights (each in such a gap).
    upper : float, optional
        The upper tolerance: the value may reach nominal + upper. Gives the result (with
        `sections`, each section's) a verdict.
    nominal, lower : float, optional
        The nominal value and the lower tolerance (the value must reach nominal + lower); 0
        unless given. Need `upper`.

    Returns
    -------
    FormResult or list of Section
        The roundness; with `sections`, a Section for each by increasing height, each with its
        roundness (max(s, key=lambda s: s.roundness.value) is the largest).

    Raises
    ------
    ValueError
        For bad points, points (or a section) that are not one profile, a split that fails, a
        failed fit or evaluation (with the reason), and upper below lower.
    TypeError
        For a wrong datum, both a datum and a direction, `reference` or a fit option with a
        datum, bad `sections`, and `nominal` or `lower` without `upper`.
    """
    tolerance = tolerance_of("roundness", upper, nominal, lower)
    fit = {"time_budget": time_budget}
    try:
        array = as_array(points)
    except ValueError as e:
        raise prefixed("roundness", e) from None

    def evaluate(profile: np.ndarray) -> FormResult:
        kinds = (Circle, Line)
        result = _evaluate("roundness", profile, datum, kinds, reference, fit, direction=direction)
        return judged(result, tolerance)

    return by_profile(array, datum, direction, sections, evaluate)


def sphericity(
    points: Any,
    datum: Optional[Sphere] = None,
    *,
    centre: Any = None,
    reference: Optional[str] = None,
    time_budget: float = 1.0,
    upper: Optional[float] = None,
    nominal: Optional[float] = None,
    lower: Optional[float] = None,
) -> FormResult:
    """Sphericity: the spread of the points' distances from a centre.

    Parameters
    ----------
    points : array_like, shape (N, 3)
        The measured points; rows with a NaN coordinate are left out.
    datum : Sphere, optional
        The radial deviations from the sphere (no minimum and maximum kept).
    centre : array_like of 3 floats, optional
        Instead of a datum: the distances from this centre; minimum and maximum are the
        smallest and largest (extremes "radius").
    reference : str, optional
        With neither, the criterion of the sphere fitted to the points: "zone" (the default,
        DEFAULT_REFERENCE), "gauss", "inscribed" or "circumscribed".
    time_budget : float, default 1.0
        The seconds a minimax fit may spend proving its optimum.
    upper : float, optional
        The upper tolerance: the value may reach nominal + upper. Gives the result a verdict.
    nominal, lower : float, optional
        The nominal value and the lower tolerance (the value must reach nominal + lower); 0
        unless given. Need `upper`.

    Returns
    -------
    FormResult

    Raises
    ------
    ValueError
        For bad points or centre, a failed fit or evaluation (with the reason), and upper below
        lower.
    TypeError
        For a datum that is not a Sphere, both a datum and a centre, `reference` or a fit option
        with either, and `nominal` or `lower` without `upper`.
    """
    tolerance = tolerance_of("sphericity", upper, nominal, lower)
    fit = {"time_budget": time_budget}
    result = _evaluate("sphericity", points, datum, (Sphere,), reference, fit, centre=centre)
    return judged(result, tolerance)


def cylindricity(
    points: Any,
    datum: Optional[Cylinder] = None,
    *,
    reference: Optional[str] = None,
    axis: Any = None,
    max_tilt: float = 15.0,
    time_budget: float = 1.0,
    upper: Optional[float] = None,
    nominal: Optional[float] = None,
    lower: Optional[float] = None,
) -> FormResult:
    """Cylindricity: how far the points lie from a cylinder.

    Parameters
    ----------
    points : array_like, shape (N, 3)
        The measured points; rows with a NaN coordinate are left out.
    datum : Cylinder, optional
        The largest distance of a point from its surface (no minimum and maximum kept).
        Without one, about the fitted cylinder: the largest minus the smallest signed distance
        (extremes "deviation").
    reference : str, optional
        The criterion of the fitted cylinder: "zone" (the default, DEFAULT_REFERENCE), "gauss",
        "inscribed" or "circumscribed".
    axis : array_like of 3 floats, optional
        The approximate axis direction of the fitted cylinder.
    max_tilt : float, default 15.0
        How far (degrees) the fitted axis may tilt from `axis`.
    time_budget : float, default 1.0
        The seconds a minimax fit may spend proving its optimum.
    upper : float, optional
        The upper tolerance: the value may reach nominal + upper. Gives the result a verdict.
    nominal, lower : float, optional
        The nominal value and the lower tolerance (the value must reach nominal + lower); 0
        unless given. Need `upper`.

    Returns
    -------
    FormResult

    Raises
    ------
    ValueError
        For bad points, a failed fit or evaluation (with the reason), and upper below lower.
    TypeError
        For a datum that is not a Cylinder, `reference` or a fit option with a datum, and
        `nominal` or `lower` without `upper`.
    """
    tolerance = tolerance_of("cylindricity", upper, nominal, lower)
    fit = {"axis": axis, "max_tilt": max_tilt, "time_budget": time_budget}
    return judged(_evaluate("cylindricity", points, datum, (Cylinder,), reference, fit), tolerance)


def conicity(
    points: Any,
    datum: Union[Cone, Line, None] = None,
    *,
    reference: Optional[str] = None,
    axis: Any = None,
    max_tilt: float = 15.0,
    time_budget: float = 1.0,
    upper: Optional[float] = None,
    nominal: Optional[float] = None,
    lower: Optional[float] = None,
) -> FormResult:
    """Conicity: how far the points lie from a cone; minimum and maximum are the smallest and
    largest deviation (extremes "deviation").

    Parameters
    ----------
    points : array_like, shape (N, 3)
        The measured points; rows with a NaN coordinate are left out.
    datum : Cone or Line, optional
        A Cone: the signed distances from its surface (positive outside); the value is the
        maximum when every point lies outside, minus the minimum when every point lies inside,
        otherwise their difference. A Line: the cone fitted about the line as axis by a
        least-squares line through the radial profile; the value is the spread of the radial
        residuals and the fitted cone is the datum.
    reference : str, optional
        Without a datum, the criterion of the cone fitted to the points: "zone" (the default,
        DEFAULT_REFERENCE) or "gauss".
    axis : array_like of 3 floats, optional
        The approximate axis direction of the fitted cone (unlike a datum Line, which the cone
        is fitted about).
    max_tilt : float, default 15.0
        How far (degrees) the fitted axis may tilt from `axis`.
    time_budget : float, default 1.0
        The seconds a minimax fit may spend proving its optimum.
    upper : float, optional
        The upper tolerance: the value may reach nominal + upper. Gives the result a verdict.
    nominal, lower : float, optional
        The nominal value and the lower tolerance (the value must reach nominal + lower); 0
        unless given. Need `upper`.

    Returns
    -------
    FormResult

    Raises
    ------
    ValueError
        For bad points, a failed fit or evaluation (with the reason), and upper below lower.
    TypeError
        For a wrong datum, `reference` or a fit option with a datum, and `nominal` or `lower`
        without `upper`.
    """
    tolerance = tolerance_of("conicity", upper, nominal, lower)
    fit = {"axis": axis, "max_tilt": max_tilt, "time_budget": time_budget}
    return judged(_evaluate("conicity", points, datum, (Cone, Line), reference, fit), tolerance)
