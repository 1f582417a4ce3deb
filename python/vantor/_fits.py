# SPDX-License-Identifier: Apache-2.0
"""Reference elements fitted to points: vantor.fit and its result."""

from __future__ import annotations

import copy
from types import MappingProxyType
from typing import Any, Dict, List, Mapping, NamedTuple, Optional, Tuple, Union

import numpy as np

from . import _core
from ._errors import FitError
from ._geometry import Element, from_core, vector3
from ._points import as_array

Parameter = Union[np.ndarray, float]


def _parameter(value: Any) -> Parameter:
    return np.array(value) if isinstance(value, list) else value


class ElementInfo(NamedTuple):
    """An element as the library's table describes it (ELEMENTS).

    Attributes
    ----------
    name : str
        As `fit` takes it: "cylinder".
    form : str
        The form measured about it: "cylindricity".
    fewest_points : int
        The fewest valid points a fit needs.
    criteria : tuple of str
        The criteria defined for it, in the order of CRITERIA.
    parameters : tuple of (str, int)
        The parameters of its fit, in the order of FitResult.parameters: name and size (3 for
        a point or vector, 1 for a number).
    """

    name: str
    form: str
    fewest_points: int
    criteria: Tuple[str, ...]
    parameters: Tuple[Tuple[str, int], ...]


#: The elements fitted, by name, read from the library's table: line, plane, circle, sphere,
#: cylinder, cone.
ELEMENTS: Mapping[str, ElementInfo] = MappingProxyType(
    {row[0]: ElementInfo(*row) for row in _core.elements()}
)

#: The fitting criteria, in order: "gauss", "zone", "inscribed", "circumscribed".
CRITERIA: Tuple[str, ...] = tuple(_core.criteria())


class FitResult:
    """A fitted element and what the fit reports beside it.

    Attributes:
        element: the fitted Line, Plane, Circle, Sphere, Cylinder or Cone.
        criterion: "gauss", "zone", "inscribed" or "circumscribed".
        status: "ok", or "not_proved" for a minimax result whose proof did not close within
            the time budget (a valid, locally certified result; see `proof`).
        points: the number of valid points fitted.
        deviation: the form value of the points about the element (straightness, flatness,
            roundness, sphericity, cylindricity or conicity; the zone width of a minimum-zone
            fit).
        minimum, maximum: the smallest and largest signed distance of a point from the
            element (for a line, the smallest and largest distance; for a circle, radial).
        rms: the root mean square of the points' distances.
        iterations, converged: the solver's iterations (0 in closed form) and whether it met
            its convergence test.
        parameters: the element's parameters by name, in order: line origin, direction; plane
            origin, normal; circle centre, normal, radius; sphere centre, radius; cylinder
            origin, direction, radius; cone apex, direction (towards increasing radius),
            half_angle (degrees). Points and vectors are arrays of three floats. Each also
            reads as an attribute, e.g. result.radius.
        uncertainty: the standard uncertainties of the parameters by the same names, for a
            least-squares fit; None for the minimax criteria.
        contacts: for the minimax criteria, the indices of the rows that decide the result (an
            int array); None for least squares.
        proof: for the minimax criteria, a dict: "objective" (the zone width, or the radius of
            an inscribed or circumscribed element), "bound" (proved from the points: the best
            value over the search domain is no better), "gap", "tolerance" and "proved"
            (the gap within the tolerance); None for least squares.
        outliers: the number of points that stand far outside the rest: among the 10 largest
            and 10 smallest distances from the element, those more than 8 standard deviations
            of the other distances from their mean (for a line's zone, about the least-squares
            line). With any, `warning` says so; None without.
        warning: the warning about outliers, or None.
        rejected: the indices of the rows `reject_beyond` left out (an int array, empty
            without rejection).
    """

    __slots__ = (
        "element",
        "criterion",
        "status",
        "points",
        "deviation",
        "minimum",
        "maximum",
        "rms",
        "iterations",
        "converged",
        "parameters",
        "uncertainty",
        "contacts",
        "proof",
        "outliers",
        "warning",
        "rejected",
        "_json",
    )

    element: Element
    criterion: str
    status: str
    points: int
    deviation: float
    minimum: float
    maximum: float
    rms: float
    iterations: int
    converged: bool
    parameters: Dict[str, Parameter]
    uncertainty: Optional[Dict[str, Parameter]]
    contacts: Optional[np.ndarray]
    proof: Optional[Dict[str, Any]]
    outliers: int
    warning: Optional[str]
    rejected: np.ndarray

    def __init__(self, criterion: str, fitted: Dict[str, Any]) -> None:
        """From the criterion fitted and the core's dict (python/src/fit_report.h)."""
        report = fitted["json"]
        names: List[str] = fitted["parameters"]
        uncertainty = report["uncertainty"]
        contacts = report.get("contacts")
        values = {
            "element": from_core(fitted["kind"], fitted["numbers"]),
            "criterion": criterion,
            "status": report["status"],
            "points": fitted["points"],
            "deviation": report["deviation"],
            "minimum": fitted["minimum"],
            "maximum": fitted["maximum"],
            "rms": report["rms"],
            "iterations": report["iterations"],
            "converged": fitted["converged"],
            "parameters": {name: _parameter(report[name]) for name in names},
            "uncertainty": None
            if uncertainty is None
            else {name: _parameter(uncertainty[name]) for name in names},
            "contacts": None if contacts is None else np.array(contacts, dtype=np.intp),
            "proof": copy.deepcopy(report.get("proof")),
            "outliers": report.get("outliers", 0),
            "warning": report.get("warning"),
            "rejected": np.array(report.get("rejected", []), dtype=np.intp),
            "_json": report,
        }
        for name, value in values.items():
            object.__setattr__(self, name, value)

    def __getattr__(self, name: str) -> Parameter:
        parameters = object.__getattribute__(self, "parameters")
        if name in parameters:
            value = parameters[name]
            return value.copy() if isinstance(value, np.ndarray) else value
        raise AttributeError(f"FitResult has no attribute {name!r}")

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("FitResult is immutable")

    def __dir__(self) -> List[str]:
        public = [name for name in self.__slots__ if not name.startswith("_")]
        return sorted(set(public) | set(self.parameters))

    def to_dict(self) -> Dict[str, Any]:
        """The fit as the command-line tool's JSON reports it under "fits" (`vantor fit ELEMENT
        FILE --json`): "valid", the parameters, "deviation", "rms", "iterations",
        "uncertainty" (None for the minimax criteria) and, but for least squares,
        "contacts" and "proof"."""
        return copy.deepcopy(self._json)

    def __repr__(self) -> str:
        shown = [f"element={self.element.kind!r}", f"criterion={self.criterion!r}"]
        for name, value in self.parameters.items():
            text = repr(value.tolist()) if isinstance(value, np.ndarray) else repr(value)
            shown.append(f"{name}={text}")
        for name in ("deviation", "rms", "iterations", "points"):
            shown.append(f"{name}={getattr(self, name)!r}")
        return f"FitResult({', '.join(shown)})"


