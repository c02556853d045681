#!/usr/bin/env python3
"""Checks that every project include points down the layers.

Usage: check_layers.py [ROOT]   (ROOT defaults to the folder above this script)

Reads each #include "..." of the sources below ROOT, resolves it as the compiler would (the
including file's folder, then ROOT, then ROOT/tests for tests) and fails, naming file and line,
when the included file lies in a layer the including file may not use. Includes that resolve to
no file of the tree (Qt, system, generated) are not ours to check.
"""

import os
import re
import sys

# The one table of allowed directions. Each layer names its folders and the layers right below
# it; a layer may use everything below those as well. The build targets follow the same order:
# platform <- grid <- conf_common <- conf_gateway, conf_sides <- conf_shell <- the executable.
LAYERS = [
    # name            folders                                                    uses
    ("platform",      ["platform"],                                              []),
    # Inside the grid: model <- display <- editing <- exchange; dropdown may use model and
    # editing, but only the files in DROPDOWN_USERS may include dropdown.
    ("grid/model",    ["grid/model"],                                            ["platform"]),
    ("grid/display",  ["grid/display"],                                          ["grid/model"]),
    ("grid/editing",  ["grid/editing"],                                          ["grid/display"]),
    ("grid/exchange", ["grid/exchange"],                                         ["grid/editing"]),
    ("grid/dropdown", ["grid/dropdown"],                                         ["grid/model", "grid/editing"]),
    ("grid",          [],                                                        ["grid/exchange", "grid/dropdown"]),
    ("conf_common",   ["common", "resources", "gateway/table"],                  ["grid"]),
    ("conf_gateway",  ["gateway"],                                               ["conf_common"]),
    ("conf_sides",    ["sides"],                                                 ["conf_common"]),
    ("conf_shell",    ["shell"],                                                 ["conf_gateway", "conf_sides"]),
    ("app",           ["app"],                                                   ["conf_shell"]),
]

# The grid files that may include grid/dropdown although their layer does not reach it: the
# editor factory and the grid's constructor, which create the dropdown editors.
DROPDOWN_USERS = set()

# Folders whose sources are checked.
SOURCE_DIRS = ["platform", "grid", "common", "shell", "gateway", "sides", "resources", "app",
               "tests"]
SOURCE_EXTS = (".h", ".hpp", ".cpp", ".cc", ".inl")
# Test areas hold no sources here.
SKIP_DIRS = {"tests/fixtures"}

# A test area links the target of the folder it mirrors, so it is checked against that target;
# tests/support (the shared test entry and helpers) links only the platform.
TEST_SUPPORT = ("tests/support", "platform")

# Folders whose files moved; a file added there (say from an older branch) would silently build
# into the wrong layer.
MOVED = {"shell/common": "common", "shell/button": "common/button"}

# tests/grid/common (the grid areas' shared fixtures) links the whole grid.
TEST_GRID_COMMON = ("tests/grid/common", "grid")

# The grid's private state headers (*_p.h): one may be included only by its own layer and the
# layers above it in this order, a test by the area it mirrors (tests/grid/common, shared by every
# area, counts as the lowest). No file outside the grid includes one.
GRID_PRIVATE_ORDER = ["grid/model", "grid/display", "grid/editing", "grid/exchange"]
TEST_GRID_COMMON_PRIVATE = "grid/model"

# The editors and the drop-down reach the grid through IGridEditorHost only: they include no
# private header at all.
NO_PRIVATE_FILES = {"grid/editing/" + name for name in
                    ("QrlInplaceEdit", "QrlGridCombo", "QrlGridSpin", "QrlGridEditors",
                     "QsgComboBox", "QsgSpinEdit")}
NO_PRIVATE_DIRS = ["grid/dropdown"]
# Nor is a class of theirs a friend of a grid class: friendship would let it past the host.
NO_FRIEND_DIRS = ["grid/editing", "grid/dropdown"]
FRIEND_RE = re.compile(r'^\s*friend\s+(?:class|struct)\s+(\w+)\s*;')

# Sub-layers that a test links only as part of their whole target.
TARGET_OF = {name: "grid" for name, _, _ in LAYERS if name.startswith("grid/")}

INCLUDE_RE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def closure():
    """Each layer -> the set of layers it may use, itself included."""
    uses = {name: deps for name, _, deps in LAYERS}
    result = {}

    def reach(name, seen):
        for dep in uses[name]:
            if dep not in seen:
                seen.add(dep)
                reach(dep, seen)
        return seen

    for name in uses:
        result[name] = reach(name, {name})
    return result


def folder_table():
    """(folder, layer) pairs, longest folder first, so an inner folder wins."""
    pairs = [(folder, name) for name, folders, _ in LAYERS for folder in folders]
    return sorted(pairs, key=lambda p: -len(p[0]))


FOLDERS = folder_table()
ALLOWED = closure()


def source_layer(rel):
    """The layer of a non-test source path relative to the root; None when no folder holds it."""
    for folder, name in FOLDERS:
        if rel.startswith(folder + "/"):
            return name
    return None


