#!/usr/bin/env python3
"""Reads the requirements CSV of parchly-analyse back with Python's csv
module and compares every row with the JSON record of the same RFC.

usage: requirements_csv_check.py PARCHLY_ANALYSE FIXTURE CORPUS_DIR
The corpus files are checked when present (PARCHLY_CORPUS overrides the
folder)."""
import csv
import io
import json
import os
import subprocess
import sys


def as_written(field):
    """A field as the CSV holds it: one a spreadsheet would take for a
    formula begins with an apostrophe."""
    return "'" + field if field[:1] in ("=", "+", "-", "@", "\t", "\r") else field


def check(tool, path):
    out = subprocess.run([tool, "--requirements-csv", path], capture_output=True, check=True).stdout
    rows = list(csv.reader(io.StringIO(out.decode("latin-1"), newline="")))
    record = json.loads(subprocess.run([tool, path], capture_output=True, check=True).stdout)
    wanted = [[str(record["rfcNumber"])] + [as_written(r[k]) for k in ("section", "sectionTitle", "keyword", "sentence")]
              + [str(r["line"] + 1)]
              for r in record["requirements"]]
    assert rows[0] == ["RFC", "Section", "Section title", "Keyword", "Sentence", "Line"], rows[0]
    for got, want in zip(rows[1:], wanted):
        assert got == [w.encode("utf-8").decode("latin-1") for w in want] or got == want, (path, got, want)
    assert len(rows) - 1 == len(wanted), (path, len(rows) - 1, len(wanted))
    return len(wanted), sum(1 for w in wanted if any(c in w[4] for c in ',"'))


def main():
    tool, fixture, corpus = sys.argv[1:4]
    corpus = os.environ.get("PARCHLY_CORPUS") or corpus
    paths = [fixture] + [os.path.join(corpus, n) for n in ("rfc2119.txt", "rfc2616.txt", "rfc5661.txt", "rfc8446.txt",
                                                            "rfc9110.txt", "rfc9293.txt")
                         if os.path.isfile(os.path.join(corpus, n))]
    rows = quoted = 0
    for path in paths:
        r, q = check(tool, path)
        rows += r
        quoted += q
    print(f"{rows} rows from {len(paths)} files read back, {quoted} sentences with commas or quotes")


if __name__ == "__main__":
    main()
