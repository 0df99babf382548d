#!/usr/bin/python3
"""How exactly parchly-analyse reads a folder of RFCs, measured against a
scan of each file's own text made here, independently of the analysis.

    tools/accuracy_report.py --analyse build/tools/parchly-analyse FOLDER
    [--worst N] [--json]

For every rfcNNNN.txt of FOLDER it counts, in the printed text:
  labels     reference labels ("[RFC2119]", "[1]", "[TCP:9]") opening a line
             of a references section; found when a reference has that label
             at that line
  citations  every bracketed occurrence of a printed label outside its own
             entry line, alone or in a list, wrapped over a line too;
             found when a citation link covers it
  rfc links  "RFC 791", "RFC-1122", "RFC1122", "RFC #822", "RFCs 1034 and
             1035", "STD 5/RFC 791", "NWG/RFC: 11", "RFC" at a line end and its number on
             the next line, in the body and in the references' entries
             after their labels, not a grouped count ("RFC
             10,000"); found when a link covers the number
  contents   printed contents lines that end in a page number; exact when
             an entry ends on that line with that page and that title
  matched    contents entries the analysis matched to a heading of the body
             (its own word: a sign of entries the Structure tree cannot
             reach, not a count against the printed text)
  headers    first lines of pages 2.. shaped as a header (opened by "RFC n",
             closed by a date, or mirrored); found when marked
  footers    last lines of pages holding "[Page N]", or the page's own
             number alone ("- 3 -", "Page 3"); found when marked
  pages      files whose page count is the form feeds + 1
and prints the per cent found and the files where each is worst. Body lines
taken for a header or footer are counted apart ("false marks"). Pages end
at form feeds, or, in a text kept without them, at the footers the scan
finds itself.
"""
import argparse
import json
import os
import re
import subprocess
import sys

MONTHS = r'(jan|feb|mar|apr|may|jun|jul|aug|sep|oct|nov|dec)[a-z]*\.?'
DATE_AT_END = re.compile(r'\b' + MONTHS + r'\s+(\d{1,2},?\s+)?[l1]\d{3}\s*$', re.I)
# The date at the margin and the number flush right, on left-hand pages.
MIRRORED_HEADER = re.compile(r'(\d{1,2}\s+)?' + MONTHS + r'\s+(\d{1,2},?\s+)?[l1]\d{3}\s{2,}.*\sRFC[ -]?[0-9]+\s*$', re.I)
REFERENCES_HEADING = re.compile(
    r'^(appendix\s+)?([0-9]+(\.[0-9]+)*\.?|[A-Z](\.[0-9]+)*\.?|[IVX]+\.)?\s*'
    r'(([a-z-]+\s+)?(references|bibliography)(\s+and\s+(notes|bibliography|footnotes))?'
    r'|(normative\s+and\s+informative|footnotes\s+and|notes\s+and|bibliography\s+and)\s+references'
    r'|(works|literature|references)\s+cited'
    r'|((normative|informative|informational|non-normative)\s+)?reference)\s*[:.]?\s*$', re.I)
URI_LIST_HEADING = re.compile(r"^([0-9]+(\.[0-9]+)*\.?\s+|[A-Z](\.[0-9]+)*\.?\s+)?URI'?s\s*$", re.I)
LABEL_LINE = re.compile(r'^\s{0,12}(\[[^\[\]\s][^\[\]]{0,60}\])')
# "Table of Contents:" with a colon too; "Contents:" alone opens a value in
# the body (the responses of RFC 9051).
CONTENTS_HEADING = re.compile(r'^\s*(table\s+of\s+contents\s*:?|contents)\s*$', re.I)
# Leaders may hold a stray comma ("Leap Seconds ......,... 15", RFC 3339).
CONTENTS_PAGE = re.compile(r'^(\s*)(\S.*?)(\s*\.[\s.]*(?:,[\s.]*)*|\s{2,})([0-9]+|[ivx]+)\s*$')
# Not glued to a path or a name: "10.17487/RFC8899" is a DOI, "RFC822.SIZE"
# an IMAP item.
RFC_NUMBER = re.compile(r'(?<![\w/.-])RFCs?(?:[- ]?| *#)0*([0-9]{1,5})(?![\w]|\.\w)')
# "STD 5/RFC 791": the RFC that is a series number, glued to its slash.
RFC_OF_SERIES = re.compile(r'\b(?:STD|BCP|FYI) ?[0-9]{1,4}/RFC[- ]?0*([0-9]{1,5})(?![\w]|\.\w)')
# "NWG/RFC 95", "NWG/RFC #36", "NWG/RFC: 11", "NWG/RFC# 11": the series as
# the memos of 1969 to 1971 name it, glued to the group's name.
RFC_OF_GROUP = re.compile(r'(?<![\w/.-])NWG/RFC(?:[- ]?|: *|# *| *#)0*([0-9]{1,5})(?![\w]|\.\w)')
RFC_LIST = re.compile(r'\bRFCs\s+[0-9]{1,5}((,\s*(and\s+|or\s+)?|\s+(and|or)\s+)[0-9]{1,5})+')
# "RFC 10,000": a number going on in a group of three digits is a count,
# never an RFC number as the series prints them; "RFCs 791,793" a list.
DIGIT_GROUPS = re.compile(r'(?<![0-9])[0-9]{1,2},[0-9]{3}(?![0-9])')


