#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Checks that every source file of the project names its licence in an SPDX line near its top
(after a shebang): C++ sources and headers, Python, CMake and shell scripts.

Usage: check_licence.py SOURCE_DIR
"""
import os
import re
import sys

TAG = "SPDX-License-Identifier: Apache-2.0"
DIRECTORIES = ["include", "src", "geometry", "tools", "python", "tests", "benchmarks", "fuzz",
               "examples", "cmake", "scripts", ".ci"]
SOURCE = re.compile(r".*\.(h|hpp|cpp|c|py|pyi|cmake|in)$|CMakeLists\.txt$|^run$|^install-deps$")


def sources(root):
    for top in DIRECTORIES:
        for directory, subdirectories, names in os.walk(os.path.join(root, top)):
            # Test data and fuzz corpora are data, not sources.
            subdirectories[:] = [d for d in subdirectories
                                 if d not in ("data", "__pycache__") and "corpus" not in d]
            for name in names:
                if SOURCE.match(name):
                    yield os.path.join(directory, name)
    yield os.path.join(root, "CMakeLists.txt")


def main(root):
    missing = []
    for path in sources(root):
        with open(path, encoding="utf-8", errors="replace") as f:
            head = f.read(300)
        if TAG not in head:
            missing.append(os.path.relpath(path, root))
    for path in missing:
        print(f"{path}: no '{TAG}' line at its top")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
