#!/usr/bin/env python3
"""Checks that grid code frees cell objects only in their owner.

Usage: check_cell_deletes.py [ROOT]   (ROOT defaults to the folder above this script)

A cell object is what a cell slot holds or points to: cell properties and cell graphics. The
base grid owns them (grid/model/QrlBaseGrid.cpp stores, replaces and frees them), so any other
`delete` expression in grid/ is a fault, naming file and line, unless it is listed below or
deletes a QPointer's target (`delete x.data()`): a QPointer only ever guards a QObject, i.e. a
widget or timer of the grid, never a cell object.
"""

import os
import re
import sys

# file -> why its deletes are not of cell objects held elsewhere. Keep this short.
ALLOWED = {
    "grid/model/QrlBaseGrid.cpp": "the owner: frees cell properties and cell graphics",
    "grid/model/QrlCellGraphic.h": "a graphic's reference frees the bitmap or icon it holds",
    "grid/editing/QrlStringGrid_editor.cpp": "the grid's two text editor widgets",
    "grid/display/QrlStringGrid_displaystate.cpp": "the deleter of the grid's display state",
    "grid/editing/QrlStringGrid_editstate.cpp": "the deleter of the grid's editing state",
}

DELETE = re.compile(r"\bdelete\b(\s*\[\s*\])?")
# `= delete` of special members is no expression.
DELETED_MEMBER = re.compile(r"=\s*delete\b")
QPOINTER_TARGET = re.compile(r"\bdelete\s+[\w.\->\[\]()]*\.data\(\)\s*;")


def strip_comments_and_strings(text):
    """The text with comments and string literals blanked, line breaks kept."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("".join("\n" if ch == "\n" else " " for ch in text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + " " * (min(j, n) - i - 1) + (c if j < n else ""))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def faults(root):
    found = []
    grid = os.path.join(root, "grid")
    for folder, _, files in os.walk(grid):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root).replace(os.sep, "/")
            if rel in ALLOWED:
                continue
            with open(path, encoding="utf-8", errors="replace") as f:
                code = strip_comments_and_strings(f.read())
            for number, line in enumerate(code.splitlines(), 1):
                rest = DELETED_MEMBER.sub("", line)
                rest = QPOINTER_TARGET.sub("", rest)
                if DELETE.search(rest):
                    found.append(f"{rel}:{number}: deletes outside the cell objects' owner: "
                                 f"{line.strip()}")
    return sorted(found)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    found = faults(os.path.abspath(root))
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
