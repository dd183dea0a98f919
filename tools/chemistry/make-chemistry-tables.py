#!/usr/bin/env python3
"""Builds the program's built-in chemistry tables from the RRUFF Project's mineral lists.

    python3 tools/chemistry/make-chemistry-tables.py [DATA_DIR] [OUT_DIR]

DATA_DIR holds ima-minerals-2025-09-08.csv and rruff-ideal-chemistry.tsv (default: ../shared/data/chemistry
beside the checkout); OUT_DIR receives chemistry.csv, chemistry-extra.csv and mineral-groups.csv (default:
src/resources/chemistry). Each chemistry line is "<Name> <formula in HTML>", the name written as in
reference file names: letters and digits only (Abenakiite-(Ce) becomes AbenakiiteCe). Each line of
mineral-groups.csv is "<Name>\t<structural group>" as the IMA list writes the group ("Mica, Clay" names
two; empty or "Not in a structural group" for none).

A RRUFF name the IMA list lacks gets a group in three cases only: the IMA list has split it by a
suffix (Hainite is now Hainite-(Y); Tennantite Tennantite-(Zn), -(Fe) ...) and all species so named
share the group; its ideal chemistry is that of IMA species of one group (an older name, as
Fluoropotassicrichterite for Potassic-fluoro-richterite); or its ideal chemistry is a range of
compositions (Labradorite Na0.5-0.3Ca0.5-0.7Al1.5-1.7...) whose ends lie between two IMA species of one
group (Albite and Anorthite, Feldspar): an intermediate member of their series. Where the ends are also
those of a series of polymorphs in another group (Lingunite - Stoefflerite, high-pressure Coronadite),
the series whose species were described first counts: old series names such as the plagioclases' refer
to it.
"""
import collections
import csv
import html
import itertools
import os
import re
import sys

here = os.path.dirname(os.path.abspath(__file__))
checkout = os.path.dirname(os.path.dirname(here))
data_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(checkout, '..', 'shared', 'data', 'chemistry')
out_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(checkout, 'src', 'resources', 'chemistry')


def file_name(name):
    return re.sub(r'[^A-Za-z0-9]', '', name)


def one_line(formula):
    return ' '.join(formula.split())


def rruff_markup_to_html(formula):
    """RRUFF writes _x_ for subscripts, ^x^ for superscripts, [box] for a vacancy, HTML entities."""
    formula = formula.replace('[box]', '\u25fd')
    formula = re.sub(r'_([^_]*)_', r'<sub>\1</sub>', formula)
    formula = re.sub(r'\^([^^]*)\^', r'<sup>\1</sup>', formula)
    return html.unescape(formula)


def composition(formula):
    """Atoms per formula unit, as fractions of all atoms, of a formula of element symbols, numbers and
    parentheses; None for anything else (sites shared as (Na,K), water of variable amount, vacancies)."""
    if not re.fullmatch(r'[A-Za-z0-9.()]+', formula):
        return None
    stack = [collections.Counter()]
    for token in re.findall(r'\(|\)[\d.]*|[A-Z][a-z]?[\d.]*|.', formula):
        element = re.match(r'([A-Z][a-z]?|\)|\()([\d.]*)', token)
        if not element:
            return None
        symbol, count = element.group(1), float(element.group(2) or 1)
        if symbol == '(':
            stack.append(collections.Counter())
        elif symbol == ')':
            if len(stack) < 2:
                return None
            for e, n in stack.pop().items():
                stack[-1][e] += count * n
        else:
            stack[-1][symbol] += count
    total = sum(stack[0].values())
    return {e: n / total for e, n in stack[0].items()} if len(stack) == 1 and total > 0 else None


def range_ends(rruff_formula):
    """The two ends of a RRUFF formula written with ranges (Na_0.5-0.3_...), or None."""
    plain = re.sub(r'\^[^^]*\^', '', html.unescape(rruff_formula)).replace(' ', '')
    ranged = r'_(\d+(?:\.\d+)?)-(\d+(?:\.\d+)?)_'
    if not re.search(ranged, plain):
        return None
    ends = [composition(re.sub(ranged, lambda m, k=k: m.group(k), plain).replace('_', ''))
            for k in (1, 2)]
    return ends if all(ends) else None


