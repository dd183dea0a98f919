#!/usr/bin/env python3
"""Builds the program's built-in chemistry tables from the RRUFF Project's mineral lists.

    python3 tools/chemistry/make-chemistry-tables.py [DATA_DIR] [OUT_DIR]

DATA_DIR holds ima-minerals-2025-09-08.csv and rruff-ideal-chemistry.tsv (default: ../shared/data/chemistry
beside the checkout); OUT_DIR receives chemistry.csv, chemistry-extra.csv and mineral-groups.csv (default:
src/resources/chemistry). Each chemistry line is "<Name> <formula in HTML>", the name written as in
reference file names: letters and digits only (Abenakiite-(Ce) becomes AbenakiiteCe). Each line of
mineral-groups.csv is "<Name>\t<structural group>" as the IMA list writes the group ("Mica, Clay" names
two; empty or "Not in a structural group" for none).
"""
import csv
import html
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


def main():
    ima_lines = []
    group_lines = []
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

    extra_lines = []
    with open(os.path.join(data_dir, 'rruff-ideal-chemistry.tsv'), encoding='utf-8', newline='') as f:
        for row in csv.DictReader(f, delimiter='\t'):
            name = file_name(row['file_name_mineral'])
            formula = one_line(rruff_markup_to_html(row['ideal_chemistry']))
            if not name or not formula or name.lower() in known:
                continue
            known.add(name.lower())
            extra_lines.append(f'{name} {formula}\n')

    os.makedirs(out_dir, exist_ok=True)
    for file_name_out, lines in (('chemistry.csv', ima_lines), ('chemistry-extra.csv', extra_lines),
                                 ('mineral-groups.csv', group_lines)):
        with open(os.path.join(out_dir, file_name_out), 'w', encoding='utf-8', newline='\n') as f:
            f.writelines(lines)
        print(f'{file_name_out}: {len(lines)} minerals')


if __name__ == '__main__':
    main()
