#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Checks that check_layers.py finds each kind of violation of the layers above the library: in a
small tree of its own that passes, one planted include (or link) at a time must fail it.

    check_layers_test.py
"""

import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_layers  # noqa: E402

# A tree that passes: each layer includes what it may.
CLEAN = {
    "include/vantor/fit.h": "",
    "src/fit/internal.h": "",
    "front/own.h": "#include <vantor/fit.h>\n",
    "front/a.cpp": '#include "own.h"\n#include <nlohmann/json.hpp>\n',
    "front/CMakeLists.txt": "target_link_libraries(vantor_front PUBLIC vantor::vantor)\n",
    "tools/tool_own.h": "#include <CLI/CLI.hpp>\n",
    "tools/b.cpp": '#include <vantor/fit.h>\n#include "own.h"\n#include "tool_own.h"\n',
    "python/src/py_own.h": "",
    "python/src/c.cpp": '#include <vantor/fit.h>\n#include "own.h"\n#include "py_own.h"\n',
}

# Each planted violation: the file and the line added to it.
PLANTED = [
    ("front/a.cpp", '#include "tool_own.h"'),  # the program
    ("front/a.cpp", '#include "py_own.h"'),  # the Python module
    ("front/a.cpp", '#include "fit/internal.h"'),  # the library's internals
    ("front/a.cpp", "#include <CLI/CLI.hpp>"),  # CLI11
    ("front/CMakeLists.txt", "target_link_libraries(vantor_front PRIVATE CLI11::CLI11)"),
    ("tools/b.cpp", '#include "fit/internal.h"'),
    ("tools/b.cpp", '#include "py_own.h"'),
    ("python/src/c.cpp", '#include "fit/internal.h"'),
    ("python/src/c.cpp", '#include "tool_own.h"'),
]


def problems(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        found, _ = check_layers.include_violations(root)
        return found + check_layers.link_violations(root)


def main():
    failures = []
    clean = problems(CLEAN)
    if clean:
        failures.append(f"the clean tree fails: {clean}")
    for path, line in PLANTED:
        files = dict(CLEAN)
        files[path] += line + "\n"
        found = problems(files)
        if not any(p.startswith(path) for p in found):
            failures.append(f"{line!r} in {path} passes: {found}")
    for f in failures:
        print(f)
    print(f"{len(PLANTED)} planted violations: {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