def layer_of(rel):
    """The layer a file is checked as: its own, or for a test the target its area links."""
    if rel.startswith(TEST_SUPPORT[0] + "/"):
        return TEST_SUPPORT[1]
    if rel.startswith(TEST_GRID_COMMON[0] + "/"):
        return TEST_GRID_COMMON[1]
    if rel.startswith("tests/"):
        layer = source_layer(rel[len("tests/"):])
        return TARGET_OF.get(layer, layer)
    return source_layer(rel)


def private_layer(rel):
    """The layer whose private headers rel may include, for the private-header rule."""
    if rel.startswith(TEST_GRID_COMMON[0] + "/"):
        return TEST_GRID_COMMON_PRIVATE
    if rel.startswith("tests/"):
        rel = rel[len("tests/"):]
    return source_layer(rel)


def private_problem(rel, included):
    """Why rel may not include the private header included; None when it may."""
    if not included.endswith("_p.h"):
        return None
    owner = source_layer(included)
    if owner not in GRID_PRIVATE_ORDER:
        return None
    stem = os.path.splitext(rel[len("tests/"):] if rel.startswith("tests/") else rel)[0]
    if stem in NO_PRIVATE_FILES or any(stem.startswith(d + "/") for d in NO_PRIVATE_DIRS):
        return "an editor or the drop-down includes no private header; use IGridEditorHost"
    own = private_layer(rel)
    if own not in GRID_PRIVATE_ORDER:
        return f"a private header of {owner} is for the grid's own files only"
    if GRID_PRIVATE_ORDER.index(own) < GRID_PRIVATE_ORDER.index(owner):
        return f"a private header of {owner} is for {owner} and the layers above, not {own}"
    return None


def resolve(root, rel, target):
    """The included file relative to root, or None when it is not a file of the tree."""
    here = os.path.dirname(rel)
    candidates = [os.path.join(here, target), target]
    if rel.startswith("tests/"):
        candidates.append(os.path.join("tests", target))
    for cand in candidates:
        cand = os.path.normpath(cand)
        if cand.startswith(".."):
            continue
        if os.path.isfile(os.path.join(root, cand)):
            return cand.replace(os.sep, "/")
    return None


def sources(root):
    for top in SOURCE_DIRS:
        for dirpath, dirnames, filenames in os.walk(os.path.join(root, top)):
            rel_dir = os.path.relpath(dirpath, root).replace(os.sep, "/")
            dirnames[:] = sorted(d for d in dirnames if f"{rel_dir}/{d}" not in SKIP_DIRS)
            for name in sorted(filenames):
                if name.endswith(SOURCE_EXTS):
                    yield f"{rel_dir}/{name}"


def check(root):
    problems = []
    count = 0
    for rel in sources(root):
        moved = [(old, new) for old, new in MOVED.items()
                 if rel.startswith(old + "/") or rel.startswith(f"tests/{old}/")]
        if moved:
            old, new = moved[0]
            problems.append(f"{rel}:1: {old}/ moved to {new}/; put the file there")
            continue
        own = layer_of(rel)
        if own is None:
            problems.append(f"{rel}:1: no layer holds this folder; add it to LAYERS in "
                            f"scripts/check_layers.py")
            continue
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE_RE.match(line)
                if not m:
                    continue
                included = resolve(root, rel, m.group(1))
                if included is None:
                    continue
                count += 1
                other = layer_of(included)
                if other is None:
                    problems.append(f"{rel}:{number}: includes \"{m.group(1)}\", which no "
                                    f"layer holds")
                    continue
                if other == "grid/dropdown" and rel in DROPDOWN_USERS:
                    continue
                if other not in ALLOWED[own]:
                    problems.append(f"{rel}:{number}: includes \"{m.group(1)}\" ({other}), "
                                    f"but {own} may only use "
                                    f"{', '.join(sorted(ALLOWED[own]))}")
                    continue
                why = private_problem(rel, included)
                if why:
                    problems.append(f"{rel}:{number}: includes \"{m.group(1)}\": {why}")
    return problems, count


def friend_problems(root):
    """Classes defined in NO_FRIEND_DIRS that a grid header names as a friend."""
    friends = {}
    for rel in sources(root):
        if rel.startswith("grid/") and rel.endswith(".h"):
            with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
                for line in f:
                    m = FRIEND_RE.match(line)
                    if m:
                        friends.setdefault(m.group(1), rel)
    problems = []
    if not friends:
        return problems
    define = re.compile(r'^\s*(?:class|struct)\s+(' + "|".join(map(re.escape, friends)) +
                        r')\b(?!\s*;)')
    for rel in sources(root):
        if not any(rel.startswith(d + "/") for d in NO_FRIEND_DIRS):
            continue
        with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = define.match(line)
                if m:
                    problems.append(f"{rel}:{number}: defines {m.group(1)}, a friend in "
                                    f"{friends[m.group(1)]}; editors and the drop-down use "
                                    f"IGridEditorHost")
    return problems


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if not os.path.isdir(root):
        print(f"check_layers: no folder {root}", file=sys.stderr)
        return 2
    problems, count = check(root)
    problems += friend_problems(root)
    for p in problems:
        print(p)
    if problems:
        print(f"check_layers: {len(problems)} include(s) point the wrong way", file=sys.stderr)
        return 1
    print(f"check_layers: {count} includes point down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