def in_digit_groups(line, column):
    """Whether the number at `column` of `line` is part of a grouped number."""
    return any(m.start() <= column < m.end() for m in DIGIT_GROUPS.finditer(line))


def lines_of(path):
    with open(path, 'rb') as f:
        data = f.read().replace(b'\r\n', b'\n')
    return [l.decode('latin-1') for l in data.split(b'\n')]


def pages_of(lines):
    """The (first, last) 0-based line indexes of each page. A form feed
    after the text of a line ("[Page 3]\\f") ends the page with that line."""
    if not any('\f' in line for line in lines):
        return pages_by_footers(lines)
    pages = []
    start = 0
    for i, line in enumerate(lines):
        if '\f' in line:
            if line.split('\f')[0].strip():
                pages.append((start, i))
                start = i + 1
            else:
                pages.append((start, i - 1))
                start = i
    pages.append((start, len(lines) - 1))
    return pages


def pages_by_footers(lines):
    """The pages of a text kept without its form feeds: each ends at its
    footer, a line ending in "[Page N]" or the number of the page counted
    centred alone ("- 3 -", "Page 3")."""
    pages = []
    start = 0
    for i, line in enumerate(lines):
        if is_footer_shaped(line, len(pages) + 1):
            pages.append((start, i))
            start = i + 1
    pages.append((start, len(lines) - 1))
    return pages


def non_blank(lines, first, last, step):
    i = first if step > 0 else last
    while first <= i <= last:
        if lines[i].replace('\f', '').strip():
            return i
        i += step
    return None


def is_header_shaped(line):
    text = line.replace('\f', '').strip()
    return bool(re.match(r'RFC[ -]?[0-9]', text, re.I) or DATE_AT_END.search(text)
                or MIRRORED_HEADER.match(text))


def is_footer_shaped(line, page=None):
    """"[Page 3]" ending the line, or the page's own number centred alone
    ("- 3 -", "-3-", "Page 3")."""
    if re.search(r'\[\s*page\s+[0-9ivx]+\s*\]\s*$', line, re.I):
        return True
    m = re.fullmatch(r'\s+(?:-\s*([0-9]+)\s*-|page\s+([0-9]+))\s*', line.replace('\f', ''), re.I)
    return bool(m and page is not None and int(m.group(1) or m.group(2)) == page)


def page_lines(lines):
    """Header and footer lines the text itself shows, by page."""
    headers, footers = set(), set()
    pages = pages_of(lines)
    for number, (first, last) in enumerate(pages):
        if number > 0:
            top = non_blank(lines, first, last, 1)
            if top is not None and is_header_shaped(lines[top]):
                headers.add(top)
        bottom = non_blank(lines, first, last, -1)
        if bottom is not None and is_footer_shaped(lines[bottom], number + 1):
            footers.add(bottom)
    return headers, footers


def section_number(text):
    """The section number opening a heading, its closing full stop aside:
    "13" of "13.  References", "A" of "Appendix A.  References", "" where
    none opens it."""
    m = re.match(r'(?i:appendix\s+)?([A-Z]\.(?=\s)|(?:[A-Z]\.)?[0-9][0-9.]*)\s', text.strip() + ' ')
    return m.group(1).rstrip('.') if m else ''


