#!/usr/bin/env python3
"""Checks that each folder includes only the folders below it (see docs/architecture.md).

Usage: tools/check-layers.py [SOURCE_ROOT]   exits 1 and lists every include out of place.
"""
import pathlib
import re
import sys

# Folder -> the folders its code may include, itself among them.
ALLOWED = {
    "core": {"core"},
    "protocol": {"core", "protocol"},
    "display": {"core", "protocol", "display"},
    # Lines of bearing and the fix; GeographicLib is a system header.
    "fix": {"core", "fix"},
    "status": {"core", "protocol", "display", "status"},
    "link": {"core", "protocol", "link"},
    # The share sends what the line brought in the recording format.
    "net": {"core", "output", "net"},
    # The files written as the program runs; the bearing log writes the readout's text.
    "output": {"core", "protocol", "display", "output"},
    # The port dialog and the boxes are Qt, and use our widgets; the rest of settings cannot
    # see them (the build gives its headless library no path to widgets/).
    "settings": {"core", "settings", "widgets"},
    "widgets": {"core", "widgets"},
    # The map's Qt part uses our widgets; its headless part cannot see them (the build gives
    # it no path to widgets/), as with settings.
    "map": {"core", "fix", "widgets", "map"},
    "app": {"core", "protocol", "display", "status", "link", "net", "output", "settings",
            "widgets", "fix", "map", "app"},
    "tools/sim": {"core", "protocol", "output", "tools/sim"},
    "tools/fix": {"core", "fix", "tools/fix"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path: str):
    for f in sorted(ALLOWED, key=len, reverse=True):
        if path == f or path.startswith(f + "/"):
            return f
    return None


def main() -> int:
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    wrong = []
    for folder in ALLOWED:
        for source in sorted((root / folder).glob("*")):
            if source.suffix not in (".h", ".cpp", ".in"):
                continue
            for target in INCLUDE.findall(source.read_text(errors="replace")):
                other = folder_of(target)
                if other is None and "/" not in target:
                    continue  # generated beside it, or a file of its own folder
                if other not in ALLOWED[folder]:
                    wrong.append(f"{source.relative_to(root)}: includes {target}")
    for w in wrong:
        print(w)
    if wrong:
        print(f"{len(wrong)} includes cross the layers")
        return 1
    print("every include follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
