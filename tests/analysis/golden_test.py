#!/usr/bin/python3
"""Golden tests of the analysis, through parchly-analyse.

golden/NAME.txt       an RFC excerpt (or a made-up text)
golden/NAME.json      its expected record, key order included
golden/NAME--OPT.json the record of NAME.txt with the option --OPT
                      (NAME--keep-blank-lines.json: --keep-blank-lines)
golden/regression.txt one case per past or possible fault, each headed by
                      "## " lines saying what it guards; its expected part
                      names only the fields the case is about
golden/NAME.cases     more cases in the form of regression.txt, a file a topic
Pathological inputs are made here and checked for a consistent record.

Run:        tests/analysis/golden_test.py --analyse build/tools/parchly-analyse
Regenerate: the same with --update, then read every change in `git diff`
            before committing it: an expected file is a claim, not a copy.
"""
import argparse
import codecs
import collections
import json
import os
import random
import re
import subprocess
import sys
import tempfile

GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'golden')
failures = []


def fail(case, message):
    failures.append(f'{case}: {message}')


def load(text):
    # OrderedDicts compare their keys in order: the field order is checked.
    return json.loads(text, object_pairs_hook=collections.OrderedDict)


def analyse(tool, options, files, cwd):
    """The records parchly-analyse prints for `files`; its output must be UTF-8."""
    done = subprocess.run([tool, *options, '--', *files], cwd=cwd, capture_output=True, check=False)
    # Split at LF only: a string may hold U+0085 or U+2028, which
    # str.splitlines() would take for line ends.
    records = [load(line) for line in done.stdout.decode('utf-8').split('\n') if line]
    return done, records


def dump(value):
    return json.dumps(value, ensure_ascii=False, separators=(', ', ': '))


def format_record(record):
    """One field a line; arrays of objects one object a line."""
    lines = ['{']
    for i, (key, value) in enumerate(record.items()):
        comma = ',' if i < len(record) - 1 else ''
        if isinstance(value, list) and value and isinstance(value[0], dict):
            lines.append(f'  {dump(key)}: [')
            lines += [f'    {dump(item)}' + (',' if j < len(value) - 1 else '') for j, item in enumerate(value)]
            lines.append('  ]' + comma)
        else:
            lines.append(f'  {dump(key)}: {dump(value)}{comma}')
    return '\n'.join(lines + ['}']) + '\n'


def differences(expected, actual):
    keys = list(expected)
    if keys != list(actual)[:len(keys)] and set(keys) == set(actual):
        return ['the fields are in another order']
    return [f'{key}: expected {dump(expected[key])}, got {dump(actual.get(key))}'
            for key in keys if actual.get(key) != expected[key]]


def golden_cases(tool, update):
    for name in sorted(f for f in os.listdir(GOLDEN) if f.endswith('.json')):
        base, *options = name[:-len('.json')].split('--')
        options = ['--' + option for option in options]
        done, records = analyse(tool, options, [base + '.txt'], GOLDEN)
        if done.returncode != 0 or len(records) != 1:
            fail(name, f'exit status {done.returncode}, {len(records)} records')
            continue
        path = os.path.join(GOLDEN, name)
        if update:
            record = records[0]
            # An expected record names only the fields it is about (the
            # later passes' links and requirements are left out of most):
            # an existing file keeps its own fields, a new one takes all.
            if os.path.exists(path):
                with open(path, encoding='utf-8') as expected:
                    record = collections.OrderedDict(
                        (key, record[key]) for key in load(expected.read()) if key in record)
            with open(path, 'w', encoding='utf-8') as out:
                out.write(format_record(record))
            continue
        with open(path, encoding='utf-8') as expected:
            for line in differences(load(expected.read()), records[0]):
                fail(name, line)


Case = collections.namedtuple('Case', 'heading options input expected_span')


def regression_cases(lines, name):
    """The cases of regression.txt or a .cases file, its lines as bytes."""
    cases, heading, i = [], [], 0
    while i < len(lines):
        line = lines[i]
        if line.startswith(b'## '):
            heading.append(line[3:].decode().strip())
        elif line.startswith(b'~~~~ input'):
            options = line.split()[2:]
            start = i + 1
            while not lines[i].startswith(b'~~~~ expect'):
                i += 1
            text = b''.join(lines[start:i])
            if text.endswith(b'\\ no newline at end\n'):
                text = text[:-len(b'\\ no newline at end\n')].removesuffix(b'\n')
            expect_start = i + 1
            while lines[i] != b'~~~~\n':
                i += 1
            if not heading:
                raise SystemExit(f'{name} line {start}: a case without a heading')
            cases.append(Case(' / '.join(heading), [o.decode() for o in options], text, (expect_start, i)))
            heading = []
        elif line.strip() and not line.startswith(b'#'):
            raise SystemExit(f'{name} line {i + 1}: outside a case: {line!r}')
        i += 1
    return cases


