#!/usr/bin/env python3
"""Shows that check_cell_deletes.py finds a delete outside the cell objects' owner.

Usage: check_cell_deletes_bite.py PATH/TO/check_cell_deletes.py

Builds a small grid tree whose deletes are all allowed, checks that it passes, then adds one
wrong delete per case and expects the check to fail naming that file and line.
"""

import os
import subprocess
import sys
import tempfile

# A tree that passes: the owner frees, widgets go through their QPointer, members are deleted
# declarations, and the word in comments and strings is no expression.
GOOD_TREE = {
    "grid/model/QrlBaseGrid.cpp": "void f(P *p) { delete p->GraphicObject(); delete p; }\n",
    "grid/model/QrlStringGrid_p.h": "struct S { S(const S &) = delete; };\n"
                                    "void g(QPointer<QWidget> w) { delete w.data(); }\n",
    "grid/display/QrlStringGrid_graphics.cpp": "// delete old graphics through the owner\n"
                                               "const char *s = \"delete g;\";\n"
                                               "bool deleted = false; int undelete = 0;\n",
    "grid/editing/Keys.h": "/* never delete\n   here */\n",
    "tests/grid/test_x.cpp": "void h(int *p) { delete p; }\n",
}

# file, the line added at its end
WRONG = [
    ("grid/display/QrlStringGrid_graphics.cpp", "void r(TCellGraphic *g) { delete g; }"),
    ("grid/model/QrlStringGrid_p.h", "inline void k(TCellProperties *p) { delete p; }"),
    ("grid/editing/Keys.h", "void a(int *x) { delete[] x; }"),
    ("grid/editing/Keys.h", "void b(P *p) { delete p->GraphicObject(); }"),
    ("grid/editing/Keys.h", "void c(P *p) { if (p) delete(p); }"),
]


def write_tree(root, extra=None):
    for rel, text in GOOD_TREE.items():
        if extra and rel == extra[0]:
            text += extra[1] + "\n"
        path = os.path.join(root, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)


def run(check, root):
    return subprocess.run([sys.executable, check, root], capture_output=True, text=True)


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    check = argv[1]
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        good = os.path.join(tmp, "good")
        write_tree(good)
        result = run(check, good)
        if result.returncode != 0 or result.stdout:
            print(f"the tree without a wrong delete fails:\n{result.stdout}{result.stderr}")
            failures += 1
        for index, (rel, code) in enumerate(WRONG):
            root = os.path.join(tmp, f"case{index}")
            write_tree(root, (rel, code))
            line = GOOD_TREE[rel].count("\n") + 1
            result = run(check, root)
            lines = result.stdout.splitlines()
            if result.returncode != 1 or len(lines) != 1 or not lines[0].startswith(f"{rel}:{line}: "):
                print(f"{rel} with `{code}`: expected one failure naming {rel}:{line}, got exit "
                      f"{result.returncode}:\n{result.stdout}{result.stderr}")
                failures += 1
    if failures:
        print(f"check_cell_deletes_bite: {failures} case(s) not caught as expected")
        return 1
    print(f"check_cell_deletes_bite: all {len(WRONG)} wrong deletes caught")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
