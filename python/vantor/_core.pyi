# SPDX-License-Identifier: Apache-2.0
# The C++ side of the package (python/src). Elements travel as a kind name and numbers in the
# order of the value types' parameters (python/src/elements.h).
from typing import Any, Dict, List, Optional, Sequence, Tuple

import numpy as np

# The criterion of the element fitted for a form value without a datum: "zone".
default_reference: str

def version() -> str: ...
def make_element(kind: str, numbers: Sequence[float]) -> List[float]: ...
def form(
    feature: str, points: np.ndarray, kind: str, datum: Sequence[float]
) -> Tuple[
    float, Optional[float], Optional[float], Optional[str], str, List[float], int, Optional[str]
]: ...
def filtered_form(
    feature: str, points: np.ndarray, cutoff: float
) -> Tuple[float, float, float, float, float, int, Optional[str], str, List[float]]: ...
def elements() -> List[Tuple[str, str, int, Tuple[str, ...], Tuple[Tuple[str, int], ...]]]: ...
def criteria() -> List[str]: ...
def fit(
    points: np.ndarray,
    element: str,
    criterion: str,
    direction: Optional[Sequence[float]],
    axis: Optional[Sequence[float]],
    max_tilt: float,
    time_budget: float,
    reject_beyond: float,
) -> Dict[str, Any]: ...
def reference_form(
    feature: str,
    points: np.ndarray,
    criterion: str,
    direction: Optional[Sequence[float]],
    axis: Optional[Sequence[float]],
    max_tilt: float,
    time_budget: float,
) -> Tuple[
    float,
    float,
    float,
    str,
    str,
    List[float],
    str,
    Optional[Dict[str, Any]],
    int,
    Optional[str],
]: ...
def verdict(value: float, nominal: float, lower: float, upper: float) -> Dict[str, Any]: ...
def load(path: str, columns: Optional[Sequence[str]]) -> Tuple[np.ndarray, str, int]: ...
def save(path: str, points: np.ndarray, text: bool, force: bool) -> int: ...
def polar_profile(
    points: np.ndarray, circle: Sequence[float]
) -> Tuple[np.ndarray, np.ndarray]: ...
def roundness_analysis(
    points: np.ndarray,
    kind: str,
    datum: Sequence[float],
    filter_upr: float,
    reference: Optional[str],
    harmonics: int,
) -> Tuple[Dict[str, Any], List[float]]: ...
def split_rows(
    points: np.ndarray,
    kind: str,
    axis: Sequence[float],
    rule: str,
    count: int,
    at: Sequence[float],
) -> Tuple[
    List[float], float, float, List[Tuple[np.ndarray, float, float, float, Optional[str]]]
]: ...
def location(
    tolerance: str,
    points: np.ndarray,
    datum: Sequence[float],
    second: Optional[np.ndarray],
    rule: str,
    count: int,
    at: Sequence[float],
) -> Tuple[float, float, int, List[float], np.ndarray]: ...
def common_datum_axis(
    first: np.ndarray, first_side: str, second: np.ndarray, second_side: str
) -> Tuple[List[float], str]: ...
def global_size(
    points: np.ndarray, element: str, criterion: str
) -> Tuple[float, str, int, np.ndarray, Tuple[float, ...]]: ...
def two_point_sizes(
    points: np.ndarray, element: str, rule: str, count: int, at: Sequence[float]
) -> Tuple[float, str, int, np.ndarray, Tuple[float, ...]]: ...
def section_sizes(
    points: np.ndarray, criterion: str, rule: str, count: int, at: Sequence[float]
) -> Tuple[float, str, int, np.ndarray, Tuple[float, ...]]: ...
def inspect(path: str) -> Dict[str, Any]: ...
def datum(
    kind: str, points: np.ndarray, side: str, outward: Sequence[float]
) -> Tuple[str, List[float], str, float]: ...
def datum_system(
    features: List[Tuple[str, np.ndarray, str, Sequence[float]]]
) -> Tuple[List[float], List[float], List[float], List[float], bool, str]: ...
def orientation(
    tolerance: str,
    points: np.ndarray,
    datum_kind: str,
    datum: Sequence[float],
    angle: float,
    rule: str,
    count: int,
    at: Sequence[float],
) -> Tuple[float, str, int, List[float], float, float, np.ndarray]: ...
def runout(
    tolerance: str,
    points: np.ndarray,
    datum: Sequence[float],
    rule: str,
    count: int,
    at: Sequence[float],
    radii: Sequence[float],
    half_width: float,
) -> Tuple[float, str, int, float, float, int, List[Tuple[float, int, float, float, float]]]: ...
