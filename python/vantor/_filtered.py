# SPDX-License-Identifier: Apache-2.0
"""Straightness and flatness of profiles filtered by a Gaussian filter (the `cutoff=` keyword of
vantor.straightness and vantor.flatness)."""

from __future__ import annotations

from typing import Any, Dict, Optional

from . import _core
from ._errors import prefixed
from ._geometry import Element, from_core
from ._points import as_array
from ._tolerance import Judged


class FilteredFormResult(Judged):
    """The form of a filtered profile about the least-squares reference of the filtered points.

    The filter is a Gaussian filter with cutoff wavelength `cutoff` (coordinate units; 50 %
    transmission at the cutoff), fitted as a weighted local line (a face: plane) so that ends
    and edges keep a linear trend.

    Attributes:
        feature: "straightness" or "flatness".
        value: t, the peak to valley.
        cutoff: the cutoff wavelength.
        t, p, v, q: STRt, STRp, STRv, STRq (flatness: FLTt ...): peak to valley, the largest
            deviation, minus the smallest, the root mean square.
        median_spacing: along the line, or to the nearest point on a face.
        outliers: the measured points standing far outside the rest (FitResult.outliers' rule).
        warning: set when median_spacing exceeds cutoff / 7 (too few points per cutoff) or
            there are outliers (both joined by "; "), else None.
        datum: the least-squares Line or Plane of the filtered points.
        tolerance, within: the verdict when `upper` was given, as FormResult has them.
    """

    __slots__ = (
        "feature",
        "value",
        "cutoff",
        "t",
        "p",
        "v",
        "q",
        "median_spacing",
        "outliers",
        "warning",
        "datum",
        "tolerance",
    )

    feature: str
    value: float
    cutoff: float
    t: float
    p: float
    v: float
    q: float
    median_spacing: float
    outliers: int
    warning: Optional[str]
    datum: Element
    tolerance: Optional[Dict[str, Any]]

    def __init__(
        self,
        feature: str,
        cutoff: float,
        t: float,
        p: float,
        v: float,
        q: float,
        median_spacing: float,
        outliers: int,
        warning: Optional[str],
        datum: Element,
        tolerance: Optional[Dict[str, Any]] = None,
    ) -> None:
        given = (
            feature, t, cutoff, t, p, v, q, median_spacing, outliers, warning, datum, tolerance
        )
        for name, value in zip(self.__slots__, given):
            object.__setattr__(self, name, value)

    def __setattr__(self, name: str, value: Any) -> None:
        raise AttributeError("FilteredFormResult is immutable")

    def to_dict(self) -> Dict[str, Any]:
        """The result under the names of the command-line tool's JSON report (strt ... or
        fltt ...), with tolerance where one was given."""
        prefix = "str" if self.feature == "straightness" else "flt"
        out: Dict[str, Any] = {
            "feature": self.feature,
            "value": self.value,
            "cutoff": self.cutoff,
        }
        for k in "tpvq":
            out[prefix + k] = getattr(self, k)
        out["median_spacing"] = self.median_spacing
        out["datum"] = self.datum.to_dict()
        if self.outliers > 0:
            out["outliers"] = self.outliers
        if self.warning is not None:
            out["warning"] = self.warning
        if self.tolerance is not None:
            out["tolerance"] = dict(self.tolerance)
        return out

    def __repr__(self) -> str:
        shown = ", ".join(f"{name}={getattr(self, name)!r}" for name in self.__slots__)
        return f"FilteredFormResult({shown})"


def filtered(feature: str, points: Any, cutoff: Any, unused: Dict[str, bool]) -> FilteredFormResult:
    """The filtered form. `unused` tells for each other argument of the evaluation whether it
    was left at its default; a filtered form takes none of them."""
    used = [name for name, left in unused.items() if not left]
    if used:
        raise TypeError(
            f"{feature}: cutoff evaluates about the least-squares reference of the filtered "
            f"points, not with {used[0]}"
        )
    if isinstance(cutoff, bool) or not isinstance(cutoff, (int, float)):
        raise TypeError(f"{feature}: cutoff must be a number, not {cutoff!r}")
    try:
        t, p, v, q, spacing, outliers, warning, kind, numbers = _core.filtered_form(
            feature, as_array(points), float(cutoff)
        )
    except ValueError as e:
        raise prefixed(feature, e) from None
    datum = from_core(kind, numbers)
    return FilteredFormResult(
        feature, float(cutoff), t, p, v, q, spacing, outliers, warning, datum
    )
