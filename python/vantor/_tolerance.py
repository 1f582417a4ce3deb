# SPDX-License-Identifier: Apache-2.0
"""Tolerance verdicts of form values: the `upper=`, `nominal=` and `lower=` keywords of the form
functions, with the command-line tool's --upper, --nominal and --lower rule."""

from __future__ import annotations

import math
from typing import Any, Dict, Optional, Tuple

from . import _core

# nominal, lower, upper
Tolerance = Tuple[float, float, float]


def _number(feature: str, name: str, value: Any) -> float:
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        raise TypeError(f"{feature}: {name} must be a number, not {value!r}")
    if not math.isfinite(value):
        raise ValueError(f"{feature}: {name} must be finite, got {value!r}")
    return float(value)


def tolerance_of(feature: str, upper: Any, nominal: Any, lower: Any) -> Optional[Tolerance]:
    """The tolerance the keywords give, checked before any evaluation: None without `upper`;
    nominal and lower are then 0 unless given."""
    if upper is None:
        given = [name for name, v in (("nominal", nominal), ("lower", lower)) if v is not None]
        if given:
            raise TypeError(f"{feature}: {given[0]} needs upper")
        return None
    n = 0.0 if nominal is None else _number(feature, "nominal", nominal)
    low = 0.0 if lower is None else _number(feature, "lower", lower)
    high = _number(feature, "upper", upper)
    # A tolerance zone of negative width holds no value at all.
    if high < low:
        which = "lower" if lower is not None else "lower, which is 0 unless given"
        raise ValueError(f"{feature}: upper must not be below {which}")
    return n, low, high


class Judged:
    """A result that keeps the tool's JSON "tolerance" (None without one), with its verdict."""

    __slots__ = ()

    @property
    def within(self) -> Optional[bool]:
        """Whether the value lies within the tolerance given; None without one."""
        tolerance = getattr(self, "tolerance")
        return None if tolerance is None else tolerance["within"]


def judged(result: Any, tolerance: Optional[Tolerance]) -> Any:
    """The result with its `tolerance`: None without one, else the tool's JSON "tolerance",
    {"nominal", "lower", "upper", "within"}, within being nominal + lower <= value <= nominal +
    upper: the program's rule, from the module."""
    verdict: Optional[Dict[str, Any]] = None
    if tolerance is not None:
        verdict = _core.verdict(result.value, *tolerance)
    object.__setattr__(result, "tolerance", verdict)
    return result
