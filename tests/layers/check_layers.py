#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Checks that the library's layers depend only downwards (docs/ARCHITECTURE.md).

    check_layers.py SOURCE_DIR [OBJECT ...]

Includes: every #include of the library's sources and headers, of the public headers, of the
front end (front/), of the command-line program (tools/) and of the Python module (python/src) is
resolved to a file of the tree and must not point to a higher layer. Public headers include only
public headers; the front end includes only public headers and its own, and no CLI11 (nor does
its CMakeLists.txt link it); the program includes only public headers, the front end's and its
own; the Python module the same with its own; the pure numerics include no vantor or spanto
header but the geometry layer's constants.

Symbols (when object files of the library are given): no object may use a symbol that only a
higher layer defines, which catches what includes cannot, such as a function declared in a low
layer but defined in a higher one.

Prints each violation and exits with status 1 when there is one.
"""

import os
import re
import subprocess
import sys

LAYERS = ["geometry", "core", "actual", "numeric", "fit", "form", "umbrella", "front", "tools",
          "python"]

# The directories of the layers above the library, and what each may include besides the public
# headers: its own files and those of the directories listed.
APPLICATIONS = {
    "front": ("front", []),
    "tools": ("tools", ["front"]),
    "python": ("python/src", ["front"]),
}

# The public headers of vantor and the layer whose sources implement each.
PUBLIC_HEADERS = {
    "export.h": "core",
    "version.h": "core",
    "element.h": "core",
    "actual.h": "actual",
    "point_file.h": "actual",
    "substitute.h": "fit",
    "fit.h": "fit",
    "datum.h": "fit",
    "feature.h": "form",
    "filtered_form.h": "form",
    "roundness_analysis.h": "form",
    "sections.h": "form",
    "orientation.h": "form",
    "location.h": "form",
    "size.h": "form",
    "vantor.h": "umbrella",
}

# The only geometry header the pure numerics may include: constants, no types.
NUMERIC_MAY_INCLUDE = {"geometry/include/spanto/tolerance.h"}

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.M)


def layer_of(path):
    """The layer of a file given relative to the source tree; None when it has none."""
    parts = path.split("/")
    if parts[0] == "geometry":
        return "geometry"
    if parts[0] == "src" and len(parts) > 2 and parts[1] in LAYERS:
        return parts[1]
    if parts[:2] == ["include", "vantor"]:
        return PUBLIC_HEADERS.get(parts[2])
    for layer, (directory, _) in APPLICATIONS.items():
        if path.startswith(directory + "/"):
            return layer
    return None


def is_public(path):
    return path.startswith("include/vantor/") or path.startswith("geometry/include/")


def checked_files(root):
    tops = ["geometry", "src", "include/vantor"] + [d for d, _ in APPLICATIONS.values()]
    for top in tops:
        for directory, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(directory, name), root)


def resolve(root, including, name):
    """The tree file an include names, relative to root; None for a header outside the tree.
    The directories of an application's include path come first; the others after them, so that
    an include its build could not find still counts as the violation it is."""
    layer = layer_of(including)
    own = [APPLICATIONS[layer][0]] + APPLICATIONS[layer][1] if layer in APPLICATIONS else ["src"]
    others = ["src"] + [d for d, _ in APPLICATIONS.values()]
    for base in [os.path.dirname(including)] + own + ["include", "geometry/include"] + others:
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def may_include(layer):
    """The directories of the tree whose files an application layer may include."""
    directory, others = APPLICATIONS[layer]
    return [directory] + others


def link_violations(root):
    """The front end's CMakeLists.txt must not link CLI11."""
    with open(os.path.join(root, "front", "CMakeLists.txt"), encoding="utf-8") as f:
        text = f.read()
    if re.search(r"CLI11::|find_package\(\s*CLI11", text):
        return ["front/CMakeLists.txt links CLI11: the front end parses no command line"]
    return []


def include_violations(root):
    problems = []
    checked = 0
    for path in checked_files(root):
        source = layer_of(path)
        if source is None:
            problems.append(f"{path}: no layer for this file; add it to check_layers.py")
            continue
        with open(os.path.join(root, path), encoding="utf-8") as f:
            text = f.read()
        for name in INCLUDE.findall(text):
            if source == "front" and name.startswith("CLI/"):
                problems.append(f"{path} includes {name}: the front end parses no command line")
                continue
            target = resolve(root, path, name)
            if target is None:
                continue
            checked += 1
            layer = layer_of(target)
            what = f"{path} includes {target}"
            if layer is None:
                problems.append(f"{what}, which belongs to no layer")
            elif LAYERS.index(layer) > LAYERS.index(source):
                problems.append(f"{what}: {source} must not depend on {layer}")
            elif is_public(path) and not is_public(target):
                problems.append(f"{what}: a public header includes only public headers")
            elif source in APPLICATIONS and not (is_public(target) or any(
                    target.startswith(d + "/") for d in may_include(source))):
                allowed = " and ".join(may_include(source))
                problems.append(f"{what}: {source} includes public headers and {allowed}'s only")
            elif (source == "numeric" and layer != "numeric"
                  and target not in NUMERIC_MAY_INCLUDE):
                problems.append(f"{what}: the pure numerics use no vantor or spanto types")
    return problems, checked


def object_layer(path):
    """The layer of an object file of the library, from the source path CMake mirrors."""
    parts = path.replace("\\", "/").split("/")
    for layer in LAYERS:
        if layer in parts[:-1]:
            return layer
    return None


def symbols(nm, path):
    """(defined, undefined) global symbols of an object file, mangled."""
    out = subprocess.run([nm, "-P", "-g", path], check=True, capture_output=True,
                         text=True).stdout
    defined, undefined = set(), set()
    for line in out.splitlines():
        fields = line.split()
        if len(fields) < 2:
            continue
        name, kind = fields[0], fields[1]
        (undefined if kind in ("U", "w", "v") else defined).add(name)
    return defined, undefined


def demangle(name):
    try:
        return subprocess.run(["c++filt", name], check=True, capture_output=True,
                              text=True).stdout.strip()
    except OSError:
        return name


def symbol_violations(objects, nm):
    lowest = {}  # symbol -> index of the lowest layer defining it
    uses = []
    for path in objects:
        layer = object_layer(path)
        if layer is None:
            return [f"{path}: no layer for this object"]
        defined, undefined = symbols(nm, path)
        for name in defined:
            lowest[name] = min(lowest.get(name, len(LAYERS)), LAYERS.index(layer))
        uses.append((path, layer, undefined))
    problems = []
    for path, layer, undefined in uses:
        for name in sorted(undefined):
            if name in lowest and lowest[name] > LAYERS.index(layer):
                problems.append(f"{os.path.basename(path)} ({layer}) uses {demangle(name)}, "
                                f"defined only in {LAYERS[lowest[name]]}")
    return problems


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    # CMake passes the objects of $<TARGET_OBJECTS:...> as one list separated by ';'.
    root, objects = argv[1], [o for arg in argv[2:] for o in arg.split(";") if o]
    problems, includes = include_violations(root)
    problems += link_violations(root)
    if objects:
        problems += symbol_violations(objects, os.environ.get("NM", "nm"))
    for p in problems:
        print(p)
    print(f"{includes} includes and {len(objects)} objects checked: "
          f"{len(problems)} violation(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
