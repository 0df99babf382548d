#!/usr/bin/python3
"""Counts code and test lines: python3 tools/count_lines.py [--folders] [ROOT]

A line counts when it is not blank and not only a comment (// ..., or a line
inside or wholly made of a /* ... */ block). Only .cpp and .h files count.
A "/*" opened after code on a line is not followed (the tree has none).
Code is src/ and tools/; tests are tests/, tests/support included. --folders
also prints the count of each folder under src/, tools/ and tests/."""
import pathlib
import sys


def countFile(path):
    count = 0
    inBlock = False
    for line in path.read_text(errors="replace").splitlines():
        rest = line.strip()
        code = False
        while rest:
            if inBlock:
                end = rest.find("*/")
                if end < 0:
                    rest = ""
                else:
                    inBlock = False
                    rest = rest[end + 2:].strip()
            elif rest.startswith("//"):
                rest = ""
            elif rest.startswith("/*"):
                inBlock = True
                rest = rest[2:]
            else:
                code = True
                break
        if code:
            count += 1
    return count


def countTree(folder):
    perFolder = {}
    for path in sorted(folder.rglob("*")):
        if path.suffix in (".cpp", ".h") and path.is_file():
            relative = path.relative_to(folder)
            key = relative.parts[0] if len(relative.parts) > 1 else "."
            perFolder[key] = perFolder.get(key, 0) + countFile(path)
    return perFolder


def main():
    args = [a for a in sys.argv[1:] if a != "--folders"]
    root = pathlib.Path(args[0] if args else pathlib.Path(__file__).resolve().parent.parent)
    trees = {name: countTree(root / name) for name in ("src", "tools", "tests")}
    if "--folders" in sys.argv:
        for name, perFolder in trees.items():
            for folder, count in sorted(perFolder.items()):
                print("%-6s %-12s %6d" % (name, folder, count))
    code = sum(trees["src"].values()) + sum(trees["tools"].values())
    tests = sum(trees["tests"].values())
    print("code lines (src/ + tools/): %d" % code)
    print("test lines (tests/, support included): %d" % tests)
    print("ratio: %.3f" % (tests / code if code else 0))


if __name__ == "__main__":
    main()