def references_regions(lines, marks):
    """The line ranges of the references sections, from the text alone:
    from a heading naming references to the next unindented line that is
    neither a label, a page mark nor another references heading."""
    regions = []
    start = None
    last_heading = None
    number = ''
    for i, line in enumerate(lines):
        text = line.replace('\f', '')
        if not text.strip() or i in marks:
            continue
        indent = len(text) - len(text.lstrip())
        # Alone on its line it names the section, whatever its indent: at
        # the margin, set in, or centred as the texts that centre their
        # chapters print it.
        heading = REFERENCES_HEADING.match(text.strip())
        if heading:
            if start is None:
                start = i
                number = section_number(text)
            last_heading = i
            continue
        # A group of the section under a number of its own ("13.2.1.
        # Related Protocols" under "13.  References", RFC 9051).
        if start is not None and indent == 0 and number and section_number(text).startswith(number + '.'):
            continue
        # A heading underlined with dashes or equals signs (RFC 768).
        if start is not None and i == last_heading + 1 and re.fullmatch(r'[-=_ ]+', text.strip()):
            continue
        if start is not None and indent == 0 and not LABEL_LINE.match(text) and not text.startswith('RFC'):
            # An unindented line of text that is no label ends the section,
            # unless it is the label's own entry going on (RFC 1122 prints
            # labels at the margin and their text indented).
            if not re.match(r'^[A-Z][A-Z /-]*:?\s*$', text.strip()):
                regions.append((start, i))
                start = None
            elif 'REFERENCE' not in text.upper():
                regions.append((start, i))
                start = None
    if start is not None:
        regions.append((start, len(lines)))
    return regions


def uri_list_lines(lines, marks):
    """The lines of the lists of URIs xml2rfc prints after the references
    ("10.3.  URIs", then "[1] https://..."): their labels number the body's
    links, neither references nor citations of them."""
    found = set()
    inside = False
    for i, line in enumerate(lines):
        text = line.replace('\f', '')
        if not text.strip() or i in marks:
            continue
        if URI_LIST_HEADING.match(text):
            inside = True
        elif text[0] not in ' \t':
            inside = False
        elif inside:
            found.add(i)
    return found


def printed_labels(lines, regions, marks=frozenset()):
    labels = []
    uris = uri_list_lines(lines, marks)
    for first, last in regions:
        for i in range(first + 1, last):
            if i in uris:
                continue
            text = lines[i].replace('\f', '')
            m = LABEL_LINE.match(text)
            # "[FG17], and [BBK17]." goes on a note: a citation, no label.
            cited = m and text[m.end():m.end() + 1] in (',', '.', ';', ')')
            if m and not cited and not re.match(r'\[\s*page', m.group(1), re.I):
                labels.append((i, m.group(1)))
    return labels


def previous_text(lines, k):
    """The last non-blank line above line k, stripped."""
    for i in range(k - 1, -1, -1):
        text = lines[i].replace('\f', '').strip()
        if text:
            return text
    return ''


def contents_lines(lines):
    """The printed contents lines that end in a page number, with the page
    and the text before the leaders."""
    found = []
    i = 0
    while i < len(lines) and not CONTENTS_HEADING.match(lines[i].replace('\f', '')):
        i += 1
    if i == len(lines):
        return found
    misses = 0
    for k in range(i + 1, len(lines)):
        text = lines[k].replace('\f', '').rstrip()
        if not text.strip():
            continue
        if is_header_shaped(text) or is_footer_shaped(text):
            continue
        m = CONTENTS_PAGE.match(text)
        # One dot between digits is a title's version ("Renegotiation in
        # TLS 1.2" in the unpaginated contents of 2019 on), no leader.
        leader = m.group(3) if m else ''
        version = leader == '.' and m.group(2)[-1].isdigit()
        if m and (leader.strip() or len(leader) >= 2) and not version:
            printed = m.group(2)
            # A wrapped title whose last line is only its leaders (RFC
            # 1005): the title ends on the line above.
            if re.fullmatch(r'[.\s]+', printed):
                printed = previous_text(lines, k)
            found.append((k, printed, m.group(4)))
            misses = 0
            continue
        misses += 1
        if text[0] not in ' \t' and misses > 1:
            break
        if misses > 3:
            break
    return found


