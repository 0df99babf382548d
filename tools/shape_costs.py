#!/usr/bin/python3
"""Instructions per byte of the analysis over RFC-shaped texts that grow.

    tools/shape_costs.py --analyse build/tools/parchly-analyse [--keep DIR]
                         [--shapes headings,deep,...]

The sample RFCs are a few dozen shapes; the collection holds thousands. A
pass whose cost grows faster than the text (a scan of every contents entry
for each heading, a search from the line start for each word) is hidden in
them until an RFC has that shape in bulk. So each shape here is one feature
of an RFC made 1, 4 and 16 times as large with the whole text around it:
its instructions per byte (callgrind, over analyseText and
LineReader::open) should stay flat. A shape whose figure at 16x is more
than a quarter above its figure at 1x is named, and the exit status is 1.
Needs valgrind.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

SCALES = (1, 4, 16)
GROWTH_LIMIT = 1.25
WORDS = ('the protocol sender receiver message field value endpoint stream frame connection server '
         'client header octet length section error state option data packet').split()
PAGE_LINES = 48


def words(count, seed):
    return ' '.join(WORDS[(seed * 7 + i * 3) % len(WORDS)] for i in range(count))


def fill(text):
    """`text` as a paragraph indented by three, lines of at most 72."""
    lines, line = [], '  '
    for word in text.split(' '):
        if len(line) + len(word) + 1 > 72 and line.strip():
            lines.append(line.rstrip())
            line = '  '
        line += ' ' + word
    if line.strip():
        lines.append(line.rstrip())
    return lines


class Shape:
    """One feature of an RFC in bulk: `counts` are the features of the
    text at scale 1, each multiplied by the scale, as are its paragraphs."""

    def __init__(self, name, paginated=True, contents=True, crlf=False, **counts):
        self.name = name
        self.paginated = paginated
        self.contents = contents
        self.crlf = crlf
        self.counts = dict(headings=8, refs=6, cites=6, mentions=6, sections=0, brackets=2, keywords=6,
                           long_lines=0, unlisted=0, unnumbered=0, table_rows=0, blankless=0, paragraphs=40)
        self.counts.update(counts)


SHAPES = [
    Shape('headings', headings=60),
    Shape('unlisted-headings', headings=60, unlisted=3),
    Shape('unlisted-headings-unpaginated', paginated=False, headings=60, unlisted=3),
    Shape('unnumbered-entries', headings=60, unnumbered=1),
    Shape('no-contents', contents=False, headings=60),
    Shape('references', refs=60),
    Shape('citations', cites=300),
    Shape('rfc-mentions', mentions=300),
    Shape('section-mentions', headings=60, sections=300),
    Shape('bracket-lines', brackets=150),
    Shape('keywords', keywords=200),
    Shape('long-lines', long_lines=30),
    Shape('line-without-blanks', paragraphs=1, blankless=6000),
    Shape('pages'),
    Shape('crlf', crlf=True),
    Shape('unpaginated', paginated=False),
    Shape('tables', table_rows=200),
]


def spread(total, parts, k):
    """The share of paragraph k of `total` items over `parts` paragraphs."""
    return total * (k + 1) // parts - total * k // parts


def body(shape, scale):
    """The headings (number, title, index of their block) and the blocks
    (kind, lines) of the text at `scale`."""
    n = {key: value * scale for key, value in shape.counts.items()}
    headings, blocks = [], []
    per = max(1, n['paragraphs'] // n['headings'])
    total = per * n['headings']
    k = 0
    for h in range(1, n['headings'] + 1):
        headings.append((f'{h}.', f'Section about {words(3, h)} {h}', len(blocks)))
        blocks.append(('heading', [f'{h}.  Section about {words(3, h)} {h}']))
        for d in range(1, shape.counts['unlisted'] + 1):
            blocks.append(('heading', [f'{h}.{d}.  Subsection {d} of {h}']))
            blocks.append(('text', fill(words(40, h + d).capitalize() + '.')))
        if shape.counts['unnumbered']:
            headings.append(('', f'Note on {words(2, h)} {h}', len(blocks)))
            blocks.append(('heading', [f'Note on {words(2, h)} {h}']))
            blocks.append(('text', fill(words(40, h).capitalize() + '.')))
        for _ in range(per):
            extra = ''
            extra += ''.join(f' See [REF{(k + i) % n["refs"] + 1}] for details.'
                             for i in range(spread(n['cites'], total, k)))
            extra += ''.join(f' As RFC {1000 + (k * 31 + i) % 8000} says.'
                             for i in range(spread(n['mentions'], total, k)))
            extra += ''.join(f' See Section {1 + (k + i) % n["headings"]}.'
                             for i in range(spread(n['sections'], total, k)))
            extra += ' An endpoint MUST NOT send this.' * spread(n['keywords'], total, k)
            lines = fill(words(60, k).capitalize() + '.' + extra)
            lines += ['   ' + ' '.join(f'[{c}]' for c in 'abcdefghijklmnop')] * spread(n['brackets'], total, k)
            lines += ['   ' + words(400, k)] * spread(n['long_lines'], total, k)
            if n['blankless'] and k == 0:
                lines.append('   ' + '[x]MUST-RFC1234.' * n['blankless'])
            blocks.append(('text', lines))
            k += 1
        if h == 1 and n['table_rows']:
            rule = '   +------+----------------+'
            rows = [f'   | {r:4d} | [x] {words(2, r)[:10]:10s} |' for r in range(n['table_rows'])]
            blocks.append(('text', [rule, '   | Code | Meaning        |', rule] + rows + [rule]))
    references = n['headings'] + 1
    headings.append((f'{references}.', 'References', len(blocks)))
    blocks.append(('heading', [f'{references}.  References']))
    for r in range(1, n['refs'] + 1):
        blocks.append(('text', [f'   [REF{r}]  Author, A., "Title of document {r}", RFC {2000 + r},',
                                '              May 2001.']))
    return headings, blocks


def front():
    return (['', '', 'Internet Engineering Task Force (IETF)                         A. Author',
             'Request for Comments: 9999                                       Example',
             'Category: Informational                                         May 2025', 'ISSN: 2070-1721',
             '', '', '                          Generated Document', '', 'Abstract', '']
            + fill(words(60, 1).capitalize() + '.') + [''])


def lay_out(shape, headings, blocks, pages):
    lines = front()
    if shape.contents:
        lines += ['Table of Contents', '']
        for (number, title, _), page in zip(headings, pages):
            if not shape.paginated:
                lines.append(f'   {number}  {title}' if number else f'   {title}')
                continue
            left = f'   {number} {title} ' if number else f'   {title} '
            lines.append(left + '.' * max(1, 72 - len(left) - len(f' {page}')) + f' {page}')
        lines.append('')
    starts = []
    for kind, block in blocks:
        if kind == 'heading':
            starts.append(len(lines))
        lines += block + ['']
    return lines, starts


def paginate(lines):
    out = []
    pages = [lines[at:at + PAGE_LINES] for at in range(0, len(lines), PAGE_LINES)]
    for number, page in enumerate(pages, 1):
        if number > 1:
            out += ['RFC 9999                  Generated Document                  May 2025', '']
        out += page + [''] * (PAGE_LINES - len(page) + 3)
        footer = 'Author                          Informational'
        mark = f'[Page {number}]'
        out.append(footer + ' ' * (72 - len(footer) - len(mark)) + mark)
        if number < len(pages):
            out.append('\f')
    return out


def render(shape, scale):
    headings, blocks = body(shape, scale)
    _, starts = lay_out(shape, headings, blocks, [1] * len(headings))
    # The contents' length does not change with its page numbers.
    lines, _ = lay_out(shape, headings, blocks, [start // PAGE_LINES + 1 for start in starts])
    if shape.paginated:
        lines = paginate(lines)
    end = '\r\n' if shape.crlf else '\n'
    return end.join(lines) + end


def instructions(analyse, path):
    with tempfile.NamedTemporaryFile(suffix='.out') as out:
        subprocess.run(['valgrind', '--tool=callgrind', f'--callgrind-out-file={out.name}',
                        '--toggle-collect=parchly::analyseText*', '--toggle-collect=parchly::LineReader::open*',
                        analyse, path], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(out.name, encoding='utf-8') as profile:
            for line in profile:
                found = re.match(r'(?:summary|totals): (\d+)', line)
                if found:
                    return int(found.group(1))
    raise RuntimeError(f'no instruction count for {path}')


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--analyse', required=True, help='the parchly-analyse to measure')
    parser.add_argument('--keep', help='a folder to write the texts to and leave them in')
    parser.add_argument('--shapes', help='the shapes to measure, by name, comma-separated')
    args = parser.parse_args()
    chosen = [shape for shape in SHAPES if not args.shapes or shape.name in args.shapes.split(',')]
    folder = args.keep or tempfile.mkdtemp(prefix='parchly-shapes-')
    os.makedirs(folder, exist_ok=True)
    grown = []
    print(f'{"shape":32}' + ''.join(f'{f"{scale}x":>10}' for scale in SCALES) + '  (instructions per byte)')
    for shape in chosen:
        figures = []
        for scale in SCALES:
            path = os.path.join(folder, f'{shape.name}-{scale}.txt')
            with open(path, 'w', encoding='utf-8', newline='') as text:
                text.write(render(shape, scale))
            figures.append(instructions(args.analyse, path) / os.path.getsize(path))
            if not args.keep:
                os.remove(path)
        print(f'{shape.name:32}' + ''.join(f'{figure:10.1f}' for figure in figures), flush=True)
        if figures[-1] > figures[0] * GROWTH_LIMIT:
            grown.append(shape.name)
    if not args.keep:
        os.rmdir(folder)
    for name in grown:
        print(f'GROWS {name}: its cost per byte grows with the text')
    return 1 if grown else 0


if __name__ == '__main__':
    sys.exit(main())
