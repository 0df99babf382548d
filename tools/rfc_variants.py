#!/usr/bin/python3
"""Variants of real RFCs in the shapes other decades print, and how exactly
parchly-analyse reads each, by the scan of accuracy_report.py.

    tools/rfc_variants.py --analyse build/tools/parchly-analyse OUT FOLDER...
    [--family NAME]... [--worst N]

Each rfcNNNN.txt of the FOLDERs is rewritten once per family below into
OUT/FAMILY/rfcNNNN.txt, and a line of figures is printed per family, the
untouched files ("as is") first. A family changes one thing that differs
between RFCs of the 1970s to the 2020s and keeps the rest, so a figure that
drops below "as is" names a rule that holds only for the shapes the folder
happens to show.
"""
import argparse
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import accuracy_report as scan  # noqa: E402

REFERENCES_WORD = re.compile(r'\b(references|bibliography)\b', re.I)
# A contents line or heading naming a references section: "9.  References",
# "REFERENCES ....... 45", "   17   References ........158".
REFERENCES_LINE = re.compile(
    r'^(\s*)((?:appendix\s+)?(?:[0-9]+(?:\.[0-9]+)*\.?|[A-Z](?:\.[0-9]+)*\.?)\s+)?'
    r'((?:normative\s+|informative\s+)?references)(\s*(?:\.[ .]*|\s{2,})[0-9]+)?\s*$', re.I)
PAGE_NUMBER = re.compile(r'\[\s*page\s+([0-9ivx]+)\s*\]\s*$', re.I)


def read(path):
    with open(path, 'rb') as f:
        return f.read().replace(b'\r\n', b'\n').decode('latin-1')


def printed_labels(lines):
    headers, footers = scan.page_lines(lines)
    return scan.printed_labels(lines, scan.references_regions(lines, headers | footers), headers | footers)


def relabel(text, new_label, alone=False):
    """Every printed label and its citations renamed by new_label(k, old);
    with `alone`, each label stands on its own line, its text below it."""
    lines = text.split('\n')
    labels = printed_labels(lines)
    names = {}
    for k, (_, label) in enumerate(labels):
        names.setdefault(label, new_label(k + 1, label))
    definitions = {line for line, _ in labels}
    out = []
    for i, line in enumerate(lines):
        renamed = re.sub(r'\[[^\[\]]+\]', lambda m: names.get(m.group(0), m.group(0)), line)
        if alone and i in definitions:
            m = re.match(r'^(\s*)(\[[^\[\]]+\])\s*(\S.*)?$', renamed)
            if m and m.group(3):
                out += [m.group(1) + m.group(2), m.group(1) + '   ' + m.group(3)]
                continue
        out.append(renamed)
    return '\n'.join(out)


def ends_entry(lines, definitions, blank):
    """Whether the blank line `blank` follows an entry's last line: the
    lines above it up to a label are text, none of them blank."""
    for k in range(blank - 1, max(blank - 30, -1), -1):
        if not lines[k].strip():
            return False
        if k in definitions:
            return True
    return False


def reshape_entries(text, at_margin=False, packed=False):
    """Reference entries with their label at the margin and the text
    indented after it (RFC 1122), or `packed` without the blank lines
    between them (many RFCs of the 1980s and 1990s)."""
    lines = text.split('\n')
    labels = printed_labels(lines)
    definitions = {line for line, _ in labels}
    out = []
    for i, line in enumerate(lines):
        if at_margin and i in definitions:
            line = line.lstrip(' ')
        if packed and not line.strip() and i + 1 in definitions and ends_entry(lines, definitions, i):
            continue
        out.append(line)
    return '\n'.join(out)


def reshape_contents(text, change):
    """Each printed contents line that ends in a page number changed."""
    lines = text.split('\n')
    for i, title, page in scan.contents_lines(lines):
        lines[i] = change(lines[i], title, page)
    return '\n'.join(lines)


def without_leaders(line, title, page):
    indent = line[:len(line) - len(line.lstrip())]
    return indent + title + ' ' * max(3, 69 - len(indent) - len(title) - len(page)) + page


