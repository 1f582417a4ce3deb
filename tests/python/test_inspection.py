# SPDX-License-Identifier: Apache-2.0
"""vantor.inspect: the program's inspection report, the same numbers, the same refusals."""
import os

import pytest

import vantor
from conftest import SAMPLES


def flange_plan():
    if not SAMPLES:
        pytest.skip("VANTOR_SAMPLES is not set (run the tests through CTest)")
    return os.path.join(SAMPLES, "..", "..", "examples", "flange", "plan.json")


def test_inspect_gives_the_programs_report(tool):
    # One bolt hole lies outside its position tolerance: the program exits with 1.
    report = vantor.inspect(flange_plan())
    assert report == tool("inspect", flange_plan(), status=1)
    assert report["out"] == 1 and len(report["tolerances"]) == 14


def test_a_bad_plan_raises_naming_its_line(tmp_path):
    plan = tmp_path / "plan.json"
    plan.write_text('{\n  "features": {"A": {"points": "a.txt", "element": "plane"}},\n'
                    '  "tolerances": [{"tolerance": "flatness", "feature": "A", "limit": 1}]\n}\n')
    with pytest.raises(vantor.EvaluationError) as raised:
        vantor.inspect(plan)
    assert str(raised.value).startswith(f"{plan}:2: feature A: a plane needs \"outward\"")
    assert raised.value.status == "refused"
