# SPDX-License-Identifier: Apache-2.0
"""Geometry values: planes, lines, circles, spheres, cylinders and cones.

Immutable values whose points and vectors read as NumPy arrays (fresh copies) and radii as
floats. A constructor checks its arguments and makes the element through the library's geometry
layer, which scales directions and normals to unit length, so a value holds exactly the numbers
the library measures against.
"""

from __future__ import annotations

import numbers as _numbers
from typing import Any, ClassVar, Dict, List, Sequence, Tuple, Type

import numpy as np

from . import _core

ArrayLike = Any  # three numbers: a sequence or a NumPy array


def vector3(name: str, value: ArrayLike) -> List[float]:
    """Three finite numbers from a sequence or array; ValueError otherwise."""
    array = np.asarray(value)
    if array.dtype.kind not in "iuf" or array.shape != (3,):
        raise ValueError(f"{name}: expected three numbers, got {value!r}")
    if not np.all(np.isfinite(array)):
        raise ValueError(f"{name}: every number must be finite, got {value!r}")
    return [float(x) for x in array]


def _scalar(name: str, value: Any) -> List[float]:
    if isinstance(value, bool) or not isinstance(value, _numbers.Real):
        raise TypeError(f"{name}: expected a number, got {type(value).__name__}")
    if not np.isfinite(value):
        raise ValueError(f"{name}: must be finite, got {value!r}")
    return [float(value)]


def _text(x: float) -> str:
    return repr(float(x))


class Element:
    """Base of the geometry values; `kind` names the element type."""

    __slots__ = ("_numbers",)
    kind: ClassVar[str]
    # Each parameter's name and size (3 for a point or vector, 1 for a number), in order.
    _fields: ClassVar[Tuple[Tuple[str, int], ...]]

    _numbers: Tuple[float, ...]

    def _make(self, *args: Any) -> None:
        given: List[float] = []
        for (name, size), value in zip(self._fields, args):
            given += vector3(name, value) if size == 3 else _scalar(name, value)
        object.__setattr__(self, "_numbers", tuple(_core.make_element(self.kind, given)))

    @classmethod
    def _from_numbers(cls, numbers: Sequence[float]) -> "Element":
        """The element of the numbers the core returned, taken as they are."""
        element = cls.__new__(cls)
        object.__setattr__(element, "_numbers", tuple(numbers))
        return element

    def _parameters(self) -> List[Tuple[str, Any]]:
        out: List[Tuple[str, Any]] = []
        at = 0
        for name, size in self._fields:
            part = self._numbers[at : at + size]
            out.append((name, list(part) if size == 3 else part[0]))
            at += size
        return out

    def _array(self, at: int) -> np.ndarray:
        return np.array(self._numbers[at : at + 3])

    def to_dict(self) -> Dict[str, Dict[str, Any]]:
        """The element as the command-line tool's JSON reports it, e.g.
        ``{"plane": {"origin": [x, y, z], "normal": [x, y, z]}}``."""
        return {self.kind: dict(self._parameters())}

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError(f"{type(self).__name__} is immutable")

    def __eq__(self, other: object) -> bool:
        if not isinstance(other, Element):
            return NotImplemented
        return self.kind == other.kind and self._numbers == other._numbers

    def __hash__(self) -> int:
        return hash((self.kind, self._numbers))

    def __reduce__(self) -> Tuple[Any, Tuple[str, Tuple[float, ...]]]:
        return (from_core, (self.kind, self._numbers))

    def __repr__(self) -> str:
        parts = []
        for name, value in self._parameters():
            if isinstance(value, list):
                parts.append(f"{name}=[{', '.join(map(_text, value))}]")
            else:
                parts.append(f"{name}={_text(value)}")
        return f"{type(self).__name__}({', '.join(parts)})"


