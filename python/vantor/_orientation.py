# SPDX-License-Identifier: Apache-2.0
"""Datums and datum systems, orientation tolerances and runouts of measured points.

The definitions are the library's (vantor/datum.h, vantor/orientation.h; ISO 5459, ISO 1101):
a face's datum plane touches it from outside its material and minimises the largest distance;
a hole's datum axis is that of its largest inscribed cylinder, a shaft's of its smallest
circumscribed one. An orientation zone is oriented by the datum and free in position; a runout
is the spread of the points' distances from (radial) or positions along (axial) a datum axis.
Failures raise EvaluationError with the library's reason and status.
"""

from __future__ import annotations

from typing import Any, Dict, List, Optional, Sequence, Tuple, Union, cast

import numpy as np

from . import _core
from ._errors import prefixed
from ._forms import split_rule
from ._geometry import Line, Plane, from_core, vector3
from ._points import as_array

Sections = Union[str, int, List[float]]


def _call(name: str, function: Any, *args: Any) -> Any:
    try:
        return function(*args)
    except ValueError as e:
        raise prefixed(name, e) from None


def datum_plane(points: Any, outward: Any) -> Tuple[Plane, str]:
    """The datum plane of a face whose material lies opposite `outward` (three numbers), with
    its status ("ok" or "not_proved"): its normal points out of the material."""
    kind, numbers, status, _ = _call(
        "datum_plane", _core.datum, "plane", as_array(points), "", vector3("outward", outward)
    )
    return cast(Plane, from_core(kind, numbers)), status


def _round(name: str, kind: str, points: Any, side: str) -> Tuple[Any, str]:
    got, numbers, status, _ = _call(name, _core.datum, kind, as_array(points), side, [])
    return (np.array(numbers) if got == "point" else from_core(got, numbers)), status


def datum_axis(points: Any, side: str) -> Tuple[Line, str]:
    """The datum axis of a cylindrical feature, side "hole" or "shaft": the axis of its largest
    inscribed or smallest circumscribed cylinder, with its status."""
    return cast(Tuple[Line, str], _round("datum_axis", "axis", points, side))


def datum_circle_axis(points: Any, side: str) -> Tuple[Line, str]:
    """The datum axis of a bore or shaft measured as one section: the axis of its inscribed
    ("hole") or circumscribed ("shaft") circle, with its status."""
    return cast(Tuple[Line, str], _round("datum_circle_axis", "circle_axis", points, side))


def datum_centre(points: Any, side: str) -> Tuple[np.ndarray, str]:
    """The datum centre of a spherical feature, side "hole" or "shaft", with its status."""
    return cast(Tuple[np.ndarray, str], _round("datum_centre", "centre", points, side))


class DatumFrame:
    """The right-handed frame a datum system sets up: `origin`, unit `x`, `y`, `z` (arrays);
    `rotation_fixed` False when the datums leave the rotation about z free; `status`."""

    __slots__ = ("origin", "x", "y", "z", "rotation_fixed", "status")

    origin: np.ndarray
    x: np.ndarray
    y: np.ndarray
    z: np.ndarray
    rotation_fixed: bool
    status: str

    def __init__(self, core: Tuple[Any, ...]) -> None:
        origin, x, y, z, fixed, status = core
        values = (np.array(origin), np.array(x), np.array(y), np.array(z), bool(fixed), status)
        for name, value in zip(self.__slots__, values):
            object.__setattr__(self, name, value)

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("DatumFrame is immutable")

    def along(self, u: float, v: float, w: float) -> np.ndarray:
        """The direction with frame components (u, v, w)."""
        return cast(np.ndarray, u * self.x + v * self.y + w * self.z)

    def at(self, u: float, v: float, w: float) -> np.ndarray:
        """The point at frame coordinates (u, v, w): a true position by exact dimensions."""
        return cast(np.ndarray, self.origin + self.along(u, v, w))

    def __repr__(self) -> str:
        return f"DatumFrame(origin={self.origin.tolist()}, z={self.z.tolist()})"


def datum_system(
    a: Tuple[Any, ...], b: Tuple[Any, ...], c: Optional[Tuple[Any, ...]] = None
) -> DatumFrame:
    """The frame of the datum system A|B or A|B|C. Each datum feature is a tuple: ("face",
    points, outward) for a face, ("hole", points) or ("shaft", points) for a bore or shaft; the
    combinations and their frames are those of vantor/datum.h (3-2-1 faces, a face and a bore,
    a bore and a face, with a third face or bore fixing the rotation)."""
    features = []
    for letter, given in zip("ABC", (a, b, c)):
        if given is None:
            continue
        if given and given[0] == "face" and len(given) == 3:
            features.append(("face", as_array(given[1]), "", vector3("outward", given[2])))
        elif given and given[0] in ("hole", "shaft") and len(given) == 2:
            features.append(("round", as_array(given[1]), given[0], []))
        else:
            raise TypeError(
                f"datum_system: datum {letter} must be ('face', points, outward), "
                "('hole', points) or ('shaft', points)"
            )
    return DatumFrame(_call("datum_system", _core.datum_system, features))


