"""Form values of measured points against a datum, or about an element fitted to them."""

from __future__ import annotations

from typing import Any, Dict, List, Optional, Sequence, Tuple, Type, Union

import numpy as np

from . import _core
from ._filtered import FilteredFormResult, filtered
from ._geometry import Circle, Cone, Cylinder, Element, Line, Plane, Sphere, from_core, vector3
from ._points import as_array

Datum = Union[Element, np.ndarray]


class FormResult:
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
    ) -> None:
        given = (
            feature, value, minimum, maximum, extremes, datum, reference, proof, outliers, warning
        )
        for name, v in zip(self.__slots__, given):
            object.__setattr__(self, name, v)

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("FormResult is immutable")

    def to_dict(self) -> Dict[str, Any]:
        """The result under the names of the command-line tool's JSON report: feature, value,
        min_<extremes> and max_<extremes> where kept, reference where one was fitted, datum,
        proof where the reference has one, and outliers with warning where there are any."""
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
        raise ValueError(f"{feature}: {e}") from None
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
        raise ValueError(f"{feature}: {e}") from None
    used: Datum = (
        np.array(datum_numbers) if datum_kind == "point" else from_core(datum_kind, datum_numbers)
    )
    return FormResult(feature, result, low, high, extremes, used, None, None, outliers, warning)


# The criterion of the reference element fitted when no datum is given: "zone", the minimum zone
# by which ISO 1101 defines form. It is the command-line tool's default (tools/reference.h), so
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


def straightness(
    points: Any,
    datum: Optional[Line] = None,
    *,
    reference: Optional[str] = None,
    axis: Any = None,
    max_tilt: float = 15.0,
    time_budget: float = 1.0,
    cutoff: Optional[float] = None,
) -> Union[FormResult, FilteredFormResult]:
    """Straightness about a datum line, or without one about the fitted line (the minimum-zone
    line unless `reference` names another criterion; its direction within `max_tilt` degrees of
    `axis`): the diameter of the smallest cylinder about the line that holds every point.
    minimum and maximum are twice the smallest and largest distance from the line (extremes
    "diameter").

    With `cutoff` (and no datum, reference or fit option): STRt, STRp, STRv, STRq of the profile
    filtered by the Gaussian filter of that cutoff wavelength, as a FilteredFormResult."""
    fit = {"axis": axis, "max_tilt": max_tilt, "time_budget": time_budget}
    if cutoff is not None:
        unused = {"datum": datum is None, "reference": reference is None}
        unused.update({k: not _steers(k, v) for k, v in fit.items()})
        return filtered("straightness", points, cutoff, unused)
    return _evaluate("straightness", points, datum, (Line,), reference, fit)


def flatness(
    points: Any,
    datum: Optional[Plane] = None,
    *,
    direction: Any = None,
    reference: Optional[str] = None,
    time_budget: float = 1.0,
    cutoff: Optional[float] = None,
) -> Union[FormResult, FilteredFormResult]:
    """Flatness: the width of the zone between two planes parallel to the datum plane that
    holds the points and the plane itself; minimum and maximum are the smallest and largest
    signed distance (positive on the normal's side; extremes "deviation").

    With `direction` instead of a datum: the narrowest zone between planes perpendicular to the
    direction; the datum is then the zone's middle plane and minimum and maximum are -value/2
    and +value/2. With neither: about the fitted plane (the minimum-zone plane unless
    `reference` names another criterion).

    With `cutoff` (and no datum, direction, reference or fit option): FLTt, FLTp, FLTv, FLTq of
    the heights filtered by the areal Gaussian filter of that cutoff wavelength, as a
    FilteredFormResult.
    """
    fit = {"time_budget": time_budget}
    if cutoff is not None:
        unused = {
            "datum": datum is None,
            "direction": direction is None,
            "reference": reference is None,
            "time_budget": not _steers("time_budget", time_budget),
        }
        return filtered("flatness", points, cutoff, unused)
    return _evaluate("flatness", points, datum, (Plane,), reference, fit, direction=direction)


