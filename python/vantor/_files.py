"""Point files: text files of x y z lines and the library's element files."""

from __future__ import annotations

import errno
import os
from typing import Any, Optional, Union

import numpy as np

from . import _core
from ._points import as_array

PathLike = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]

# Suffixes that save() writes as text unless told otherwise.
_TEXT_SUFFIXES = (".txt", ".csv", ".xyz")


def load(path: PathLike) -> np.ndarray:
    """The points of a point file as an (N, 3) float64 array, read as the command-line tool
    reads them.

    A file with a zero byte among its first 16 bytes is an element file (written by the
    library or by save()), which keeps rows with a NaN coordinate. Anything else is text: one
    point a line, x y z separated by spaces, tabs, a comma or a semicolon; blank lines and
    everything from '#' to the end of a line are skipped, and the first remaining line may be a
    header of column names. "-" reads text from standard input.

    Raises FileNotFoundError for a path that does not exist and ValueError, naming the file
    and line, for anything the reader rejects.
    """
    name = os.fsdecode(path)
    if name != "-" and not os.path.exists(name):
        raise FileNotFoundError(errno.ENOENT, os.strerror(errno.ENOENT), name)
    return _core.load(name)


def save(path: PathLike, points: Any, format: Optional[str] = None) -> int:
    """Writes the points to a point file and returns the number of rows written.

    format is "element" (the library's element file, which keeps every row, NaN coordinates
    included) or "text" (the header line "x y z", then one line per row, each number in the
    shortest form that reads back to the same double; rows with a NaN coordinate are left
    out). Without it, paths ending in .txt, .csv or .xyz are written as text and others as
    element files.

    The file is written beside the target under a temporary name and then renamed, so an
    existing file is replaced only by a complete one. Raises ValueError for bad points or
    format and OSError when the file cannot be written.
    """
    name = os.fsdecode(path)
    if format is None:
        format = "text" if name.lower().endswith(_TEXT_SUFFIXES) else "element"
    if format not in ("element", "text"):
        raise ValueError(f"format: expected 'element' or 'text', got {format!r}")
    return _core.save(name, as_array(points), format == "text")
