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

With --perturb, both programs also read damaged copies of every file (made
in a temporary folder, the same each run): CR LF line ends, form feeds
dropped or moved, lines deleted, doubled or pulled to the margin, blank
lines added around page breaks, the file cut short. The analysis must give
the same records on text that no rule was written for, not only on the
RFCs it was tuned on.
"""
import argparse
import json
import os
import random
import re
import subprocess
import sys
import tempfile

RFC_NAME = re.compile(r'rfc[0-9]+\.txt$')


def rfc_files(folders):
    files = []
    for folder in folders:
        files += sorted(os.path.join(folder, name) for name in os.listdir(folder) if RFC_NAME.match(name))
    return files


def perturbations(text, rng):
    """Damaged copies of `text` (bytes) by name suffix."""
    lines = text.split(b'\n')

    def each_line(change):
        return b'\n'.join(change(line) for line in lines)

    def some_lines(share, change):
        return b'\n'.join(b''.join(change(line)) if rng.random() < share else line for line in lines)

    return {
        'crlf': text.replace(b'\n', b'\r\n'),
        'nofeeds': text.replace(b'\f', b''),
        'feedattail': text.replace(b'\n\f', b'\f\n'),
        'feedbeforetext': text.replace(b'\f\n', b'\f'),
        'deleted': some_lines(0.03, lambda line: []),
        'doubled': some_lines(0.03, lambda line: [line, b'\n', line]),
        'margin': some_lines(0.05, lambda line: [line.lstrip(b' ')]),
        'blanksatbreaks': each_line(lambda line: line + b'\n' if b'\f' in line else line),
        'cut': text[:rng.randrange(len(text) + 1)],
        'longlines': some_lines(0.01, lambda line: [line + b' x' * 600]),
    }


def perturbed_files(files, folder):
    """Writes the damaged copies of `files` into `folder`; their paths."""
    made = []
    for path in files:
        with open(path, 'rb') as source:
            text = source.read()
        rng = random.Random(os.path.basename(path))
        stem = os.path.basename(path)[:-len('.txt')]
        for kind, damaged in perturbations(text, rng).items():
            # rfcN.txt names, told apart by a suffix on the number.
            name = os.path.join(folder, f'{stem}{sum(map(ord, kind)):04d}.txt')
            with open(name, 'wb') as out:
                out.write(damaged)
            made.append(name)
    return made


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
    parser.add_argument('--perturb', action='store_true',
                        help='also compare damaged copies of the files (both sides must be programs)')
    args = parser.parse_args()
    folders = args.folders or ([os.environ['PARCHLY_CORPUS']] if os.environ.get('PARCHLY_CORPUS') else [])
    if not folders:
        parser.error('name a folder of RFCs or set PARCHLY_CORPUS')
    files = rfc_files(folders)
    with tempfile.TemporaryDirectory() as folder:
        if args.perturb:
            files += perturbed_files(files, folder)
        return compare(args, files)


def compare(args, files):
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