class Plane(Element):
    """The plane through `origin` perpendicular to `normal` (scaled to unit length)."""

    __slots__ = ()
    kind = "plane"
    _fields = (("origin", 3), ("normal", 3))

    def __init__(self, origin: ArrayLike, normal: ArrayLike) -> None:
        self._make(origin, normal)

    @property
    def origin(self) -> np.ndarray:
        """A point of the plane."""
        return self._array(0)

    @property
    def normal(self) -> np.ndarray:
        """The unit normal; signed distances are positive on its side."""
        return self._array(3)


class Line(Element):
    """The line through `origin` along `direction` (scaled to unit length); also an axis."""

    __slots__ = ()
    kind = "line"
    _fields = (("origin", 3), ("direction", 3))

    def __init__(self, origin: ArrayLike, direction: ArrayLike) -> None:
        self._make(origin, direction)

    @property
    def origin(self) -> np.ndarray:
        """A point of the line."""
        return self._array(0)

    @property
    def direction(self) -> np.ndarray:
        """The unit direction."""
        return self._array(3)


class Circle(Element):
    """The circle of `radius` about `centre` in the plane perpendicular to `normal`."""

    __slots__ = ()
    kind = "circle"
    _fields = (("centre", 3), ("normal", 3), ("radius", 1))

    def __init__(self, centre: ArrayLike, normal: ArrayLike, radius: float) -> None:
        self._make(centre, normal, radius)

    @property
    def centre(self) -> np.ndarray:
        """The centre."""
        return self._array(0)

    @property
    def normal(self) -> np.ndarray:
        """The unit normal of the circle's plane: the direction of its axis."""
        return self._array(3)

    @property
    def radius(self) -> float:
        """The radius."""
        return self._numbers[6]


class Sphere(Element):
    """The sphere of `radius` about `centre`."""

    __slots__ = ()
    kind = "sphere"
    _fields = (("centre", 3), ("radius", 1))

    def __init__(self, centre: ArrayLike, radius: float) -> None:
        self._make(centre, radius)

    @property
    def centre(self) -> np.ndarray:
        """The centre."""
        return self._array(0)

    @property
    def radius(self) -> float:
        """The radius."""
        return self._numbers[3]


class Cylinder(Element):
    """The cylinder of `radius` about the axis through `origin` along `direction`."""

    __slots__ = ()
    kind = "cylinder"
    _fields = (("origin", 3), ("direction", 3), ("radius", 1))

    def __init__(self, origin: ArrayLike, direction: ArrayLike, radius: float) -> None:
        self._make(origin, direction, radius)

    @property
    def origin(self) -> np.ndarray:
        """A point of the axis."""
        return self._array(0)

    @property
    def direction(self) -> np.ndarray:
        """The unit direction of the axis."""
        return self._array(3)

    @property
    def radius(self) -> float:
        """The radius."""
        return self._numbers[6]


class Cone(Element):
    """The cone whose surface passes through the circle of `radius0` about `point0` and the
    circle of `radius1` about `point1`, both perpendicular to the axis from `point0` to
    `point1`, extended without end."""

    __slots__ = ()
    kind = "cone"
    _fields = (("point0", 3), ("radius0", 1), ("point1", 3), ("radius1", 1))

    def __init__(
        self, point0: ArrayLike, radius0: float, point1: ArrayLike, radius1: float
    ) -> None:
        self._make(point0, radius0, point1, radius1)

    @property
    def point0(self) -> np.ndarray:
        """The first point of the axis."""
        return self._array(0)

    @property
    def radius0(self) -> float:
        """The radius at point0."""
        return self._numbers[3]

    @property
    def point1(self) -> np.ndarray:
        """The second point of the axis."""
        return self._array(4)

    @property
    def radius1(self) -> float:
        """The radius at point1."""
        return self._numbers[7]


# Every value class by its kind, so that a new one needs no entry here.
_KINDS: Dict[str, Type[Element]] = {cls.kind: cls for cls in Element.__subclasses__()}


def from_core(kind: str, numbers: Sequence[float]) -> Element:
    """The value of an element the core returned as kind name and numbers."""
    return _KINDS[kind]._from_numbers(numbers)
