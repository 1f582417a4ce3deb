# SPDX-License-Identifier: Apache-2.0
"""save() and load(): round trips, the program's text format, errors."""

import os
import subprocess
import sys

import numpy as np
import pytest

import vantor

ROWS = np.random.default_rng(5).normal(scale=1e3, size=(50, 3))
WITH_NAN = np.concatenate([ROWS[:3], [[np.nan, 1.0, 2.0]], ROWS[3:], [[np.nan] * 3]])


@pytest.mark.parametrize(
    "name,format,points,expected",
    [
        ("p.vpts", None, WITH_NAN, WITH_NAN),  # every row kept, NaN included
        ("p.bin", "element", ROWS.astype(np.float32), ROWS.astype(np.float32)),
        ("p.txt", None, ROWS, ROWS),  # shortest text that reads back to the same doubles
        ("p.CSV", None, WITH_NAN, ROWS),  # NaN rows left out of text
        ("p.vpts", "text", ROWS[::-2], ROWS[::-2]),
    ],
)
def test_round_trip(tmp_path, name, format, points, expected):
    path = tmp_path / name
    assert vantor.save(path, points, format=format) == len(expected)
    np.testing.assert_array_equal(vantor.load(path), expected.astype(np.float64))


def test_the_program_reads_what_save_writes(tool, tmp_path):
    path = str(tmp_path / "p.vpts")
    vantor.save(path, ROWS)
    assert tool("info", path)["format"] == "element"
    assert tool("info", path)["points"] == len(ROWS)


def test_text_as_the_program_reads_it(tmp_path):
    path = tmp_path / "p.txt"
    path.write_text("# probe\nX;Y;Z\n1.5 ; 2;3\n\n4\t5,6e-3  # note\n")
    np.testing.assert_array_equal(vantor.load(path), [[1.5, 2, 3], [4, 5, 6e-3]])


@pytest.mark.parametrize(
    "text,error,message",
    [
        (None, FileNotFoundError, "No such file"),
        ("x y z\n1 2 3\n4 5mm 6\n", ValueError, r"p.txt:3: malformed number '5mm' in field 2"),
        ("x y z\n", ValueError, "p.txt: no points"),
    ],
)
def test_load_errors(tmp_path, text, error, message):
    path = tmp_path / "p.txt"
    if text is not None:
        path.write_text(text)
    with pytest.raises(error, match=message):
        vantor.load(path)


def test_save_errors(tmp_path):
    with pytest.raises(ValueError, match="format: expected 'element' or 'text'"):
        vantor.save(tmp_path / "p", ROWS, format="csv")
    with pytest.raises(ValueError, match="no valid point"):
        vantor.save(tmp_path / "p.txt", [[np.nan, 0, 0]])
    with pytest.raises(OSError, match="cannot create"):
        vantor.save(tmp_path / "missing" / "p.vpts", ROWS)
    assert os.listdir(tmp_path) == []


@pytest.mark.parametrize("name", ["p.vpts", "p.txt", "link.vpts"])
def test_save_replaces_a_file_only_when_forced_and_then_by_renaming(tmp_path, name):
    path = tmp_path / name
    old = tmp_path / "old"
    old.write_text("kept\n")
    if name.startswith("link"):
        path.symlink_to(tmp_path / "nowhere")  # a dangling link is a file too
    else:
        os.link(old, path)
    with pytest.raises(FileExistsError) as refused:
        vantor.save(path, ROWS)
    assert refused.value.filename == str(path) and "force=True" in str(refused.value)
    assert os.path.lexists(path) and old.read_text() == "kept\n"
    assert vantor.save(path, ROWS, force=True) == len(ROWS)
    np.testing.assert_array_equal(vantor.load(path), ROWS)
    # A new file took the name: the old one, linked as `old`, was never written into.
    assert old.read_text() == "kept\n" and not os.path.islink(path)
    assert sorted(os.listdir(tmp_path)) == sorted([name, "old"])  # no temporary file left


def test_import_does_not_import_matplotlib():
    code = "import sys, vantor; sys.exit('matplotlib' in sys.modules)"
    assert subprocess.run([sys.executable, "-c", code]).returncode == 0


def test_read_chooses_columns_and_counts_nan_rows(tool, tmp_path):
    path = tmp_path / "p.csv"
    path.write_text('id,x,y,z\n"P1",1,2,3\nP2,nan,5,6\nP3,7,8,9,\n')
    got = vantor.read(path)
    assert (got.format, got.nan_rows) == ("text", 1)
    np.testing.assert_array_equal(got.points, [[1, 2, 3], [7, 8, 9]])
    assert tool("info", str(path))["nan_rows_skipped"] == 1
    np.testing.assert_array_equal(
        vantor.load(path, columns=["Z", "y", 2]), [[3, 2, 1], [9, 8, 7]]
    )
    with pytest.raises(ValueError, match="p.csv:1: no column named 'w'"):
        vantor.load(path, columns=["x", "y", "w"])


def test_read_a_ply_scan_as_the_program_does(tool, tmp_path):
    path = tmp_path / "scan.ply"
    header = (
        "ply\nformat binary_big_endian 1.0\nelement vertex 2\n"
        "property float x\nproperty float y\nproperty float z\nend_header\n"
    )
    rows = np.array([[1.5, 2, 3], [4, 5, -6]])
    path.write_bytes(header.encode() + rows.astype(">f4").tobytes())
    got = vantor.read(path)
    assert got.format == "ply"
    np.testing.assert_array_equal(got.points, rows)
    assert tool("info", str(path))["format"] == "ply"