class OrientationResult:
    """An orientation tolerance: `value`, the width (two planes) or diameter (a cylinder about
    an axis) of the smallest zone of the datum's orientation holding the feature; `status`;
    `points`; `direction` (the zone planes' normal or the cylinder's axis); `minimum`,
    `maximum` (the zone planes' positions along it); `centres`, an axis's section centres."""

    __slots__ = ("value", "status", "points", "direction", "minimum", "maximum", "centres")

    def __init__(self, core: Tuple[Any, ...]) -> None:
        value, status, points, direction, low, high, centres = core
        values = (value, status, points, np.array(direction), low, high, centres)
        for name, v in zip(self.__slots__, values):
            object.__setattr__(self, name, v)

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("OrientationResult is immutable")

    def __repr__(self) -> str:
        return f"OrientationResult(value={self.value!r}, points={self.points})"


def _orientation(
    name: str, points: Any, datum: Any, angle: float = 0.0, sections: Optional[Sections] = None
) -> OrientationResult:
    if not isinstance(datum, (Plane, Line)):
        raise TypeError(f"{name}: the datum must be a Plane or a Line, not {type(datum).__name__}")
    rule, count, at = split_rule(name, sections)
    core = _call(
        name, _core.orientation, name, as_array(points), datum.kind, list(datum._numbers),
        float(angle), rule, count, at,
    )
    return OrientationResult(core)


def parallelism(points: Any, datum: Plane) -> OrientationResult:
    """Parallelism of a surface to a datum plane."""
    return _orientation("parallelism", points, datum)


def perpendicularity(points: Any, datum: Union[Plane, Line]) -> OrientationResult:
    """Perpendicularity of a surface to a datum plane or a datum axis."""
    return _orientation("perpendicularity", points, datum)


def angularity(points: Any, datum: Plane, angle: float) -> OrientationResult:
    """Angularity of a surface to a datum plane at `angle` degrees (0 to 90)."""
    return _orientation("angularity", points, datum, angle)


def axis_parallelism(
    points: Any, datum: Union[Plane, Line], sections: Sections = "auto"
) -> OrientationResult:
    """Parallelism of a cylinder's axis (its section centres) to a datum axis or plane."""
    return _orientation("axis_parallelism", points, datum, sections=sections)


def axis_perpendicularity(points: Any, datum: Plane, sections: Sections = "auto") -> OrientationResult:
    """Perpendicularity of a cylinder's axis (its section centres) to a datum plane."""
    return _orientation("axis_perpendicularity", points, datum, sections=sections)


class RunoutResult:
    """A runout about a datum axis: `value`, `status`, `points`, `minimum` and `maximum` (of the
    worst circle for a circular runout), `worst` (its index, -1 for a total runout) and
    `circles`, each a dict of position, points, minimum, maximum and value."""

    __slots__ = ("value", "status", "points", "minimum", "maximum", "worst", "circles")

    def __init__(self, core: Tuple[Any, ...]) -> None:
        value, status, points, low, high, worst, circles = core
        keys = ("position", "points", "minimum", "maximum", "value")
        rows: List[Dict[str, Any]] = [dict(zip(keys, c)) for c in circles]
        for name, v in zip(self.__slots__, (value, status, points, low, high, worst, rows)):
            object.__setattr__(self, name, v)

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("RunoutResult is immutable")

    def __repr__(self) -> str:
        return f"RunoutResult(value={self.value!r}, points={self.points})"


def _runout(
    name: str,
    points: Any,
    datum: Line,
    sections: Optional[Sections] = None,
    radii: Sequence[float] = (),
    half_width: float = 0.0,
) -> RunoutResult:
    if not isinstance(datum, Line):
        raise TypeError(f"{name}: the datum must be a Line, not {type(datum).__name__}")
    rule, count, at = split_rule(name, sections)
    core = _call(
        name, _core.runout, name, as_array(points), list(datum._numbers), rule, count, at,
        [float(r) for r in radii], float(half_width),
    )
    return RunoutResult(core)


def circular_radial_runout(points: Any, datum: Line, sections: Sections = "auto") -> RunoutResult:
    """Circular radial runout: per section across the datum axis, the spread of the distances
    from it; the largest over sections."""
    return _runout("circular_radial_runout", points, datum, sections)


def total_radial_runout(points: Any, datum: Line) -> RunoutResult:
    """Total radial runout: the spread of all points' distances from the datum axis."""
    return _runout("total_radial_runout", points, datum)


def circular_axial_runout(
    points: Any, datum: Line, radii: Sequence[float], half_width: float
) -> RunoutResult:
    """Circular axial runout of a face: per band of radius r (within `half_width` of each of
    `radii`) the spread of positions along the datum axis; the largest over bands."""
    return _runout("circular_axial_runout", points, datum, None, radii, half_width)


def total_axial_runout(points: Any, datum: Line) -> RunoutResult:
    """Total axial runout of a face: the spread of all points' positions along the datum axis."""
    return _runout("total_axial_runout", points, datum)