def fit(
    points: Any,
    element: str,
    criterion: str = "gauss",
    direction: Any = None,
    axis: Any = None,
    max_tilt: float = 15.0,
    time_budget: float = 1.0,
    reject_beyond: float = 0.0,
) -> FitResult:
    """Fits a reference element to the points.

    Args:
        points: an (N, 3) array-like of floats; rows with a NaN coordinate are left out of the
            fit (contacts still index the rows given).
        element: "line", "plane", "circle", "sphere", "cylinder" or "cone".
        criterion: "gauss" (least squares), "zone" (minimum zone), "inscribed" (maximum
            inscribed) or "circumscribed" (minimum circumscribed); every element has gauss and
            zone, a circle, sphere or cylinder the other two as well.
        direction: for a circle, the direction of its axis (three numbers); without it the
            circle lies in the least-squares plane of the points.
        axis: for a line, cylinder or cone, the approximate axis (three numbers, the
            drawing's nominal direction): every fit keeps its axis within max_tilt of it.
        max_tilt: the largest angle in degrees of the axis from `axis` or, without it, of a
            minimax fit's axis from the least-squares axis (90: every direction).
        time_budget: the seconds a minimax fit may spend proving its optimum.
        reject_beyond: 0 (keep every point), or k >= 2: the rows whose distance from the
            least-squares element lies more than k standard deviations from the mean distance
            are left out and the element refitted, until none is; the criterion is then fitted
            to the rest, and `rejected` lists the rows left out.

    Returns the FitResult. Raises FitError (a ValueError) with the reason and its `status` for
    bad arguments ("refused") and for a fit that fails (too few points, points that determine
    no such element, a criterion the element does not have).
    """
    if not isinstance(element, str) or not isinstance(criterion, str):
        raise TypeError("fit: element and criterion are names (str)")
    numbers = None if direction is None else vector3("direction", direction)
    approximate = None if axis is None else vector3("axis", axis)
    try:
        fitted = _core.fit(
            as_array(points),
            element,
            criterion,
            numbers,
            approximate,
            float(max_tilt),
            float(time_budget),
            float(reject_beyond),
        )
    except ValueError as e:
        raise FitError(f"fit: {e}", getattr(e, "status", "refused")) from None
    if "error" in fitted:
        raise FitError(f"fit: {fitted['error']}", fitted["status"])
    return FitResult(criterion, fitted)
