#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Runs `vantor roundness FILE --filter 2 --spectrum OUT.svg --unit mm` and checks that the chart
is well-formed XML (parsed by the standard library's expat-based parser) with a bar for each
harmonic shown, the cutoff line and both axis titles.

usage: check_spectrum_svg.py PROGRAM POINT_FILE SCRATCH_DIR
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"


def main(program, points, scratch):
    os.makedirs(scratch, exist_ok=True)
    out = os.path.join(tempfile.mkdtemp(dir=scratch), "spectrum.svg")
    subprocess.run([program, "roundness", points, "--filter", "2", "--spectrum", out, "--unit",
                    "mm"], check=True, stdout=subprocess.DEVNULL)
    root = ET.parse(out).getroot()  # raises on XML that is not well-formed
    assert root.tag == SVG + "svg", root.tag

    # ring8 holds harmonics 1 to 4; with the cutoff at 2 UPR all four are shown.
    bars = [r.get("id") for r in root.iter(SVG + "rect") if r.get("class") == "harmonic"]
    assert bars == ["upr-1", "upr-2", "upr-3", "upr-4"], bars
    assert any(l.get("id") == "cutoff" for l in root.iter(SVG + "line")), "no cutoff line"
    titles = {t.get("id"): t.text for t in root.iter(SVG + "text") if t.get("id")}
    assert titles.get("upr-title") == "Undulations per revolution (UPR)", titles
    assert titles.get("amplitude-title") == "Amplitude (mm)", titles
    print("ok:", out)


if __name__ == "__main__":
    main(*sys.argv[1:4])