def regression(tool, update, name):
    path = os.path.join(GOLDEN, name)
    with open(path, 'rb') as file:
        lines = file.read().splitlines(keepends=True)
    cases = regression_cases(lines, name)
    with tempfile.TemporaryDirectory() as folder:
        for k, case in enumerate(cases):
            with open(os.path.join(folder, f'{k}.txt'), 'wb') as out:
                out.write(case.input)
        for k, case in reversed(list(enumerate(cases))):
            _, records = analyse(tool, case.options, [f'{k}.txt'], folder)
            start, end = case.expected_span
            expected = load(b''.join(lines[start:end]).decode())
            actual = records[0]
            if update:
                subset = collections.OrderedDict((key, actual[key]) for key in expected)
                text = dump(subset) + '\n'
                lines[start:end] = [(text if len(text) <= 100 else format_record(subset)).encode()]
                continue
            for line in differences(expected, actual):
                fail(f'{name} "{case.heading}"', line)
    if update:
        with open(path, 'wb') as out:
            out.write(b''.join(lines))


def reader_lines(raw):
    """The lines as the analysis reads them: CR LF as LF, at most 1,023 bytes a line."""
    text, lines, i = raw.replace(b'\r\n', b'\n'), [], 0
    while i < len(text):
        end = text.find(b'\n', i, i + 1023)
        end = end + 1 if end >= 0 else min(i + 1023, len(text))
        lines.append(text[i:end])
        i = end
    return lines


def expect_consistent(name, record, raw):
    """What every record must satisfy, whatever the text."""
    ends, pages = record['pageEnds'], len(record['pageEnds']) - 1
    checks = {
        'pageEnds starts at -1': ends[:1] == [-1],
        'one page end a form feed': pages == record['pageCount'],
        'page marks in file order': [m['line'] for m in record['pageMarks']] == sorted(m['line'] for m in record['pageMarks']),
        'per-page statistics': len(record['linesBeforeHeader']) == pages == len(record['linesFromFooter']),
        'blank line statistics': len(record['blankAfterHeader']) == len(record['blankBeforeFooter']),
        'mappings': pages == 0 or len(record['pageEndsNoHeaders']) == len(ends),
    }
    lines = reader_lines(raw)
    # Every line holding a form feed, wherever it stands in the line, is
    # one page break.
    checks['one page a form-feed line'] = pages == sum(1 for line in lines if b'\f' in line)
    firsts = [r['firstLine'] for r in record['references']]
    checks['references in order, each on its label'] = firsts == sorted(set(firsts)) and all(
        r['firstLine'] <= r['lastLine'] < len(lines) and r['label'] in as_dumped(lines[r['firstLine']])
        for r in record['references'])
    checks['citations show their labels'] = all(
        as_dumped(lines[c['line']][c['startColumn']:c['endColumn']]) == record['references'][c['reference']]['label']
        for c in record['citations'])
    for what, good in checks.items():
        if not good:
            fail(name, what)


# A string as the dump writes it: UTF-8 where the bytes are UTF-8, else one
# Latin-1 character a byte.
codecs.register_error('latin-1', lambda error: (error.object[error.start:error.start + 1].decode('latin-1'),
                                                error.start + 1))


def as_dumped(raw):
    return raw.decode('utf-8', errors='latin-1')


