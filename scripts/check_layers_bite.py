#!/usr/bin/env python3
"""Shows that check_layers.py finds a wrong-way include.

Usage: check_layers_bite.py PATH/TO/check_layers.py

Builds a small tree whose includes all point down the layers, checks that it passes, then adds
one wrong-way include (or one befriended class defined by an editor) per case and expects the
check to fail naming that file and line.
"""

import os
import subprocess
import sys
import tempfile

# A tree that passes: each file includes one below it.
GOOD_TREE = {
    "platform/ui/Canvas.h": "#pragma once\n",
    "grid/model/Types.h": '#pragma once\n#include "platform/ui/Canvas.h"\n',
    "grid/display/Paint.h": '#pragma once\n#include "grid/model/Types.h"\n',
    "grid/editing/Keys.h": '#pragma once\n#include "grid/display/Paint.h"\n',
    "grid/exchange/Clip.h": '#pragma once\n#include "grid/editing/Keys.h"\n',
    "grid/dropdown/Popup.h": '#pragma once\n#include "grid/editing/Keys.h"\n#include "grid/model/Types.h"\n',
    "common/UComon.h": '#pragma once\n#include "grid/dropdown/Popup.h"\n',
    "common/button/LbButton.h": '#pragma once\n#include "common/UComon.h"\n',
    "gateway/table/UTableFiles.h": '#pragma once\n#include "common/UComon.h"\n',
    "gateway/UParGen.h": '#pragma once\n#include "gateway/table/UTableFiles.h"\n',
    "sides/building/UEde.h": '#pragma once\n#include "common/button/LbButton.h"\n',
    "shell/UMain.h": '#pragma once\n#include "gateway/UParGen.h"\n#include "sides/building/UEde.h"\n',
    "app/main.cpp": '#include "shell/UMain.h"\n#include <QApplication>\n',
    "tests/support/Helper.h": '#pragma once\n#include "platform/ui/Canvas.h"\n',
    "tests/common/test_comon.cpp": '#include "support/Helper.h"\n#include "common/UComon.h"\n',
    "tests/gateway/table/test_table.cpp": '#include "support/Helper.h"\n#include "gateway/table/UTableFiles.h"\n',
    "tests/grid/common/Window.h": '#pragma once\n#include "grid/editing/Keys.h"\n',
    "tests/grid/model/test_types.cpp": '#include "grid/common/Window.h"\n#include "grid/model/Types.h"\n',
    # Private state headers, each included by its own layer, the layers above, and their tests.
    "grid/model/State_p.h": '#pragma once\n#include "grid/model/Types.h"\n',
    "grid/model/Lines.cpp": '#include "grid/model/State_p.h"\n',
    "grid/display/State_display_p.h": '#pragma once\n#include "grid/model/State_p.h"\n',
    "grid/display/Scroll.cpp": '#include "grid/display/State_display_p.h"\n',
    "grid/editing/EditorHost.h": '#pragma once\n#include "grid/model/Types.h"\n',
    "grid/editing/State_editing_p.h": '#pragma once\n#include "grid/display/State_display_p.h"\n',
    "grid/editing/Mouse.cpp": '#include "grid/editing/State_editing_p.h"\n',
    "grid/editing/QrlInplaceEdit.cpp": '#include "grid/editing/EditorHost.h"\n',
    "grid/editing/QrlGridCombo.cpp": '#include "grid/editing/EditorHost.h"\n',
    "grid/exchange/State_exchange_p.h": '#pragma once\n#include "grid/editing/State_editing_p.h"\n',
    "grid/exchange/Settings.cpp": '#include "grid/exchange/State_exchange_p.h"\n',
    "grid/dropdown/List.cpp": '#include "grid/editing/EditorHost.h"\n',
    "tests/grid/display/test_scroll.cpp": '#include "grid/display/State_display_p.h"\n',
    "tests/grid/editing/test_mouse.cpp": '#include "grid/editing/State_editing_p.h"\n',
    # A friend of the grid defined in the model.
    "grid/model/Grid.h": '#pragma once\nclass TGrid\n{\n    friend class TSortSource;\n};\n',
    "grid/model/Sort.cpp": '#include "grid/model/Grid.h"\nclass TSortSource\n{\n};\n',
}