def rename_references(text, rename):
    """The words of each references heading and contents line renamed."""
    def line_of(line):
        m = REFERENCES_LINE.match(line.replace('\f', ''))
        # Centred headings ("                REFERENCES", RFC 791) are
        # renamed too; other deep indents are body text.
        centred = not m.group(2) and not m.group(4) if m else False
        if not m or (len(m.group(1)) > 12 and not centred):
            return line
        return line.replace(m.group(3), rename(m.group(3)), 1)
    return '\n'.join(line_of(line) for line in text.split('\n'))


def to_appendix(text):
    """Numbered references sections renamed as lettered appendices: "9.
    References" as "A. References", "9.1.  Normative References" as "A.1.
    Normative References", its numbered groups ("9.2.1.  Related
    Protocols") with them, in the contents and the body alike. The letter
    is the first no appendix of the text holds already."""
    numbers = {}
    # The groups follow a section of its own, "9.  References", never a
    # field named so ("4.6.3.  REFERENCES", RFC 822).
    sections = set()
    for line in text.split('\n'):
        m = REFERENCES_LINE.match(line.replace('\f', ''))
        if m and m.group(2) and m.group(2)[0].isdigit():
            numbers.setdefault(m.group(2).split('.')[0].strip(), None)
            if re.fullmatch(r'[0-9]+\.?\s*', m.group(2)):
                sections.add(m.group(2).rstrip('. '))
    if not numbers:
        return text
    taken = set(re.findall(r'^\s*(?:appendix\s+)?([A-Z])\.\s', text, re.I | re.M))
    letter = next((c for c in 'ABCDEFGHIJKLMNOPQRSTUVWXYZ' if c not in taken), 'A')
    group = re.compile(r'^(\s*)(' + '|'.join(sections or ['-']) + r')(?=(?:\.[0-9]+)+\.?\s+\S)')
    out = []
    for line in text.split('\n'):
        m = REFERENCES_LINE.match(line.replace('\f', ''))
        top = m.group(2).split('.')[0].strip() if m and m.group(2) else ''
        if top in numbers:
            line = re.sub(r'\b' + top + r'(?=[.\s])', letter, line, count=1)
        elif len(line) - len(line.lstrip()) <= 12:
            line = group.sub(lambda g: g.group(1) + letter, line, count=1)
        out.append(line)
    return '\n'.join(out)


def without_references_contents(text):
    """The contents lines naming references left out."""
    lines = text.split('\n')
    contents = {line for line, _, _ in scan.contents_lines(lines)}
    return '\n'.join(line for i, line in enumerate(lines)
                     if not (i in contents and REFERENCES_LINE.match(line.replace('\f', ''))))


def page_edges(text):
    """The lines, page headers and footers, as the scan finds them."""
    lines = text.split('\n')
    headers, footers = scan.page_lines(lines)
    return lines, headers, footers