class Section:
    """One profile of points measured as several along an axis (roundness with `sections`).

    Attributes:
        height: the mean height of its points along the axis (x*dx + y*dy + z*dz, the axis
            direction turned towards +z, then +y, then +x).
        low, high: the smallest and largest height of its points.
        rows: the indices of its points among the rows given (NaN rows belong to none).
        roundness: its roundness, a FormResult as roundness() gives for one profile.
    """

    __slots__ = ("height", "low", "high", "rows", "roundness")

    def __init__(
        self, height: float, low: float, high: float, rows: np.ndarray, result: FormResult
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
    rule, count = "whole", 0
    at: List[float] = []
    if isinstance(sections, str) and sections == "auto":
        rule = "auto"
    elif isinstance(sections, (int, np.integer)) and not isinstance(sections, bool):
        rule, count = "count", int(sections)
    elif sections is not None:
        try:
            at = [float(h) for h in sections]
        except (TypeError, ValueError):
            message = f"roundness: sections must be {_SPLIT_HOW}, not {sections!r}"
            raise TypeError(message) from None
        rule = "at"
    try:
        return _core.split_rows(points, kind, numbers, rule, count, at)[3]
    except ValueError as e:
        if sections is None:  # no axis to measure the spread by: the evaluation says why
            return []
        raise ValueError(f"roundness: {e}") from None


def roundness(
    points: Any,
    datum: Union[Circle, Line, None] = None,
    *,
    direction: Any = None,
    reference: Optional[str] = None,
    time_budget: float = 1.0,
    sections: Union[str, int, Sequence[float], None] = None,
) -> Any:
    """Roundness: the width of the ring about an axis that holds the points; only a point's
    distance from the axis counts.

    The points must be one profile: they may spread along the axis (the datum's, the one along
    `direction`, or their own: their least-squares circle's, or their least-squares cylinder's
    when they are not one profile) by at most 1 % of their mean distance from it; otherwise
    ValueError names `sections`. With `sections` they are split (vantor/sections.h): "auto" cuts
    where consecutive heights lie more than 1 % of the radius apart, a number N at the N-1
    widest such gaps, a list of heights at those heights (each in such a gap): never within a
    profile. Each section must be one profile; the result is a list of Section by increasing
    height, each with its roundness as below (max(s, key=lambda s: s.roundness.value) is the
    largest).

    - datum a Circle: about the circle's axis, the radial deviations from its radius (the
      evaluation keeps no minimum and maximum).
    - datum a Line: about the line as axis; minimum and maximum are the smallest and largest
      distance from it (extremes "radius").
    - no datum: about the axis of the circle fitted along `direction` (the circle's normal is
      the direction as given), or without one in the least-squares plane of the points: the
      minimum-zone circle unless `reference` names another criterion. The circle becomes the
      datum; minimum and maximum as for a line.
    """
    fit = {"time_budget": time_budget}
    try:
        array = as_array(points)
    except ValueError as e:
        raise ValueError(f"roundness: {e}") from None
    split = _split(array, datum, direction, sections)
    if sections is None:
        if split and split[0][4] is not None:
            why = split[0][4]
            raise ValueError(f"roundness: {why}: split them into profiles with {_SPLIT_HOW}")
        return _evaluate(
            "roundness", array, datum, (Circle, Line), reference, fit, direction=direction
        )
    result = []
    for rows, height, low, high, refusal in split:
        if refusal is not None:
            raise ValueError(f"roundness: {refusal}: cut it with {_SPLIT_HOW}")
        value = _evaluate(
            "roundness", array[rows], datum, (Circle, Line), reference, fit, direction=direction
        )
        result.append(Section(height, low, high, rows, value))
    return result


def sphericity(
    points: Any,
    datum: Optional[Sphere] = None,
    *,
    centre: Any = None,
    reference: Optional[str] = None,
    time_budget: float = 1.0,
) -> FormResult:
    """Sphericity: the spread of the points' distances from the datum sphere's centre, measured
    as radial deviations from its radius (no minimum and maximum kept), or from `centre`, when
    minimum and maximum are the smallest and largest distance (extremes "radius"). With
    neither: about the fitted sphere (the minimum-zone sphere unless `reference` names another
    criterion)."""
    fit = {"time_budget": time_budget}
    return _evaluate("sphericity", points, datum, (Sphere,), reference, fit, centre=centre)


def cylindricity(
    points: Any,
    datum: Optional[Cylinder] = None,
    *,
    reference: Optional[str] = None,
    axis: Any = None,
    max_tilt: float = 15.0,
    time_budget: float = 1.0,
) -> FormResult:
    """Cylindricity: about a datum cylinder, the largest distance of a point from its surface
    (no minimum and maximum kept); without one, about the fitted cylinder (the minimum-zone
    cylinder unless `reference` names another criterion; its axis within `max_tilt` degrees of
    `axis`), the largest minus the smallest signed distance (which the points straddle)."""
    fit = {"axis": axis, "max_tilt": max_tilt, "time_budget": time_budget}
    return _evaluate("cylindricity", points, datum, (Cylinder,), reference, fit)


def conicity(
    points: Any,
    datum: Union[Cone, Line, None] = None,
    *,
    reference: Optional[str] = None,
    axis: Any = None,
    max_tilt: float = 15.0,
    time_budget: float = 1.0,
) -> FormResult:
    """Conicity: how far the points lie from a cone; minimum and maximum are the smallest and
    largest deviation (extremes "deviation").

    - datum a Cone: the signed distances from its surface (positive outside). The value is the
      maximum when every point lies outside, minus the minimum when every point lies inside,
      otherwise their difference.
    - datum a Line: the cone is fitted about the line as axis, by a least-squares line through
      the radial profile (axial position, distance from the axis); the value is the spread of
      the radial residuals and the fitted cone is the datum.
    - no datum: about the fitted cone (the minimum-zone cone unless `reference` names another
      criterion), its axis within `max_tilt` degrees of `axis` (an approximate direction, three
      numbers, unlike a datum Line, which the cone is fitted about).
    """
    fit = {"axis": axis, "max_tilt": max_tilt, "time_budget": time_budget}
    return _evaluate("conicity", points, datum, (Cone, Line), reference, fit)
