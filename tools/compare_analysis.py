#!/usr/bin/python3
"""Checks that a change to the analysis left its output byte for byte alone.

    tools/compare_analysis.py BEFORE AFTER [DIR...]

BEFORE and AFTER are each a parchly-analyse program, run here over every
rfcN.txt of the DIRs (default: $PARCHLY_CORPUS), or a dump it wrote before
(`parchly-analyse DIR/rfc*.txt > before.jsonl`), so that a program built
from an older commit need not be kept. Every record, links and requirement
sentences included, must be the same line of JSON; each file that differs
is printed with the fields that differ. Exit status 0 when all are the
same, 1 when any differs or a file is missing from one side, 2 for a usage
error.
"""
import argparse
import json
import os
import re
import subprocess
import sys

RFC_NAME = re.compile(r'rfc[0-9]+\.txt$')


def rfc_files(folders):
    files = []
    for folder in folders:
        files += sorted(os.path.join(folder, name) for name in os.listdir(folder) if RFC_NAME.match(name))
    return files


def records(source, files, options):
    """The dump lines of `source` by file name: run it, or read its dump."""
    if os.access(source, os.X_OK) and not source.endswith('.jsonl'):
        output = subprocess.run([source] + options + ['--'] + files, stdout=subprocess.PIPE,
                                check=False).stdout.decode('utf-8')
    else:
        with open(source, encoding='utf-8') as dump:
            output = dump.read()
    records = {}
    for line in output.split('\n'):
        if line.strip():
            # The same file may be named by another path on each side.
            path = json.loads(line)['file']
            name = os.path.basename(path)
            records[name] = line.replace(json.dumps(path, ensure_ascii=False), json.dumps(name), 1)
    return records


def differing_fields(before, after):
    old, new = json.loads(before), json.loads(after)
    return sorted(key for key in set(old) | set(new) if key != 'file' and old.get(key) != new.get(key))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('before')
    parser.add_argument('after')
    parser.add_argument('folders', nargs='*')
    parser.add_argument('--option', action='append', default=[],
                        help='a parchly-analyse option for both runs (repeatable)')
    args = parser.parse_args()
    folders = args.folders or ([os.environ['PARCHLY_CORPUS']] if os.environ.get('PARCHLY_CORPUS') else [])
    if not folders:
        parser.error('name a folder of RFCs or set PARCHLY_CORPUS')
    files = rfc_files(folders)
    before = records(args.before, files, args.option)
    after = records(args.after, files, args.option)
    differing = 0
    for name in sorted(set(before) | set(after)):
        if name not in before or name not in after:
            print(f'{name}: only in {"AFTER" if name in after else "BEFORE"}')
            differing += 1
        elif before[name] != after[name]:
            print(f'{name}: differs in {", ".join(differing_fields(before[name], after[name])) or "layout"}')
            differing += 1
    total = len(set(before) | set(after))
    print(f'{total - differing} of {total} records identical')
    return 1 if differing or total == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
