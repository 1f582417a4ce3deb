"""vantor: form evaluation of measured points.

Points are (N, 3) arrays of floats, from NumPy or anything array-like; rows with a NaN
coordinate are left out of every evaluation. Failures raise ValueError with the reason.

    >>> import vantor
    >>> points = vantor.load("bore.txt")
    >>> vantor.roundness(points, direction=(0, 0, 1)).value

Form values: straightness, flatness, roundness, sphericity, cylindricity, conicity, each
against a datum (the geometry values Plane, Line, Circle, Sphere, Cylinder, Cone, or a
direction or centre where the library evaluates with one). Files: load, save. Plots:
vantor.plot (needs matplotlib, imported only when drawing).
"""

from . import _core, plot
from ._files import load, save
from ._forms import (
    FormResult,
    conicity,
    cylindricity,
    flatness,
    roundness,
    sphericity,
    straightness,
)
from ._geometry import Circle, Cone, Cylinder, Element, Line, Plane, Sphere

__version__: str = _core.version()

__all__ = [
    "Circle",
    "Cone",
    "Cylinder",
    "Element",
    "FormResult",
    "Line",
    "Plane",
    "Sphere",
    "conicity",
    "cylindricity",
    "flatness",
    "load",
    "plot",
    "roundness",
    "save",
    "sphericity",
    "straightness",
]
