# SPDX-License-Identifier: Apache-2.0
"""Inspection plans: every tolerance of a drawing evaluated from the measured points."""
from __future__ import annotations

import os
from typing import Any, Dict, Union

from . import _core


def inspect(plan: Union[str, "os.PathLike[str]"]) -> Dict[str, Any]:
    """Evaluates the inspection plan (JSON) at `plan`, as `vantor --json inspect PLAN` does.

    The plan names the features (a point file each, or rows of one; the element and its
    material side), and the tolerances with their datums and limits (docs/inspection.md).
    Returns the same report as a dict: "plan", "unit" when the plan states one, "tolerances"
    (one dict each: tolerance, feature, datums, value, lower, upper, within, status) and "out",
    the number outside their limits. Raises EvaluationError naming the plan's line for a plan
    that is not allowed or a tolerance that cannot be evaluated.
    """
    return _core.inspect(os.fspath(plan))