def between(a, b, x):
    """Whether composition x lies on the line from a to b (both ends included)."""
    elements = set(a) | set(b) | set(x)
    d = {e: b.get(e, 0) - a.get(e, 0) for e in elements}
    r = {e: x.get(e, 0) - a.get(e, 0) for e in elements}
    length = sum(v * v for v in d.values())
    t = sum(d[e] * r[e] for e in elements) / length if length else -1
    return 0 <= t <= 1 and all(abs(r[e] - t * d[e]) < 1e-3 for e in elements)


def series_group(ends, species):
    """The structural group of the series (two species of one group) that both ends lie in, preferring
    the series described first; empty when there is none. species: (composition, group, year)."""
    elements = set(ends[0]) | set(ends[1])
    near = [s for s in species if set(s[0]) <= elements]
    series = [(max(a[2], b[2]), a[1]) for a, b in itertools.combinations(near, 2)
              if a[1] == b[1] and set(a[0]) | set(b[0]) == elements
              and all(between(a[0], b[0], end) for end in ends)]
    return min(series)[1] if series else ''


def same_chemistry_group(formula, listed):
    """The one group of the listed species of the same composition as the RRUFF `formula`; empty
    when there is none, or several (polymorphs in other groups or in none). listed: (composition,
    group) of every species."""
    plain = re.sub(r'\^[^^]*\^', '', html.unescape(formula)).replace(' ', '').replace('_', '')
    mine = composition(plain)
    groups = {group for theirs, group in listed if mine and set(theirs) == set(mine)
              and all(abs(theirs[e] - mine[e]) < 1e-3 for e in mine)}
    real = groups.pop() if len(groups) == 1 else ''
    return '' if real == 'Not in a structural group' else real


def split_group(name, listed):
    """The one group of the listed species named `name` plus a suffix of up to five letters or
    digits (a species split by its dominant element); empty when there is none or several.
    listed: (name, group) of the species in a group."""
    groups = {group for species, group in listed
              if species.lower().startswith(name.lower()) and 0 < len(species) - len(name) <= 5}
    return groups.pop() if len(groups) == 1 else ''


def main():
    ima_lines = []
    group_lines = []
    species = []
    split = []
    everyone = []
    known = set()
    with open(os.path.join(data_dir, 'ima-minerals-2025-09-08.csv'), encoding='utf-8', newline='') as f:
        for row in csv.DictReader(f):
            name = file_name(row['Mineral Name (plain)'])
            formula = one_line(html.unescape(row['IMA Chemistry (HTML)']))
            if not name or not formula or name.lower() in known:
                continue
            known.add(name.lower())
            ima_lines.append(f'{name} {formula}\n')
            group = ' '.join(row['Structural Groupname'].split())
            group_lines.append(f'{name}\t{group}\n')
            plain = re.sub(r'</?sub>', '', re.sub(r'<sup>.*?</sup>', '', formula)).replace(' ', '')
            year = int(row['Year First Published']) if row['Year First Published'].isdigit() else 9999
            if composition(plain):
                everyone.append((composition(plain), group))
            if group and group != 'Not in a structural group':
                split.append((name, group))
                if composition(plain):
                    species.append((composition(plain), group, year))

    extra_lines = []
    with open(os.path.join(data_dir, 'rruff-ideal-chemistry.tsv'), encoding='utf-8', newline='') as f:
        for row in csv.DictReader(f, delimiter='\t'):
            name = file_name(row['file_name_mineral'])
            formula = one_line(rruff_markup_to_html(row['ideal_chemistry']))
            if not name or not formula or name.lower() in known:
                continue
            known.add(name.lower())
            extra_lines.append(f'{name} {formula}\n')
            ends = range_ends(row['ideal_chemistry'])
            group = (split_group(name, split) or same_chemistry_group(row['ideal_chemistry'], everyone)
                     or (series_group(ends, species) if ends else ''))
            if group:
                group_lines.append(f'{name}\t{group}\n')

    os.makedirs(out_dir, exist_ok=True)
    for file_name_out, lines in (('chemistry.csv', ima_lines), ('chemistry-extra.csv', extra_lines),
                                 ('mineral-groups.csv', group_lines)):
        with open(os.path.join(out_dir, file_name_out), 'w', encoding='utf-8', newline='\n') as f:
            f.writelines(lines)
        print(f'{file_name_out}: {len(lines)} minerals')


if __name__ == '__main__':
    main()
