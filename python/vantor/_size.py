# SPDX-License-Identifier: Apache-2.0
"""Linear sizes of circles, cylinders and spheres (ISO 14405-1): global sizes, two-point sizes
and section sizes, with the statistics of local sizes."""

from __future__ import annotations

from typing import Any, Dict, Tuple

import numpy as np

from . import _core
from ._errors import prefixed
from ._forms import split_rule
from ._points import as_array

# The statistics of local sizes (ISO 14405-1 SX, SN, SA, SM, SR), as SizeResult.of takes them.
SIZE_STATISTICS: Tuple[str, ...] = ("maximum", "minimum", "average", "median", "range")


class SizeResult:
    """A size of the points.

    Attributes:
        value: a global size's diameter; 0 for local sizes (read `statistics`).
        status: "ok", or "not_proved" for a minimax fit whose bound did not close.
        points: the valid points evaluated.
        sizes: the local sizes (each two-point size, or each section's diameter by increasing
            height); a global size's one diameter.
        statistics: {"count", "maximum", "minimum", "average", "median", "range"} over `sizes`.
    """

    __slots__ = ("value", "status", "points", "sizes", "statistics")

    value: float
    status: str
    points: int
    sizes: np.ndarray
    statistics: Dict[str, float]

    def __init__(self, core: Tuple[float, str, int, np.ndarray, Tuple[float, ...]]) -> None:
        self.value, self.status, self.points, self.sizes, numbers = core
        self.statistics = dict(zip(("count",) + SIZE_STATISTICS, numbers))
        self.statistics["count"] = int(self.statistics["count"])

    def of(self, statistic: str) -> float:
        """The statistic of the sizes called `statistic` (one of SIZE_STATISTICS)."""
        if statistic not in SIZE_STATISTICS:
            raise ValueError(f"unknown statistic {statistic!r} ({', '.join(SIZE_STATISTICS)})")
        return self.statistics[statistic]

    def __repr__(self) -> str:
        return (
            f"SizeResult(value={self.value!r}, sizes={len(self.sizes)}, "
            f"minimum={self.statistics['minimum']!r}, maximum={self.statistics['maximum']!r})"
        )


def global_size(points: Any, element: str, criterion: str) -> SizeResult:
    """The diameter of the `criterion` circle, cylinder or sphere fitted to the points (for
    "zone" the mean of the zone's two diameters)."""
    try:
        return SizeResult(_core.global_size(as_array(points), element, criterion))
    except ValueError as e:
        raise prefixed("global_size", e) from None


def two_point_sizes(points: Any, element: str, sections: Any = None) -> SizeResult:
    """The two-point sizes of a circle, a cylinder (per section: sections='auto', a number of
    sections or heights to cut at; None is one section) or a sphere, as vantor/size.h defines
    them."""
    rule, count, at = split_rule("two_point_sizes", sections)
    try:
        return SizeResult(_core.two_point_sizes(as_array(points), element, rule, count, at))
    except ValueError as e:
        raise prefixed("two_point_sizes", e) from None


def section_sizes(points: Any, criterion: str, sections: Any) -> SizeResult:
    """The diameter of each section's `criterion` circle, by increasing height."""
    rule, count, at = split_rule("section_sizes", sections)
    try:
        return SizeResult(_core.section_sizes(as_array(points), criterion, rule, count, at))
    except ValueError as e:
        raise prefixed("section_sizes", e) from None
