#!/usr/bin/python3
"""Makes a folder that stands in for the whole RFC collection in the benches.

    tools/make_bench_collection.py INDEX OUT DIR... [--mean-kb 54.7] [--seed 1]

A few dozen sample RFCs are no collection: they lean towards long modern
documents, while the real one (about 9,800 text files, 537 MB, 54.7 kB
each on average) is mostly short, older ones. So OUT gets one rfcN.txt for
every RFC that INDEX (rfc-index.txt) lists with a TXT format, a symbolic
link to a sample RFC of the DIRs from the years nearest its own: the era
decides the layout (no contents before the 1990s, unpaginated pages since
2020). Among the samples of those years, shorter ones are drawn more often,
by a weight of size^-a with `a` chosen so that the expected mean size is
--mean-kb. The draw is seeded and so the same each time. Prints the
count, the total size and the mean.
"""
import argparse
import bisect
import os
import random
import re
import sys

MONTHS = ('January|February|March|April|May|June|July|August|September|October|November|December')
ENTRY = re.compile(r'^(\d+) (.*?)(?=^\d+ |\Z)', re.S | re.M)
DATE = re.compile(r'(?:' + MONTHS + r')(?: \d{1,2},?)? (\d{4})')
RFC_NAME = re.compile(r'rfc([0-9]+)\.txt$')
NEAREST = 8  # samples of the nearest years an RFC draws from


def index_years(path):
    """Year of each RFC with a TXT format, by number."""
    with open(path, encoding='utf-8', errors='replace') as index:
        text = index.read()
    years = {}
    for number, body in ENTRY.findall(text):
        if 'Not Issued' in body[:40] or 'TXT' not in body:
            continue
        date = DATE.search(' '.join(body.split()))  # a date may wrap
        if date:
            years[int(number)] = int(date.group(1))
    return years


def samples(folders, years):
    """(year, size, path) of each sample RFC the index dates."""
    found = []
    for folder in folders:
        for name in sorted(os.listdir(folder)):
            match = RFC_NAME.match(name)
            if match and int(match.group(1)) in years:
                path = os.path.abspath(os.path.join(folder, name))
                found.append((years[int(match.group(1))], os.path.getsize(path), path))
    return sorted(found)


def candidates(year, pool):
    return sorted(pool, key=lambda sample: (abs(sample[0] - year), sample[2]))[:NEAREST]


def expected_mean(groups, exponent):
    total = 0.0
    for group in groups:
        weights = [size ** -exponent for _, size, _ in group]
        total += sum(w * size for w, (_, size, _) in zip(weights, group)) / sum(weights)
    return total / len(groups)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('index')
    parser.add_argument('out')
    parser.add_argument('folders', nargs='+')
    parser.add_argument('--mean-kb', type=float, default=54.7)
    parser.add_argument('--seed', type=int, default=1)
    args = parser.parse_args()
    years = index_years(args.index)
    pool = samples(args.folders, years)
    if not pool:
        sys.exit('no sample RFC the index dates')
    by_year = {year: candidates(year, pool) for year in set(years.values())}
    groups = [by_year[years[number]] for number in sorted(years)]
    # The mean falls as the exponent grows: halve the interval that holds it.
    low, high = 0.0, 8.0
    for _ in range(50):
        middle = (low + high) / 2
        if expected_mean(groups, middle) > args.mean_kb * 1000:
            low = middle
        else:
            high = middle
    exponent = (low + high) / 2
    os.makedirs(args.out, exist_ok=True)
    draw = random.Random(args.seed)
    total = 0
    for number in sorted(years):
        group = by_year[years[number]]
        weights = [size ** -exponent for _, size, _ in group]
        cumulative = [sum(weights[:i + 1]) for i in range(len(weights))]
        _, size, path = group[bisect.bisect(cumulative, draw.random() * cumulative[-1])]
        link = os.path.join(args.out, f'rfc{number}.txt')
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(path, link)
        total += size
    print(f'{len(years)} files, {total / 1e6:.0f} MB, {total / len(years) / 1e3:.1f} kB each '
          f'(size weight ^-{exponent:.2f} over the {NEAREST} samples of the nearest years)')


if __name__ == '__main__':
    main()
