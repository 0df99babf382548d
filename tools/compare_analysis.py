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

With --perturb the files are compared again as altered copies made in a
temporary folder, so that a scan that reads the text in blocks or pieces
is tried at other offsets and line shapes than the files happen to have:
moved by 1 to 31 bytes, with CRLF line ends, with each paragraph on one
long line (longer than the reader's line buffer), and without form feeds;
and damaged as no rule was written for: form feeds moved to the end of the
line before or onto the text after them, a few lines deleted, doubled or
pulled to the margin, blank lines added at page breaks, the file cut short
(the same damage each run).
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


def perturbed(data, index):
    """The altered copies of one file's bytes, by the name of the change."""
    paragraphs = re.split(rb'(\n[ \t]*\n)', data)
    lines = data.split(b'\n')
    rng = random.Random(index)

    def some_lines(share, change):
        return b'\n'.join(b''.join(change(line)) if rng.random() < share else line for line in lines)

    return {
        'moved': b'\n' * (index % 31 + 1) + data,
        'crlf': data.replace(b'\r\n', b'\n').replace(b'\n', b'\r\n'),
        'long-lines': b''.join(p if re.fullmatch(rb'\n[ \t]*\n', p) else p.replace(b'\n', b' ')
                               for p in paragraphs),
        'no-form-feeds': data.replace(b'\f', b''),
        'feed-at-line-end': data.replace(b'\n\f', b'\f\n'),
        'feed-before-text': data.replace(b'\f\n', b'\f'),
        'lines-deleted': some_lines(0.03, lambda line: []),
        'lines-doubled': some_lines(0.03, lambda line: [line, b'\n', line]),
        'pulled-to-margin': some_lines(0.05, lambda line: [line.lstrip(b' ')]),
        'blanks-at-breaks': b'\n'.join(line + b'\n' if b'\f' in line else line for line in lines),
        'cut-short': data[:rng.randrange(len(data) + 1)],
    }


def perturbed_folders(files, root):
    """Writes the altered copies of `files` into one folder per change."""
    folders = {}
    for index, path in enumerate(files):
        with open(path, 'rb') as original:
            data = original.read()
        for change, altered in perturbed(data, index).items():
            folder = folders.setdefault(change, os.path.join(root, change))
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, os.path.basename(path)), 'wb') as copy:
                copy.write(altered)
    return folders


def compare(before_source, after_source, files, options, label=''):
    """Prints the files whose records differ; the count of those."""
    before = records(before_source, files, options)
    after = records(after_source, files, options)
    differing = 0
    for name in sorted(set(before) | set(after)):
        if name not in before or name not in after:
            print(f'{label}{name}: only in {"AFTER" if name in after else "BEFORE"}')
            differing += 1
        elif before[name] != after[name]:
            print(f'{label}{name}: differs in {", ".join(differing_fields(before[name], after[name])) or "layout"}')
            differing += 1
    total = len(set(before) | set(after))
    print(f'{label}{total - differing} of {total} records identical')
    return differing if total else 1


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
                        help='compare altered copies of the files as well')
    args = parser.parse_args()
    folders = args.folders or ([os.environ['PARCHLY_CORPUS']] if os.environ.get('PARCHLY_CORPUS') else [])
    if not folders:
        parser.error('name a folder of RFCs or set PARCHLY_CORPUS')
    files = rfc_files(folders)
    differing = compare(args.before, args.after, files, args.option)
    if args.perturb:
        if not (os.access(args.before, os.X_OK) and os.access(args.after, os.X_OK)):
            parser.error('--perturb needs BEFORE and AFTER as programs, not dumps')
        with tempfile.TemporaryDirectory(prefix='parchly-perturbed-') as root:
            for change, folder in perturbed_folders(files, root).items():
                differing += compare(args.before, args.after, rfc_files([folder]), args.option, change + ': ')
    return 1 if differing else 0


if __name__ == '__main__':
    sys.exit(main())
