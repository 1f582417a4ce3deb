"""The result of a fit: the fitted element with its report."""

from __future__ import annotations

from typing import Any, Dict, Optional, Union

import numpy as np

from ._geometry import Element, from_core

Parameter = Union[np.ndarray, float]


def _plain(value: Any) -> Any:
    return value.tolist() if isinstance(value, np.ndarray) else value


class FitResult:
    """A fitted element and what the fit reports beside it.

    Attributes:
        element: the fitted Line, Plane, Circle, Sphere, Cylinder or Cone.
        criterion: "gauss", "zone", "inscribed" or "circumscribed".
        points: the number of valid points fitted.
        deviation: the form value of the points about the element (the zone width of a
            minimum-zone fit).
        minimum, maximum: the smallest and largest signed distance of a point from the
            element (for a line, the smallest and largest distance).
        rms: the root mean square of the points' distances.
        iterations, converged: the solver's iterations (0 in closed form) and whether it met
            its convergence test.
        parameters: the element's parameters as the fit reports them, by name (for a cone
            "apex", "direction", "half_angle" in degrees); each also reads as an attribute,
            e.g. result.radius.
        uncertainty: the standard uncertainties of the parameters by the same names, for
            least-squares fits; None for the minimax criteria.
        contacts: for the minimax criteria, the indices of the rows that decide the result.
    """

    __slots__ = (
        "element",
        "criterion",
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
    )

    element: Element
    criterion: str
    points: int
    deviation: float
    minimum: float
    maximum: float
    rms: float
    iterations: int
    converged: bool
    parameters: Dict[str, Parameter]
    uncertainty: Optional[Dict[str, Parameter]]
    contacts: np.ndarray

    def __init__(self, criterion: str, fitted: Dict[str, Any]) -> None:
        """From the criterion fitted and the core's dict (python/src/fit_report.h)."""
        values = dict(fitted)
        values["element"] = from_core(values.pop("kind"), values.pop("numbers"))
        values["criterion"] = criterion
        for name in self.__slots__:
            object.__setattr__(self, name, values[name])

    def __getattr__(self, name: str) -> Parameter:
        parameters = object.__getattribute__(self, "parameters")
        if name in parameters:
            return parameters[name]
        raise AttributeError(f"FitResult has no attribute {name!r}")

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("FitResult is immutable")

    def __dir__(self) -> list:
        return sorted(set(self.__slots__) | set(self.parameters))

    def to_dict(self) -> Dict[str, Any]:
        """The result with lists for arrays, the element as Element.to_dict() gives it."""
        out: Dict[str, Any] = {}
        for name in self.__slots__:
            value = getattr(self, name)
            if isinstance(value, Element):
                value = value.to_dict()
            elif isinstance(value, dict):
                value = {k: _plain(v) for k, v in value.items()}
            else:
                value = _plain(value)
            out[name] = value
        return out

    def __repr__(self) -> str:
        fields = ", ".join(
            f"{name}={getattr(self, name)!r}"
            for name in ("element", "criterion", "points", "deviation", "rms")
        )
        return f"FitResult({fields})"
