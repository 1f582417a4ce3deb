# SPDX-License-Identifier: Apache-2.0
"""Plots with matplotlib, which only drawing needs: `import vantor` does not import it."""

from __future__ import annotations

from typing import Any, Optional

import numpy as np

from . import _core
from ._forms import FormResult
from ._geometry import Circle
from ._points import as_array


def roundness(points: Any, result: FormResult, ax: Optional[Any] = None) -> Any:
    """Draws the roundness profile of `points` about the datum of `result` (what
    vantor.roundness returned for them) on a matplotlib polar axes and returns the axes.

    Each valid point is drawn at its angle about the datum's axis and at its radial deviation:
    its distance from the axis minus the datum circle's radius, or for a datum line minus the
    middle of the smallest and largest distance. The radial scale shows the deviations
    themselves, magnified by placing the plot's centre one and a half band widths below the
    smallest; the dashed circle is the reference (deviation 0). The frame is the library's
    polar frame about the datum's axis, as on the command-line tool's chart: seen with the axis
    towards the viewer (in the sense in which its largest component is positive), 0 degrees
    along the y axis projected into the plane (the z axis when the datum's axis lies near y).

    ax: a polar axes to draw on; by default a new figure's.
    """
    import matplotlib.pyplot as plt
    from matplotlib.ticker import MaxNLocator

    if result.feature != "roundness":
        raise ValueError(f"result: expected a roundness result, got {result.feature}")
    datum = result.datum
    if isinstance(datum, Circle):
        centre, normal, radius = datum.centre, datum.normal, datum.radius
    else:  # the axis line; the extremes are the distances from it
        centre, normal = datum.origin, datum.direction
        radius = (result.minimum + result.maximum) / 2
    angles, distances = _core.polar_profile(
        as_array(points), [*centre, *normal, radius]
    )
    order = np.argsort(angles)
    theta = np.append(angles[order], angles[order][0])
    deviation = np.append(distances[order], distances[order][0]) - radius

    if ax is None:
        _, ax = plt.subplots(subplot_kw={"projection": "polar"})
    low, high = min(deviation.min(), 0.0), max(deviation.max(), 0.0)
    band = (high - low) or 1.0
    ax.plot(theta, deviation, color="black", linewidth=0.8, label="profile")
    ax.plot(np.linspace(-np.pi, np.pi, 361), np.zeros(361), "--", color="tab:blue",
            linewidth=0.8, label="reference")
    ax.set_rorigin(low - 1.5 * band)
    ax.set_ylim(low - 0.05 * band, high + 0.05 * band)
    ax.yaxis.set_major_locator(MaxNLocator(3))
    ax.set_rlabel_position(67.5)
    ax.set_title(f"Roundness {result.value:.6g}")
    return ax