# file, the wrong-way include added to it as its last line
WRONG = [
    ("platform/ui/Canvas.h", "grid/model/Types.h"),               # platform uses the grid
    ("grid/model/Types.h", "grid/display/Paint.h"),               # model uses display
    ("grid/display/Paint.h", "grid/editing/Keys.h"),              # display uses editing
    ("grid/editing/Keys.h", "grid/exchange/Clip.h"),              # editing uses exchange
    ("grid/exchange/Clip.h", "grid/dropdown/Popup.h"),            # only allowed files use dropdown
    ("grid/model/Types.h", "grid/dropdown/Popup.h"),              # the model never uses dropdown
    ("grid/dropdown/Popup.h", "grid/exchange/Clip.h"),            # dropdown uses only model, editing
    ("grid/model/Types.h", "common/UComon.h"),                    # the grid uses the program
    ("common/UComon.h", "gateway/UParGen.h"),                     # common uses a gateway dialog
    ("common/UComon.h", "shell/UMain.h"),                         # the foundation uses the top
    ("common/button/LbButton.h", "shell/UMain.h"),                # so does its button folder
    ("gateway/table/UTableFiles.h", "gateway/UParGen.h"),         # sub-folder of its own layer
    ("sides/building/UEde.h", "shell/UMain.h"),                   # a writer uses the main window
    ("gateway/UParGen.h", "sides/building/UEde.h"),               # siblings stay apart
    ("tests/gateway/table/test_table.cpp", "gateway/UParGen.h"),  # a test above its target
    ("tests/support/Helper.h", "common/UComon.h"),                # shared test code above platform
    ("tests/common/test_comon.cpp", "gateway/UParGen.h"),         # a foundation test above common
    ("tests/grid/common/Window.h", "common/UComon.h"),            # shared grid test code above grid
    # A private header goes only to its own layer and those above, tests by the area they mirror.
    ("grid/model/Lines.cpp", "grid/display/State_display_p.h"),   # model reads display state
    ("grid/model/Lines.cpp", "grid/editing/State_editing_p.h"),   # model reads editing state
    ("grid/display/Scroll.cpp", "grid/editing/State_editing_p.h"),  # display reads editing state
    ("grid/editing/Mouse.cpp", "grid/exchange/State_exchange_p.h"),  # editing reads exchange state
    ("tests/grid/model/test_types.cpp", "grid/display/State_display_p.h"),  # model test
    ("tests/grid/display/test_scroll.cpp", "grid/editing/State_editing_p.h"),  # display test
    ("tests/grid/common/Window.h", "grid/display/State_display_p.h"),  # shared by every area
    ("common/UComon.h", "grid/model/State_p.h"),                  # outside the grid
    # The editors and the drop-down include no private header, not even the model's.
    ("grid/editing/QrlInplaceEdit.cpp", "grid/model/State_p.h"),
    ("grid/editing/QrlGridCombo.cpp", "grid/editing/State_editing_p.h"),
    ("grid/dropdown/List.cpp", "grid/model/State_p.h"),
    ("grid/dropdown/Popup.h", "grid/editing/State_editing_p.h"),
]

# Files where a befriended class gets defined: an editor or the drop-down may not be a friend.
FRIENDS = ["grid/editing/QrlGridCombo.cpp", "grid/dropdown/List.cpp"]

# Files left in a folder that moved: each must fail by itself, includes or not.
MOVED = ["shell/common/UNew.h", "shell/button/LbNew.cpp", "tests/shell/common/test_new.cpp"]


def write_tree(root, extra=None):
    for rel, text in GOOD_TREE.items():
        if extra and rel == extra[0]:
            text += f'#include "{extra[1]}"\n'
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
        if result.returncode != 0:
            print(f"the tree without a wrong-way include fails:\n{result.stdout}{result.stderr}")
            failures += 1
        for index, (rel, target) in enumerate(WRONG):
            root = os.path.join(tmp, f"case{index}")
            write_tree(root, (rel, target))
            line = GOOD_TREE[rel].count("\n") + 1
            result = run(check, root)
            expected = f'{rel}:{line}: includes "{target}"'
            found = [l for l in result.stdout.splitlines() if l.startswith(expected)]
            if result.returncode != 1 or len(found) != 1 or len(result.stdout.splitlines()) != 1:
                print(f"{rel} including {target}: expected one failure naming {expected}, got "
                      f"exit {result.returncode}:\n{result.stdout}{result.stderr}")
                failures += 1
        for index, rel in enumerate(FRIENDS):
            root = os.path.join(tmp, f"friend{index}")
            write_tree(root)
            with open(os.path.join(root, rel), "a", encoding="utf-8") as f:
                f.write("class TSortSource : public TBase\n{\n};\n")
            line = GOOD_TREE[rel].count("\n") + 1
            result = run(check, root)
            lines = result.stdout.splitlines()
            if (result.returncode != 1 or len(lines) != 1
                    or not lines[0].startswith(f"{rel}:{line}: defines TSortSource")):
                print(f"{rel} defining a friend of the grid: expected one failure naming it, got "
                      f"exit {result.returncode}:\n{result.stdout}{result.stderr}")
                failures += 1
        for index, rel in enumerate(MOVED):
            root = os.path.join(tmp, f"moved{index}")
            write_tree(root)
            path = os.path.join(root, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write('#include "platform/ui/Canvas.h"\n')
            result = run(check, root)
            lines = result.stdout.splitlines()
            if result.returncode != 1 or len(lines) != 1 or not lines[0].startswith(f"{rel}:1: "):
                print(f"{rel} in a moved folder: expected one failure naming it, got exit "
                      f"{result.returncode}:\n{result.stdout}{result.stderr}")
                failures += 1
    if failures:
        print(f"check_layers_bite: {failures} case(s) not caught as expected")
        return 1
    print(f"check_layers_bite: all {len(WRONG)} wrong-way includes, {len(FRIENDS)} friends in "
          f"editors and {len(MOVED)} files in moved folders caught")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
