#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Checks that what an application links (the libraries, the program, the Python module) needs
only the system's C and C++ runtime, the sanitizer runtimes and vantor's own libraries: any
other shared library (a GPL one such as FFTW or GLPK, or any new dependency) must be reviewed
and added here, with its licence in THIRD-PARTY-NOTICES.md.

Usage: check_links.py BINARY...   (READELF in the environment, else readelf)
"""
import os
import re
import subprocess
import sys

ALLOWED = re.compile(
    r"^(libc|libm|libstdc\+\+|libgcc_s|libpthread|libdl|librt|libvantor|libspanto"
    r"|libasan|libubsan|liblsan|libtsan|ld-linux[-\w]*)\.so(\.[\w.]+)?$")


def needed(path):
    readelf = os.environ.get("READELF") or "readelf"
    out = subprocess.run([readelf, "-d", path], check=True, capture_output=True, text=True).stdout
    return re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", out)


def main(paths):
    bad = []
    for path in paths:
        libraries = needed(path)
        if not libraries:
            bad.append(f"{path}: no NEEDED entries read (not a dynamic ELF file?)")
        bad += [f"{path} needs {lib}" for lib in libraries if not ALLOWED.match(lib)]
    for line in bad:
        print(line)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
