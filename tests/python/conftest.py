# SPDX-License-Identifier: Apache-2.0
"""Shared by the package's tests: the command-line program and its sample measurements, which
CTest names in VANTOR_PROGRAM and VANTOR_SAMPLES."""

import json
import os
import subprocess

import pytest

import vantor

SAMPLES = os.environ.get("VANTOR_SAMPLES", "")


def sample(name):
    """The points of a sample measurement of tools/samples."""
    if not SAMPLES:
        pytest.skip("VANTOR_SAMPLES is not set (run the tests through CTest)")
    return vantor.load(os.path.join(SAMPLES, name))


@pytest.fixture
def tool():
    """Runs the vantor program with --json and returns the parsed report; `status` is the exit
    status expected (1: outside the tolerance given)."""
    program = os.environ.get("VANTOR_PROGRAM")
    if not program:
        pytest.skip("VANTOR_PROGRAM is not set (run the tests through CTest)")

    def run(*args, status=0):
        done = subprocess.run([program, *args, "--json"], capture_output=True, text=True)
        assert done.returncode == status, done.stderr
        return json.loads(done.stdout)

    return run