def respaced(parts, width):
    """Left, centre and right parts laid out over `width` columns."""
    left, centre, right = parts
    line = left
    start = max(len(line) + 2, (width - len(centre)) // 2)
    line += ' ' * (start - len(line)) + centre
    line += ' ' * max(2, width - len(line) - len(right)) + right
    return line


def split_page_line(line):
    """A header or footer line split into its left, centre and right parts."""
    text = line.replace('\f', '')
    parts = re.split(r'\s{2,}', text.strip())
    if len(parts) == 2:
        return parts[0], '', parts[1]
    if len(parts) == 3:
        return tuple(parts)
    return None


def rewrite_page_lines(text, header=None, footer=None):
    lines, headers, footers = page_edges(text)
    for i in range(len(lines)):
        change = header if i in headers else footer if i in footers else None
        parts = split_page_line(lines[i]) if change else None
        if parts:
            feed = '\f' if lines[i].startswith('\f') else ''
            lines[i] = feed + change(parts)
    return '\n'.join(lines)


def header_without_date(parts):
    left, centre, right = parts
    if scan.DATE_AT_END.search(right):
        right = ''
    return respaced((left, '', centre), 72) if not right else respaced(parts, 72)


def header_short_title(parts):
    left, centre, right = parts
    words = centre.split()
    if len(words) > 2:
        centre = ' '.join(words[:2])
    return respaced((left, centre, right), 72)


def feeds_doubled(text):
    return re.sub(r'\n\f\n', '\n\f\n\f\n', text)


def feed_on_header(text):
    """The form feed as the first byte of the header line, as many RFCs of the
    1970s and 1980s print it."""
    return re.sub(r'\n\f\n(\s*\n)*', '\n\f', text)


def indent_labels(text, indent):
    """Each printed label line indented by `indent` blanks, its text lines
    by as many more as the label line gains."""
    lines = text.split('\n')
    labels = printed_labels(lines)
    definitions = {line for line, _ in labels}
    out = []
    shift = 0
    for i, line in enumerate(lines):
        if i in definitions:
            now = len(line) - len(line.lstrip(' '))
            shift = max(0, indent - now)
        elif not line.strip() or not line.startswith(' '):
            shift = shift if line.startswith(' ') or not line.strip() else 0
        out.append(' ' * shift + line if shift and line.strip() and line.startswith(' ') else line)
    return '\n'.join(out)


def centre_references_headings(text):
    """Each references heading of the body centred and in capitals, as the
    texts that centre their chapters print it ("        9. REFERENCES")."""
    contents = {line for line, _, _ in scan.contents_lines(text.split('\n'))}
    out = []
    for i, line in enumerate(text.split('\n')):
        m = REFERENCES_LINE.match(line.replace('\f', ''))
        if m and i not in contents and not m.group(4) and len(m.group(1)) <= 4:
            line = ('\f' if line.startswith('\f') else '') + ' ' * 30 + line.replace('\f', '').strip().upper()
        out.append(line)
    return '\n'.join(out)


def tabbed_contents(text):
    """Contents typed with two tabs between the title and the page."""
    return reshape_contents(text, lambda line, title, page: line[:line.index(title) + len(title)] + '\t\t' + page)


def rename_contents_heading(text, heading):
    return re.sub(r'(?m)^[ \t]*Table of Contents[ \t]*$', heading, text, count=1)


def feed_after_footer(text):
    """The form feed at the end of the footer line, no line of its own."""
    return re.sub(r'\n\f\n', '\f\n', text)


def shift_page_numbers(text):
    """Every "[Page N]" one more: numbers that do not follow the form feeds,
    as where a page break was lost or the numbering starts at 2."""
    return re.sub(r'\[Page (\d+)\]', lambda m: f'[Page {int(m.group(1)) + 1}]', text)


def blank_before_feed(text):
    """Two blank lines between the footer and the form feed."""
    return re.sub(r'(\[Page [0-9ivx]+\])[ \t]*\n\f', r'\1\n\n\n\f', text)


FAMILIES = {
    'as is': lambda t: t,
    'crlf': lambda t: t.replace('\n', '\r\n'),
    'form feed on the header line': feed_on_header,
    'form feeds doubled': feeds_doubled,
    'form feed after the footer': feed_after_footer,
    'without form feeds': lambda t: t.replace('\f', ''),
    'labels [1]': lambda t: relabel(t, lambda k, _: f'[{k}]'),
    'labels [TCP:9]': lambda t: relabel(t, lambda k, old: f'[{re.sub(r"[^A-Z]", "", old.upper())[:4] or "REF"}:{k}]'),
    'labels [IEEE.802.3]': lambda t: relabel(t, lambda k, _: f'[IEEE.802.{k}]'),
    'labels [RFC-822]': lambda t: relabel(t, lambda k, _: f'[RFC-{800 + k}]'),
    'labels [RFC 2119]': lambda t: relabel(t, lambda k, old: re.sub(r'^\[RFC-?(\d)', r'[RFC \1', old)),
    'labels indented 8': lambda t: indent_labels(t, 8),
    'long labels alone': lambda t: relabel(t, lambda k, _: f'[ANSI-X3.4-1986-PART-{k}]', alone=True),
    'labels alone': lambda t: relabel(t, lambda k, old: old, alone=True),
    'heading REFERENCES': lambda t: rename_references(t, str.upper),
    # Only the section of all references was titled so (RFC 2616's "17
    # References" as "7.  References and Notes").
    'heading References and Notes': lambda t: rename_references(
        t, lambda w: w + ' and Notes' if w.lower() == 'references' else w),
    'heading A. References': to_appendix,
    'heading Bibliography': lambda t: rename_references(
        t, lambda w: 'Bibliography' if w.lower() == 'references' else w),
    'contents heading "Contents"': lambda t: rename_contents_heading(t, 'Contents'),
    'contents heading "TABLE OF CONTENTS"': lambda t: rename_contents_heading(t, '                           TABLE OF CONTENTS'),
    'heading centred REFERENCES': centre_references_headings,
    'references not in contents': without_references_contents,
    'labels at the margin': lambda t: reshape_entries(t, at_margin=True),
    'entries without blank lines': lambda t: reshape_entries(t, packed=True),
    'contents without leader dots': lambda t: reshape_contents(t, without_leaders),
    'contents with tabs': tabbed_contents,
    'contents in capitals': lambda t: reshape_contents(t, lambda line, title, page: line.replace(title, title.upper())),
    'page numbers off by one': shift_page_numbers,
    'blank lines before the form feed': blank_before_feed,
    'headers without date': lambda t: rewrite_page_lines(t, header=header_without_date),
    'headers, title shortened': lambda t: rewrite_page_lines(t, header=header_short_title),
    'headers and footers 80 wide': lambda t: rewrite_page_lines(
        t, header=lambda p: respaced(p, 80), footer=lambda p: respaced(p, 80)),
    'headers and footers 64 wide': lambda t: rewrite_page_lines(
        t, header=lambda p: respaced(p, 64), footer=lambda p: respaced(p, 64)),
}


def write_family(name, change, sources, out):
    folder = os.path.join(out, re.sub(r'[^a-z0-9]+', '-', name.lower()).strip('-'))
    os.makedirs(folder, exist_ok=True)
    for path in sources:
        with open(os.path.join(folder, os.path.basename(path)), 'wb') as f:
            f.write(change(read(path)).encode('latin-1'))
    return folder


def share(figure):
    found, total = figure
    return found / total if total else 1.0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--analyse', required=True, help='the parchly-analyse program')
    parser.add_argument('--family', action='append', help='only these families (default: all)')
    parser.add_argument('--worst', type=int, default=3, help='files listed where a figure drops')
    parser.add_argument('out')
    parser.add_argument('folders', nargs='+')
    args = parser.parse_args()
    sources = []
    for folder in args.folders:
        sources += [os.path.join(folder, n) for n in sorted(os.listdir(folder)) if re.fullmatch(r'rfc[0-9]+\.txt', n)]
    names = ['as is'] + [n for n in FAMILIES if n != 'as is' and (not args.family or n in args.family)]
    print(f'{len(sources)} files; per cent found ({", ".join(scan.FIGURES)})')
    print(f'{"family":32}' + ''.join(f'{f[:9]:>10}' for f in scan.FIGURES) + '  wrong/false marks')
    reference = None
    for name in names:
        folder = write_family(name, FAMILIES[name], sources, args.out)
        perFile = scan.measure_folder(args.analyse, folder)
        totals = scan.totals(perFile)
        row = f'{name:32}' + ''.join(f'{100.0 * f / t if t else 100.0:10.2f}' for f, t in
                                       (totals[figure] for figure in scan.FIGURES))
        print(row + f'  {totals["no reference"]}/{totals["false marks"]}')
        if reference is None:
            reference = perFile
            continue
        for figure in scan.FIGURES:
            dropped = sorted((share(r[figure]) - share(reference[n][figure]), n, r[figure])
                             for n, r in perFile.items() if share(r[figure]) < share(reference[n][figure]))
            dropped = dropped[:args.worst]
            if dropped:
                print(f'    {figure}: ' + ', '.join(f'{n} {f}/{t}' for _, n, (f, t) in dropped))
    return 0


if __name__ == '__main__':
    sys.exit(main())
