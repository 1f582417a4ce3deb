#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Runs `vantor roundness FILE --plot OUT.svg` and checks that the plot is well-formed XML (parsed
by the standard library's expat-based parser) with the profile, the four labelled reference
circles and the caption.

usage: check_svg.py PROGRAM POINT_FILE SCRATCH_DIR
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"


def main(program, points, scratch):
    os.makedirs(scratch, exist_ok=True)
    out = os.path.join(tempfile.mkdtemp(dir=scratch), "plot.svg")
    subprocess.run([program, "roundness", points, "--plot", out], check=True,
                   stdout=subprocess.DEVNULL)
    root = ET.parse(out).getroot()  # raises on XML that is not well-formed
    assert root.tag == SVG + "svg", root.tag
    assert root.get("width", "").endswith("mm"), root.get("width")

    paths = {p.get("id"): p for p in root.iter(SVG + "path")}
    assert "profile" in paths, "no profile"
    circles = [p for p in root.iter(SVG + "path") if p.get("class") == "reference-circle"]
    assert sorted(c.get("id") for c in circles) == ["LSC", "MCC", "MIC", "MZC"], circles
    for c in circles:
        assert c.get("d", "").startswith("M") and c.get("d").endswith("Z"), c.get("id")

    labels = sorted(t.text for t in root.iter(SVG + "text") if t.get("class") == "circle-label")
    assert labels == ["LSC", "MCC", "MIC", "MZC"], labels
    texts = " ".join(t.text or "" for t in root.iter(SVG + "text"))
    for words in ("Roundness 0.300000 mm about the minimum-zone circle", "Magnification \u00d750",
                  "least squares", "minimum zone", "maximum inscribed", "minimum circumscribed"):
        assert words in texts, words
    print("ok:", out)


if __name__ == "__main__":
    main(*sys.argv[1:4])
