#!/usr/bin/env python3
"""Fails when a source file includes a file of a folder it may not use.

The main program's folders are layers: the frame (Versilo/shell) over the commentary view
(Versilo/commentary) over the bible view (Versilo/bibleview) over the ground they stand on
(Versilo/base), each over the libraries VoView, VoUtil and common. A folder may use its own
files and those of the folders listed for it below, never one above it; where a lower folder
needs something of a higher one, that is an interface in the lower folder implemented above.

Includes are resolved as the build resolves them: a path relative to the including file
first, then by file name through the include directories (every header name in the tree is
unique, and this script fails when one is not).

Usage: scripts/check-layers.py [--counts]   --counts prints the includes between folders.
"""
import collections
import os
import re
import subprocess
import sys

# The libraries, tools and test helpers under the program. They use each other freely but
# nothing of the program's own folders.
BOTTOM = ["common", "RyTextUtils", "VoUtil", "VoView", "tools", "tests"]

# Each folder of the program with the folders it may use (besides its own and BOTTOM).
# A subfolder is a folder of its own; a file belongs to the longest folder that holds it.
# A folder's tests/ and bench/ belong to it and may also use its subfolders (and what they
# may use): the tests of a folder's parts stand together.
MAY_USE = {
    "Versilo/base": [],
    "Versilo/bibleview": ["Versilo/base"],
    "Versilo/commentary": ["Versilo/bibleview", "Versilo/base"],
    "Versilo/commentary/dialogs": ["Versilo/commentary", "Versilo/bibleview", "Versilo/base"],
    "Versilo/commentary/editor": ["Versilo/commentary", "Versilo/bibleview", "Versilo/base"],
    "Versilo/commentary/pane": ["Versilo/commentary/dialogs", "Versilo/commentary/editor", "Versilo/commentary",
                                "Versilo/bibleview", "Versilo/base"],
    "Versilo/shell/options/controls": ["Versilo/base"],
    "Versilo/shell/options": ["Versilo/shell/options/controls", "Versilo/base"],
    "Versilo/shell/dialogs": ["Versilo/base"],
    "Versilo/shell": ["Versilo/shell/options", "Versilo/shell/options/controls", "Versilo/shell/dialogs",
                      "Versilo/commentary/pane", "Versilo/commentary/dialogs", "Versilo/commentary/editor",
                      "Versilo/commentary", "Versilo/bibleview", "Versilo/base"],
    # The program's resources at the top: they gather every folder's templates.
    "Versilo": ["*"],
    # The daily-verse viewer is a program of its own over the ground.
    "VoViewer": ["Versilo/base"],
}

SOURCE = re.compile(r"\.(h|hpp|c|cpp|rc|idl)$")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def tracked_files():
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], capture_output=True, text=True,
                         check=True).stdout
    return [f for f in out.splitlines() if SOURCE.search(f) and os.path.isfile(f)]


def folder_of(path):
    best = None
    for folder in list(MAY_USE) + BOTTOM:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def may_use(src, path):
    allowed = set(MAY_USE[src])
    inner = path[len(src) + 1:].split("/")[0] if path.startswith(src + "/") else ""
    if inner in ("tests", "bench"):
        for folder in MAY_USE:
            if folder.startswith(src + "/"):
                allowed.add(folder)
                allowed.update(MAY_USE[folder])
    return allowed


def main():
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    files = tracked_files()
    by_name = collections.defaultdict(list)
    for f in files:
        by_name[os.path.basename(f)].append(f)
    problems = []
    for name, paths in sorted(by_name.items()):
        if name.endswith((".h", ".hpp")) and len(paths) > 1:
            problems.append(f"header name {name} is not unique: {', '.join(paths)}")

    known = set(files)
    counts = collections.Counter()
    for f in files:
        src = folder_of(f)
        if src is None:
            continue
        with open(f, encoding="latin-1") as text:
            for number, line in enumerate(text, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                relative = os.path.normpath(os.path.join(os.path.dirname(f), m.group(1)))
                if relative in known:
                    target = relative
                elif len(by_name.get(os.path.basename(m.group(1)), [])) == 1:
                    target = by_name[os.path.basename(m.group(1))][0]
                else:
                    continue  # generated or a platform header
                dst = folder_of(target)
                if dst is None or dst == src:
                    continue
                counts[(src, dst)] += 1
                if src in BOTTOM:
                    allowed = dst in BOTTOM
                else:
                    allowed = dst in BOTTOM or MAY_USE[src] == ["*"] or dst in may_use(src, f)
                if not allowed:
                    problems.append(f"{f}:{number}: {src} may not use {dst} ({target})")

    if "--counts" in sys.argv:
        for (src, dst), n in sorted(counts.items()):
            print(f"{src:32} -> {dst:32} {n:4}")
    for p in problems:
        print(p)
    if problems:
        print(f"check-layers: {len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    print("check-layers: every include runs down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