def bracket_groups(lines, i, marks):
    """Each "[...]" of line i, with the (line, column) each of its characters
    stands at. One left open at the line's end runs on to the first "]" of
    the next line: a citation wrapped over the line ("[INTRO:2,\n Appendix
    A]", RFC 1122), its line break read as one blank."""
    line = lines[i]
    for m in re.finditer(r'\[[^\[\]]+\]', line):
        yield m.group(0), [(i, m.start() + k) for k in range(len(m.group(0)))]
    opened = re.search(r'\[[^\[\]]*$', line)
    if not opened or i + 1 >= len(lines) or i + 1 in marks:
        return
    closed = re.match(r'\s*([^\[\]]*\])', lines[i + 1])
    if closed:
        head = opened.group(0).rstrip()
        places = [(i, opened.start() + k) for k in range(len(head))] + [(i + 1, closed.start(1))]
        places += [(i + 1, closed.start(1) + k) for k in range(len(closed.group(1)))]
        yield head + ' ' + closed.group(1), places


def analyse(binary, paths):
    out = subprocess.run([binary] + paths, capture_output=True, text=True, errors='replace').stdout
    return [json.loads(l) for l in out.splitlines() if l.strip()]


def measure(path, record):
    lines = lines_of(path)
    result = {}
    marks = {m['line'] - 1: m['isHeader'] for m in record.get('pageMarks', [])}
    headers, footers = page_lines(lines)
    result['headers'] = (sum(1 for h in headers if marks.get(h) is True), len(headers))
    result['footers'] = (sum(1 for f in footers if marks.get(f) is False), len(footers))
    pages = pages_of(lines)
    edges = set()
    for first, last in pages:
        for step in (1, -1):
            i = non_blank(lines, first, last, step)
            # A header or footer may stand a line or two from the edge.
            for k in range(3):
                if i is not None and 0 <= i + k * step < len(lines):
                    edges.add(i + k * step)
    result['false marks'] = sum(1 for line in marks if line not in edges)
    feeds = sum(1 for l in lines if '\f' in l)
    result['pages'] = (1 if len(record.get('pageEnds', [])) == feeds + 1 else 0, 1)

    references = record.get('references', [])
    byLine = {(r['firstLine'], r['label']) for r in references}
    labels = printed_labels(lines, references_regions(lines, headers | footers), headers | footers)
    uris = uri_list_lines(lines, headers | footers)
    result['labels'] = (sum(1 for l in labels if l in byLine), len(labels))
    result['no reference'] = 1 if labels and not references else 0

    links = record.get('links', [])
    spans = {}
    for link in links:
        spans.setdefault(link['line'], []).append((link['startColumn'], link['endColumn'], link['kind']))

    def covered(line, column, kinds):
        return any(s <= column < e and k in kinds for s, e, k in spans.get(line, []))

    labelSet = {label for _, label in labels}
    definitions = {line for line, _ in labels}
    contents = record.get('contents', [])
    contentLines = set()
    for entry in contents:
        if entry.get('firstLine', 0) > 0:
            contentLines.update(range(entry['firstLine'] - 1, entry['lastLine']))
    found = total = 0
    for i, line in enumerate(lines):
        if i in marks or i in contentLines:
            continue
        for text, places in bracket_groups(lines, i, marks):
            if (i in definitions or i in uris) and line[:places[0][1]].strip() == '':
                continue
            if ' '.join(text.split()) in labelSet:
                total += 1
                found += covered(*places[0], {'citation', 'section'})
                continue
            # A list of labels, "[1, 7]", "[RFC2119, RFC8174]" or "[RFC2119;
            # RFC8174]": each label of the list counts where it stands.
            for item in re.finditer(r'[^,;\s\[\]][^,;\[\]]*', text):
                name = ' '.join(item.group(0).split())
                if re.search('[,;]', text) and '[' + name + ']' in labelSet:
                    total += 1
                    found += covered(*places[item.start()], {'citation', 'section'})
    result['citations'] = (found, total)

    found = total = 0
    bodyStart = max(record.get('titleLine', 1) - 1, 0)
    for i in range(bodyStart, len(lines)):
        line = lines[i]
        if i in marks or i in contentLines:
            continue
        # An entry's own label ("[RFC2119]") is its reference, no link; the
        # numbers its text goes on to print ("RFC 2119, March 1997") are.
        label = LABEL_LINE.match(line) if i in definitions else None
        own = label.end(1) if label else 0
        numbers = [m.start(1) for m in RFC_NUMBER.finditer(line, own)]
        numbers += [m.start(1) for m in RFC_OF_SERIES.finditer(line, own)]
        numbers += [m.start(1) for m in RFC_OF_GROUP.finditer(line, own)]
        for m in RFC_LIST.finditer(line, own):
            numbers += [m.start() + n.start() for n in re.finditer(r'[0-9]+', m.group(0))]
        for column in sorted(set(numbers)):
            if in_digit_groups(line, column):
                continue
            total += 1
            found += covered(i, column, {'rfc', 'citation', 'section'})
        if re.search(r'\bRFCs?[- ]?$', line.rstrip()) and i + 1 < len(lines):
            m = re.match(r'\s*([0-9]{1,5})\b', lines[i + 1])
            if m and i + 1 not in marks:
                total += 1
                found += covered(i + 1, m.start(1), {'rfc', 'citation', 'section'})
    result['rfc links'] = (found, total)

    byLast = {e['lastLine'] - 1: e for e in contents if e.get('lastLine', 0) > 0}
    found = total = 0
    for line, text, page in contents_lines(lines):
        total += 1
        entry = byLast.get(line)
        if not entry:
            continue
        printed = ' '.join(text.split())
        title = ' '.join(entry['title'].split())
        pageOk = not page.isdigit() or entry['page'] == int(page)
        # A wrapped title ends on this line: its last part is printed here.
        found += bool(pageOk and title and (printed.endswith(title) or title.endswith(printed)))
    result['contents'] = (found, total)
    result['matched'] = (sum(1 for e in contents if e.get('matched')), len(contents))
    return result