def pathological(tool):
    endless_contents = 'Request for Comments: 5\n\nTitle\n\nTable of Contents\n\n'
    endless_entry = endless_contents + '   1.  A title that never gets its page number\n'
    endless_entry += '       and goes on\n' * 50000 + '\f'  # paginated: the entry waits for its page number
    endless_contents += ''.join(f'   {i}.  Entry ........ {i}\n' for i in range(50000))
    endless_front = ''.join(f'Request for Comments: {i}   Author\n' for i in range(50000))
    endless_references = 'Request for Comments: 5\n\nTitle\n\n1.  References\n\n' + ''.join(
        f'   [{i}] "{i}"\n\n' for i in range(3000))
    # Brackets without an end and keywords without a sentence end are read
    # in linear time: quadratic work here outlasts the test's timeout.
    in_bulk = 'Request for Comments: 5\n\nTitle\n\n' + ('   ' + '[' * 1000 + '\n') * 2000 + '\n'
    in_bulk += '   MUST Section 1 of RFC 1 MUST, MUST\n' * 20000
    noise = random.Random(2119)
    alphabet = b'[]" \t\r\n\f\0RFC1\xff'
    # Label, page count, line count (None: not checked), bytes.
    cases = [
        ('empty file', 0, b''),
        ('one 100,000-byte line', 98, b'a' * 100000),
        ('a line of blanks', 98, b' ' * 100000 + b'\n'),
        ('NUL bytes', 8, b'\0' * 5000 + b'\n' + b'\0' * 3000),
        ('form feeds, one a line', 3, b'\f\n\f\n\f\n'),
        ('form feeds, one line', 5, b'\f' * 5000),
        ('CR line ends', 1, b'Request for Comments: 5\r\rA Title\r\rAbstract\r\r   Text.\r'),
        ('front matter that never ends', 50000, endless_front.encode()),
        ('contents that never end', 50006, endless_contents.encode()),
        ('a contents entry that never ends', 50008, endless_entry.encode()),
        ('3,000 references', 6006, endless_references.encode()),
        ('brackets and keywords in bulk', 22005, in_bulk.encode()),
    ]
    for k in range(4):
        body = bytearray(b'Request for Comments: 5\n\nT\n\n1.  Intro\n\n   [Q]\n\n2.  References\n\n   [Q] "q"\n')
        for _ in range(20000):
            body.append(noise.choice(alphabet) if noise.randrange(3) == 0 else noise.randrange(256))
        cases.append((f'random bytes {k}', None, bytes(body)))
    with tempfile.TemporaryDirectory() as folder:
        names = []
        for k, (_, _, raw) in enumerate(cases):
            names.append(f'{k}.txt')
            with open(os.path.join(folder, names[-1]), 'wb') as out:
                out.write(raw)
        done, records = analyse(tool, [], names, folder)
        if done.returncode != 0 or len(records) != len(cases):
            fail('pathological', f'exit status {done.returncode}, {len(records)} records')
            return
        for (label, line_count, raw), record in zip(cases, records):
            if line_count is not None and (record['lineCount'], record['ok']) != (line_count, True):
                fail(label, f'lineCount {record["lineCount"]}, ok {record["ok"]}')
            expect_consistent(label, record, raw)
            if label.startswith('random bytes') and not record['citations']:
                fail(label, 'the citation [Q] before the noise was lost')
        by_label = {label: record for (label, _, _), record in zip(cases, records)}
        for label, got, expected in [
                ('form feeds, one a line', by_label['form feeds, one a line']['pageEnds'], [-1, 1, 2, 3]),
                ('contents that never end', len(by_label['contents that never end']['contents']), 50000),
                ('3,000 references', len(by_label['3,000 references']['references']), 3000),
                ('links in bulk', len(by_label['brackets and keywords in bulk']['links']), 40000),
                ('requirements in bulk', len(by_label['brackets and keywords in bulk']['requirements']), 60000)]:
            if got != expected:
                fail(label, f'expected {expected}, got {got}')
        _, (headings_only,) = analyse(tool, ['--no-build-structure'], [names[9]], folder)
        if headings_only['contents']:
            fail('a contents entry that never ends', 'an entry never completed was stored')


def command_line(tool):
    """Unreadable files and --time, beside a file that reads."""
    done, records = analyse(tool, ['--time'], ['no-such-file.txt', '.', 'nineties.txt'], GOLDEN)
    oks = [(r['file'], r['ok'], 'error' in r) for r in records]
    if done.returncode != 1 or oks != [('no-such-file.txt', False, True), ('.', False, True), ('nineties.txt', True, False)]:
        fail('unreadable files', f'exit status {done.returncode}, records {oks}')
    if not re.fullmatch(rb'nineties.txt: [0-9.]+ ms\n', done.stderr):
        fail('--time', f'standard error {done.stderr!r}')
    help_text = subprocess.run([tool, '--help'], capture_output=True, check=True).stdout.decode()
    for option in ('--time', '--no-build-structure', '--keep-blank-lines', '--no-references', 'Latin-1'):
        if option not in help_text:
            fail('--help', f'does not name {option}')


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--analyse', required=True, help='the parchly-analyse program')
    parser.add_argument('--update', action='store_true', help='rewrite the expected records')
    args = parser.parse_args()
    tool = os.path.abspath(args.analyse)
    golden_cases(tool, args.update)
    for name in ['regression.txt'] + sorted(f for f in os.listdir(GOLDEN) if f.endswith('.cases')):
        regression(tool, args.update, name)
    if not args.update:
        pathological(tool)
        command_line(tool)
    for failure in failures:
        print('FAIL', failure)
    print(f'{len(failures)} failures' if failures else 'all golden cases pass')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
