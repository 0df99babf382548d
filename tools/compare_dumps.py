#!/usr/bin/python3
"""Compares two parchly-analyse dumps (JSON Lines, one record per file).

    tools/compare_dumps.py OLD.jsonl NEW.jsonl

Only the paginated RFCs are compared (those before RFC 8650; the rest are
counted apart). A file is "identical" when its OLD line is byte for byte the
start of its NEW line, which goes on only with fields that OLD does not
have. It is "stream" when it differs otherwise only in the authors and
groupLine of an RFC whose front matter names its stream, and "keyword" when
it differs only where its front matter has a line newly read as a keyword:
authors beside "STD:", "BCP:", "FYI:", "ISSN:" or a wrapped "Obsoletes:" or
"Updates:" list, rfcNumber after "RFC:". Every
other difference is printed with its fields; the exit status is 1 when
there is any.
"""
import json
import re
import sys

STREAMS = ("internet engineering task force", "independent submission",
           "internet research task force", "internet architecture board",
           "editorial stream")
STREAM_FIELDS = {"authors", "groupLine"}


def read_dump(path):
    with open(path, encoding="utf-8") as dump:
        lines = [line.rstrip("\n") for line in dump if line.strip()]
    return {json.loads(line)["file"]: line for line in lines}


def front_matter(path):
    """The lines of the RFC's first block: up to the first empty line."""
    block = []
    try:
        with open(path, encoding="utf-8", errors="replace") as rfc:
            for line in rfc:
                line = line.lstrip("\ufeff").rstrip("\n")
                if line.strip():
                    block.append(line)
                elif block:
                    break
    except OSError:
        pass
    return block


def allowed_fields(path):
    """The fields of OLD that the new front-matter readings may change."""
    block = front_matter(path)
    stream, keyword = set(), set()
    if block and block[0].strip().lower().startswith(STREAMS):
        stream |= {"authors", "groupLine"}
    for line in block:
        left = re.split(r"\s\s", line.strip())[0]
        if left.startswith(("STD: ", "BCP: ", "FYI: ", "ISSN: ")):
            keyword.add("authors")
        if line[:1].isspace() and re.fullmatch(r"[0-9][0-9, ]*", left):
            keyword.add("authors")
        if left.startswith("RFC:"):
            keyword.add("rfcNumber")
    return stream, keyword


def is_modern(path):
    number = re.search(r"rfc(\d+)\.txt$", path)
    return number is not None and int(number.group(1)) >= 8650


def differing_fields(old, new):
    return sorted(key for key in set(old) | set(new) if old.get(key) != new.get(key))


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    old_dump, new_dump = read_dump(argv[1]), read_dump(argv[2])
    identical, stream_only, keyword_only, other, modern = [], [], [], [], []
    for path in sorted(old_dump.keys() & new_dump.keys()):
        if is_modern(path):
            modern.append(path)
            continue
        old, new = json.loads(old_dump[path]), json.loads(new_dump[path])
        fields = differing_fields(old, new)
        added = {key for key in fields if key not in old}
        if new_dump[path].startswith(old_dump[path][:-1]) and set(fields) == added:
            identical.append(path)
            continue
        changed = set(fields) - added
        stream, keyword = allowed_fields(path)
        if changed <= stream:
            stream_only.append((path, changed))
        elif changed <= stream | keyword:
            keyword_only.append((path, changed))
        else:
            other.append((path, changed - stream - keyword))
    for label, files in (("stream", stream_only), ("keyword", keyword_only), ("DIFFERENT", other)):
        for path, changed in files:
            print(f"{label:10} {path}: {', '.join(sorted(changed))}")
    missing = sorted(old_dump.keys() ^ new_dump.keys())
    for path in missing:
        print(f"MISSING    {path}")
    compared = len(identical) + len(stream_only) + len(keyword_only) + len(other)
    print(f"{compared} files before RFC 8650: {len(identical)} byte-identical but for the added fields, "
          f"{len(stream_only)} differing only in stream-line authors/groupLine, "
          f"{len(keyword_only)} only beside newly read keywords, {len(other)} otherwise; "
          f"{len(modern)} unpaginated RFCs not compared; {len(missing)} in one dump only")
    return 1 if other or missing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
