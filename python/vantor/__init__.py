# SPDX-License-Identifier: Apache-2.0
"""vantor: reference elements and form values of measured points.

Points are (N, 3) arrays of floats, from NumPy or anything array-like; rows with a NaN
coordinate are left out of every evaluation. A failed fit or evaluation raises
EvaluationError (a ValueError; FitError for vantor.fit) with the reason and its `status`, the
kind of failure as the tool's JSON names it.

    >>> import vantor
    >>> points = vantor.load("shaft.txt")
    >>> vantor.fit(points, "cylinder").radius
    >>> vantor.cylindricity(points).value

Fits: fit(points, element, criterion) for lines, planes, circles, spheres, cylinders and cones,
returning a FitResult; ELEMENTS describes each element (its criteria, fewest points,
parameters) from the library's table, CRITERIA names the criteria. Form values: straightness, flatness, roundness, sphericity,
cylindricity, conicity, each against a datum (the geometry values Plane, Line, Circle, Sphere,
Cylinder, Cone, or a direction or centre where the library evaluates with one) or, without
one, about the element fitted to the points: the minimum-zone element (DEFAULT_REFERENCE, as
ISO 1101 defines form) or the one of `reference=`; with `upper=` each gives a tolerance
verdict (result.within). roundness_analysis: RONt, RONp, RONv, RONq of a profile, filtered
when asked, about a reference circle, and its harmonics. Files: load, read (with the format
and the NaN rows left out), save (which replaces a file only with force=True); text, PLY, STL,
PCD, OBJ and element files are read. Plots: vantor.plot (needs matplotlib, imported only when
drawing). Location tolerances about a true position or datum: point_position, circle_position,
axis_position, plane_position, coaxiality, concentricity, symmetry (a LocationResult each);
common_datum_axis of two coaxial features. Sizes (ISO 14405-1): global_size,
two_point_sizes and section_sizes, each a SizeResult with the statistics of SIZE_STATISTICS.
inspect(plan): every tolerance of an inspection plan (datums, form, orientation, location,
runout, size), as `vantor inspect` gives it. Datums: datum_plane, datum_axis, datum_circle_axis,
datum_centre, datum_system (a DatumFrame); orientation: parallelism, perpendicularity,
angularity, axis_parallelism, axis_perpendicularity (an OrientationResult each); runout:
circular/total radial/axial runout (a RunoutResult).
"""

from . import _core, plot
from ._analysis import RoundnessAnalysisResult, roundness_analysis
from ._files import PointFile, load, read, save
from ._filtered import FilteredFormResult
from ._errors import EvaluationError, FitError
from ._fits import CRITERIA, ELEMENTS, ElementInfo, FitResult, fit
from ._forms import (
    DEFAULT_REFERENCE,
    FormResult,
    Section,
    conicity,
    cylindricity,
    flatness,
    roundness,
    sphericity,
    straightness,
)
from ._geometry import Circle, Cone, Cylinder, Element, Line, Plane, Sphere
from ._location import (
    LocationResult,
    axis_position,
    circle_position,
    coaxiality,
    common_datum_axis,
    concentricity,
    plane_position,
    point_position,
    symmetry,
)
from ._inspection import inspect
from ._orientation import (
    DatumFrame,
    OrientationResult,
    RunoutResult,
    angularity,
    axis_parallelism,
    axis_perpendicularity,
    circular_axial_runout,
    circular_radial_runout,
    datum_axis,
    datum_centre,
    datum_circle_axis,
    datum_plane,
    datum_system,
    parallelism,
    perpendicularity,
    total_axial_runout,
    total_radial_runout,
)
from ._size import SIZE_STATISTICS, SizeResult, global_size, section_sizes, two_point_sizes

__version__: str = _core.version()

__all__ = [
    "CRITERIA",
    "Circle",
    "Cone",
    "Cylinder",
    "DEFAULT_REFERENCE",
    "DatumFrame",
    "ELEMENTS",
    "Element",
    "ElementInfo",
    "EvaluationError",
    "FilteredFormResult",
    "FitError",
    "FitResult",
    "FormResult",
    "Line",
    "LocationResult",
    "OrientationResult",
    "Plane",
    "PointFile",
    "RoundnessAnalysisResult",
    "RunoutResult",
    "SIZE_STATISTICS",
    "Section",
    "SizeResult",
    "Sphere",
    "angularity",
    "axis_parallelism",
    "axis_perpendicularity",
    "axis_position",
    "circle_position",
    "circular_axial_runout",
    "circular_radial_runout",
    "coaxiality",
    "common_datum_axis",
    "concentricity",
    "conicity",
    "cylindricity",
    "datum_axis",
    "datum_centre",
    "datum_circle_axis",
    "datum_plane",
    "datum_system",
    "fit",
    "flatness",
    "global_size",
    "inspect",
    "load",
    "parallelism",
    "perpendicularity",
    "plane_position",
    "plot",
    "point_position",
    "read",
    "roundness",
    "roundness_analysis",
    "save",
    "section_sizes",
    "sphericity",
    "straightness",
    "symmetry",
    "total_axial_runout",
    "total_radial_runout",
    "two_point_sizes",
]
