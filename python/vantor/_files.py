# SPDX-License-Identifier: Apache-2.0
"""Point files: text, PLY, STL, PCD and OBJ files and the library's element files."""

from __future__ import annotations

import errno
import os
from typing import Any, NamedTuple, Optional, Sequence, Union

import numpy as np

from . import _core
from ._points import as_array

PathLike = Union[str, bytes, "os.PathLike[str]", "os.PathLike[bytes]"]

# Suffixes that save() writes as text unless told otherwise.
_TEXT_SUFFIXES = (".txt", ".csv", ".xyz")


class PointFile(NamedTuple):
    """The points of a point file, its format and the rows left out of it."""

    points: np.ndarray  # (N, 3) float64
    format: str  # "text", "ply", "stl", "pcd", "obj" or "element"
    nan_rows: int  # rows or vertices left out for a NaN coordinate


def read(path: PathLike, columns: Optional[Sequence[str]] = None) -> PointFile:
    """The points of a point file with its format and the number of rows left out, read as the
    command-line tool reads them.

    Formats: text, PLY (ASCII and binary), STL (ASCII and binary; each distinct vertex once),
    PCD (ASCII and binary) and the vertices of OBJ, told by content and then by extension, and
    element files (written by the library or by save()), which keep rows with a NaN
    coordinate. Text has one point a line, x y z separated by spaces, tabs, a comma or a
    semicolon; blank lines and everything from '#' to the end of a line are skipped, and the
    first remaining line may be a header of column names. columns chooses the columns of x, y
    and z: three column numbers from 1 ("2", "3", "4") or names of the header line; other
    columns are then allowed. Rows and vertices with a NaN coordinate are left out and counted.
    "-" reads standard input.

    Raises FileNotFoundError for a path that does not exist and ValueError, naming the file
    and line (or byte), for anything the reader rejects.
    """
    name = os.fsdecode(path)
    if name != "-" and not os.path.exists(name):
        raise FileNotFoundError(errno.ENOENT, os.strerror(errno.ENOENT), name)
    if columns is not None:
        columns = [str(c) for c in columns]
        if len(columns) != 3:
            raise ValueError(f"columns: expected three, for x, y and z, got {len(columns)}")
    points, format, nan_rows = _core.load(name, columns)
    return PointFile(points, format, nan_rows)


def load(path: PathLike, columns: Optional[Sequence[str]] = None) -> np.ndarray:
    """The points of a point file as an (N, 3) float64 array: read(path, columns).points."""
    return read(path, columns).points


def save(
    path: PathLike, points: Any, format: Optional[str] = None, *, force: bool = False
) -> int:
    """Writes the points to a point file.

    The file is written beside the target under a temporary name and takes the target's name
    only when complete, so no partial file is ever left behind or read. An existing file is
    never replaced unless `force` (the tool's --force); without it the refusal holds even
    against a file created while writing.

    Parameters
    ----------
    path : str, bytes or os.PathLike
        The file to write.
    points : array_like, shape (N, 3)
        The rows to write.
    format : {"element", "text"}, optional
        "element": the library's element file, which keeps every row, NaN coordinates
        included. "text": the header line "x y z", then one line per row, each number in the
        shortest form that reads back to the same double; rows with a NaN coordinate are left
        out. By default paths ending in .txt, .csv or .xyz (in any case) are written as text
        and others as element files.
    force : bool, default False
        Replace an existing file (by renaming the complete temporary file over it).

    Returns
    -------
    int
        The number of rows written.

    Raises
    ------
    FileExistsError
        When the file exists and `force` is false; its filename is the path.
    ValueError
        For bad points (for text, also when every row has a NaN coordinate) or format.
    OSError
        When the file cannot be written.
    """
    name = os.fsdecode(path)
    if format is None:
        format = "text" if name.lower().endswith(_TEXT_SUFFIXES) else "element"
    if format not in ("element", "text"):
        raise ValueError(f"format: expected 'element' or 'text', got {format!r}")
    return _core.save(name, as_array(points), format == "text", bool(force))
