# SPDX-License-Identifier: Apache-2.0
"""Point arrays as the C++ core takes them."""

from __future__ import annotations

from typing import Any

import numpy as np

# A float64 or float32 array of the machine's byte order goes to the core as it is, whatever its
# strides; the core reads it in one pass.
_PASSED = (np.dtype(np.float64), np.dtype(np.float32))


def as_array(points: Any) -> np.ndarray:
    """The points as an (N, 3) float64 or float32 array, without a copy where they are one.

    Accepts any (N, 3) array-like of real numbers; integers and other float types become
    float64. Raises ValueError for anything else: other shapes, no rows, strings, booleans,
    complex numbers and objects.
    """
    try:
        array = np.asarray(points)
    except (ValueError, TypeError) as e:  # ragged nesting
        raise ValueError(f"points: expected an (N, 3) array of numbers ({e})") from None
    if array.dtype.kind not in "iuf":
        raise ValueError(f"points: expected numbers, got {array.dtype} values")
    if array.ndim != 2 or array.shape[1] != 3:
        raise ValueError(f"points: expected an (N, 3) array, got shape {array.shape}")
    if array.shape[0] == 0:
        raise ValueError("points: no rows")
    if array.dtype not in _PASSED:
        array = array.astype(np.float64)
    return array
