# SPDX-License-Identifier: Apache-2.0
"""Location tolerances of measured points about a true position or datum: position, coaxiality,
concentricity, symmetry; and the common datum axis of two coaxial features.

The definitions are the library's (vantor/location.h, ISO 1101): a zone centred on the true
position or datum, its width or diameter `value` twice the feature's largest distance from it.
A derived centre, axis or median surface is taken from least-squares elements.
"""

from __future__ import annotations

from typing import Any, Dict, List, Optional, Tuple, Type, Union, cast

import numpy as np

from . import _core
from ._errors import prefixed
from ._forms import split_rule
from ._geometry import Element, Line, Plane, from_core, vector3
from ._points import as_array

Sections = Union[str, int, List[float]]


class LocationResult:
    """A location tolerance's zone about the true position or datum.

    Attributes:
        tolerance: the function that evaluated it ("point_position", "axis_position", ...).
        value: the zone's width or diameter: 2 x deviation.
        deviation: the largest distance of the feature from its true position or datum.
        points: the valid points evaluated (for an axis those of its sections, for symmetry
            those of both faces).
        actual: where that distance is taken (an array): the measured centre (point, circle),
            the centre farthest from the true axis (axis), the farthest point (plane), the
            farthest median point (symmetry).
        centres: for an axis its derived median line, the section centres by increasing height,
            as a (k, 3) array; (0, 3) otherwise.
    """

    __slots__ = ("tolerance", "value", "deviation", "points", "actual", "centres")

    tolerance: str
    value: float
    deviation: float
    points: int
    actual: np.ndarray
    centres: np.ndarray

    def __init__(
        self,
        tolerance: str,
        value: float,
        deviation: float,
        points: int,
        actual: np.ndarray,
        centres: np.ndarray,
    ) -> None:
        given = (tolerance, value, deviation, points, actual, centres)
        for name, v in zip(self.__slots__, given):
            object.__setattr__(self, name, v)

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("LocationResult is immutable")

    def to_dict(self) -> Dict[str, Any]:
        """The result as plain values: tolerance, value, deviation, points, actual, and centres
        for an axis."""
        out: Dict[str, Any] = {
            "tolerance": self.tolerance,
            "value": self.value,
            "deviation": self.deviation,
            "points": self.points,
            "actual": self.actual.tolist(),
        }
        if len(self.centres):
            out["centres"] = self.centres.tolist()
        return out

    def __repr__(self) -> str:
        return f"LocationResult({self.tolerance}, value={self.value!r}, points={self.points})"


def _evaluate(
    tolerance: str,
    points: Any,
    datum: Any,
    expected: Type[Element],
    second: Any = None,
    sections: Optional[Sections] = None,
) -> LocationResult:
    if not isinstance(datum, expected):
        name = expected.__name__
        raise TypeError(f"{tolerance}: the datum must be a {name}, not {type(datum).__name__}")
    return _run(tolerance, points, list(datum._numbers), second, sections)


def _run(
    tolerance: str,
    points: Any,
    numbers: List[float],
    second: Any = None,
    sections: Optional[Sections] = None,
) -> LocationResult:
    rule, count, at = split_rule(tolerance, sections)
    other = None if second is None else as_array(second)
    try:
        value, deviation, n, actual, centres = _core.location(
            tolerance, as_array(points), numbers, other, rule, count, at
        )
    except ValueError as e:
        raise prefixed(tolerance, e) from None
    return LocationResult(tolerance, value, deviation, n, np.array(actual), centres)


def point_position(points: Any, true_position: Any) -> LocationResult:
    """Position of a sphere's centre: the centre of the points' least-squares sphere in a
    spherical zone about `true_position` (three numbers); value = 2 x its distance from it.
    Raises EvaluationError when the evaluation fails (fewer than 4 valid points, ...)."""
    return _run("point_position", points, vector3("true_position", true_position))


def circle_position(points: Any, true_axis: Line) -> LocationResult:
    """Position of a hole or pin measured as one section: the centre of the least-squares circle
    of the points seen along `true_axis`, in a cylindrical zone about it."""
    return _evaluate("circle_position", points, true_axis, Line)


def axis_position(points: Any, true_axis: Line, sections: Sections = "auto") -> LocationResult:
    """Position of an axis: its derived median line (the section centres, split by `sections`:
    "auto", a number of sections or a list of heights to cut at) in a cylindrical zone about
    `true_axis`; value = 2 x the largest distance of a centre from it."""
    return _evaluate("axis_position", points, true_axis, Line, sections=sections)


def plane_position(points: Any, true_plane: Plane) -> LocationResult:
    """Position of a plane surface: two planes symmetric about `true_plane`; value = 2 x the
    largest distance of a point from it."""
    return _evaluate("plane_position", points, true_plane, Plane)


def coaxiality(points: Any, datum: Line, sections: Sections = "auto") -> LocationResult:
    """Coaxiality of an axis to a datum axis: axis_position about `datum`."""
    return _evaluate("coaxiality", points, datum, Line, sections=sections)


def concentricity(points: Any, datum: Line) -> LocationResult:
    """Concentricity of a section's centre to a datum axis: circle_position about `datum`."""
    return _evaluate("concentricity", points, datum, Line)


def symmetry(first: Any, second: Any, datum: Plane) -> LocationResult:
    """Symmetry of a slot or tab, its opposite faces `first` and `second`, to a datum plane:
    the median points (each point of a face halfway to the other face's least-squares plane,
    along the datum normal) between two planes symmetric about `datum`."""
    return _evaluate("symmetry", first, datum, Plane, second=second)


def common_datum_axis(
    first: Any, first_side: str, second: Any, second_side: str
) -> Tuple[Line, str]:
    """The common datum axis A-B of two coaxial features, each side "hole" or "shaft": the line
    through the middles of their datum axes, from the first to the second, with the status of
    its fits ("ok", or "not_proved" when a minimax fit's optimum is not proved). Raises
    EvaluationError when a feature's datum fails or the features are not coaxial."""
    try:
        numbers, status = _core.common_datum_axis(
            as_array(first), first_side, as_array(second), second_side
        )
    except ValueError as e:
        raise prefixed("common_datum_axis", e) from None
    return cast(Line, from_core("line", numbers)), status
