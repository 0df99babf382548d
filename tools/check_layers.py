#!/usr/bin/python3
"""Checks that every library under src/ includes only its own headers and
those of the libraries it links.

The compiler keeps folders apart (a library sees only the folders it links),
but two libraries share a folder in analysis/, index/ and download/, so a
core library could include a header of its GUI neighbour unnoticed. This
reads the libraries from the CMakeLists.txt files under src/ (add_library,
target_sources, target_link_libraries) and every `#include "folder/file.h"`
of their files.

A header belongs to the library that lists it among its sources, else to the
library that builds the .cpp of the same name, else (a header on its own) to
the folder's lowest library, the one the folder's others link.

    tools/check_layers.py [SOURCE_ROOT]

Prints one line per include that runs outside a library's links and exits 1
when there is one.
"""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
COMMAND = re.compile(r'\b(add_library|target_sources|target_link_libraries)\s*\(([^)]*)\)', re.DOTALL)
KEYWORDS = {'STATIC', 'SHARED', 'OBJECT', 'INTERFACE', 'PUBLIC', 'PRIVATE', 'MODULE'}


def strip_comments(text):
    return '\n'.join(line.split('#', 1)[0] for line in text.splitlines())


class Library:
    def __init__(self, name):
        self.name = name
        self.sources = []  # paths relative to src/
        self.links = set()


def read_libraries(src):
    libraries = {}
    for folder, _, files in sorted(os.walk(src)):
        if 'CMakeLists.txt' not in files:
            continue
        with open(os.path.join(folder, 'CMakeLists.txt'), encoding='utf-8') as f:
            text = strip_comments(f.read())
        relative = os.path.relpath(folder, src)
        for command, arguments in COMMAND.findall(text):
            words = arguments.split()
            if not words:
                continue
            library = libraries.setdefault(words[0], Library(words[0]))
            rest = [w for w in words[1:] if w not in KEYWORDS]
            if command == 'target_link_libraries':
                library.links.update(rest)
            else:
                library.sources.extend(os.path.normpath(os.path.join(relative, w)) for w in rest if '$' not in w)
    return libraries


def link_closure(libraries, name, seen=None):
    seen = set() if seen is None else seen
    for link in libraries[name].links if name in libraries else ():
        if link not in seen:
            seen.add(link)
            link_closure(libraries, link, seen)
    return seen


def header_owners(src, libraries):
    """Every header under src/ with the library it belongs to."""
    listed = {}
    built = {}
    folder_libraries = {}
    for library in libraries.values():
        for source in library.sources:
            if source.endswith('.h'):
                listed[source] = library.name
            else:
                built[os.path.splitext(source)[0] + '.h'] = library.name
            folder_libraries.setdefault(source.split(os.sep)[0], set()).add(library.name)
    owners = {}
    for folder, _, files in os.walk(src):
        for file in files:
            if not file.endswith('.h'):
                continue
            header = os.path.relpath(os.path.join(folder, file), src)
            owner = listed.get(header) or built.get(header)
            if owner is None:
                owner = lowest_library(libraries, folder_libraries.get(header.split(os.sep)[0], set()))
            if owner is not None:
                owners[header] = owner
    return owners


def lowest_library(libraries, names):
    """The one of `names` that the others link (None when there is none)."""
    for name in sorted(names):
        if all(other == name or name in link_closure(libraries, other) for other in names):
            return name
    return None


def check(root):
    src = os.path.join(root, 'src')
    libraries = read_libraries(src)
    owners = header_owners(src, libraries)
    files_of = {}
    for library in libraries.values():
        for source in library.sources:
            files_of.setdefault(library.name, set()).add(source)
    for header, owner in owners.items():
        files_of.setdefault(owner, set()).add(header)
    problems = []
    for name, files in sorted(files_of.items()):
        allowed = link_closure(libraries, name) | {name}
        for file in sorted(files):
            path = os.path.join(src, file)
            if not os.path.exists(path):
                continue
            with open(path, encoding='utf-8') as f:
                text = f.read()
            for included in INCLUDE.findall(text):
                owner = owners.get(os.path.normpath(included))
                if owner is not None and owner not in allowed:
                    problems.append('src/%s: includes %s of %s, which %s does not link' %
                                    (file, included, owner, name))
    return problems


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    problems = check(root)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