FIGURES = ['labels', 'citations', 'rfc links', 'contents', 'matched', 'headers', 'footers', 'pages']


def rfc_paths(folder):
    return [os.path.join(folder, name) for name in sorted(os.listdir(folder))
            if re.fullmatch(r'rfc[0-9]+\.txt', name)]


def measure_paths(binary, paths):
    """The figures of each file, by its name."""
    perFile = {}
    for start in range(0, len(paths), 50):
        batch = paths[start:start + 50]
        for path, record in zip(batch, analyse(binary, batch)):
            perFile[os.path.basename(path)] = measure(path, record)
    return perFile


def measure_folder(binary, folder):
    return measure_paths(binary, rfc_paths(folder))


def totals(perFile):
    """Each figure summed over the files: (found, total), and the counts of
    labelled files without references and of false marks."""
    summed = {figure: (sum(r[figure][0] for r in perFile.values()), sum(r[figure][1] for r in perFile.values()))
              for figure in FIGURES}
    summed['no reference'] = sum(r['no reference'] for r in perFile.values())
    summed['false marks'] = sum(r['false marks'] for r in perFile.values())
    return summed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('--analyse', required=True, help='the parchly-analyse program')
    parser.add_argument('--worst', type=int, default=5, help='files listed per figure')
    parser.add_argument('--json', action='store_true', help='print the per-file figures as JSON')
    parser.add_argument('folders', nargs='+')
    args = parser.parse_args()
    paths = []
    for folder in args.folders:
        paths += rfc_paths(folder)
    perFile = measure_paths(args.analyse, paths)
    if args.json:
        json.dump(perFile, sys.stdout, indent=1)
        return 0
    print(f'{len(perFile)} files')
    summed = totals(perFile)
    for figure in FIGURES:
        found, total = summed[figure]
        share = 100.0 * found / total if total else 100.0
        worst = sorted((r[figure][0] / r[figure][1], name, r[figure]) for name, r in perFile.items()
                       if r[figure][1] and r[figure][0] < r[figure][1])[:args.worst]
        listed = ', '.join(f'{name} {f}/{t}' for _, name, (f, t) in worst)
        print(f'{figure:10} {share:6.2f} % ({found}/{total})' + (f'  worst: {listed}' if listed else ''))
    without = [name for name, r in perFile.items() if r['no reference']]
    falseMarks = sorted(((r['false marks'], name) for name, r in perFile.items() if r['false marks']), reverse=True)
    print(f'labelled RFCs without references: {len(without)}' + (f' ({", ".join(without[:10])})' if without else ''))
    print(f'false marks: {sum(n for n, _ in falseMarks)}'
          + (' (' + ', '.join(f'{name} {n}' for n, name in falseMarks[:args.worst]) + ')' if falseMarks else ''))
    return 0


if __name__ == '__main__':
    sys.exit(main())
