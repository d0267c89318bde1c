#!/usr/bin/env python3
"""Derives Morvaline's food table from the ministry's spreadsheet of the
Standard Tables of Food Composition in Japan 2020 (eighth revised edition).

    derive_foods.py TABLES.xlsx OUTPUT.tsv [--check-csv body.csv]

TABLES.xlsx is the ministry's file 20201225-mxt_kagsei-mext_01110_012.xlsx
(also carried, with a CSV copy, by the GitHub repository
katoharu432/standards-tables-of-food-composition-in-japan, CC BY 4.0).
With the repository mirrored as a bare git directory:

    git --git-dir=REPO show HEAD:original/20201225-mxt_kagsei-mext_01110_012.xlsx > t.xlsx
    git --git-dir=REPO show HEAD:csv/body.csv > body.csv
    tools/foods/derive_foods.py t.xlsx data/foods/foods.tsv --check-csv body.csv

--check-csv compares every sodium and salt figure with the repository's CSV
copy and fails on any difference. Python's standard library only; the output is committed, so a build never
runs this.

Output (UTF-8, one record a line, tab-separated; "#" starts a comment):
    G  <group number>  <group name>
    <food number>  <name>  <sodium mg/100 g>  <salt g/100 g>  <kana name>
A figure is the published number without the parentheses of an estimate,
"Tr" for a trace, or "-" where the tables give none (not measured). The kana
name is the name with the kanji words of readings.txt spelled in hiragana,
empty when it would be the name itself.
"""

import csv
import io
import math
import re
import sys
import zipfile
import xml.etree.ElementTree as ET
from pathlib import Path

HERE = Path(__file__).resolve().parent
M = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
R = '{http://schemas.openxmlformats.org/officeDocument/2006/relationships}'
NAME, SODIUM, SALT = 'D', 'X', 'BI'
IDEOGRAPHIC_SPACE = '\u3000'

HEADER = """\
# 日本食品標準成分表2020年版（八訂）（文部科学省）のナトリウムと食塩相当量を加工して作成
# Derived from the Standard Tables of Food Composition in Japan 2020 (Eighth
# Revised Edition), Ministry of Education, Culture, Sports, Science and
# Technology (MEXT), https://www.mext.go.jp/a_menu/syokuhinseibun/mext_01110.html
# Processed: only the food number, group, name, sodium and salt equivalent are
# kept; estimates lose their parentheses; kana search names are added.
# Licence of the source: CC BY 4.0 compatible (Government of Japan Standard
# Terms of Use 2.0). Made by tools/foods/derive_foods.py; do not edit.
"""


def fail(message):
    sys.exit('derive_foods: ' + message)


def shared_strings(book):
    # The phonetic runs (<rPh>) hold readings of headings only; they are not text.
    strings = []
    for si in ET.fromstring(book.read('xl/sharedStrings.xml')).findall(M + 'si'):
        parts = []
        for child in si:
            if child.tag == M + 't':
                parts.append(child.text or '')
            elif child.tag == M + 'r':
                parts.extend(t.text or '' for t in child.iter(M + 't'))
        strings.append(''.join(parts))
    return strings


def sheets(book):
    """(sheet name, sheet XML path) in the workbook's order."""
    rels = ET.fromstring(book.read('xl/_rels/workbook.xml.rels'))
    target = {r.get('Id'): r.get('Target') for r in rels}
    workbook = ET.fromstring(book.read('xl/workbook.xml'))
    for sheet in workbook.iter(M + 'sheet'):
        yield sheet.get('name'), 'xl/' + target[sheet.get(R + 'id')].lstrip('/').removeprefix('xl/')


def cells(book, path, strings):
    for row in ET.fromstring(book.read(path)).iter(M + 'row'):
        values = {}
        for c in row.findall(M + 'c'):
            v = c.find(M + 'v')
            if v is None:
                continue
            column = re.match(r'[A-Z]+', c.get('r')).group()
            values[column] = (strings[int(v.text)] if c.get('t') == 's' else v.text, c.get('t') == 's')
        yield values


def figure(cell, decimals, where):
    """The published figure as text: a number, "Tr" or "-"."""
    if cell is None:
        return '-'
    text, is_text = cell
    text = text.strip()
    if is_text:
        bare = text.strip('()')
        if bare in ('Tr', '-', ''):
            return bare or '-'
        value = float(bare)
    else:
        # A negative number is how the sheet stores an estimate: its number
        # format shows it in parentheses.
        value = abs(float(text))
    scaled = value * 10 ** decimals
    if abs(scaled - round(scaled)) > 1e-6:
        fail(f'{where}: {text} has more than {decimals} decimals')
    return f'{value:.{decimals}f}' if not is_text or '.' in bare else bare


def clean_name(text):
    words = [w for w in re.split(r'[\s\u3000]+', text.strip()) if w]
    return IDEOGRAPHIC_SPACE.join(words)


def load_pairs(path):
    pairs = []
    for line in path.read_text(encoding='utf-8').splitlines():
        if line and not line.startswith('#'):
            word, replacement = line.split('\t')
            pairs.append((word, replacement))
    return pairs


def respell(name, table, number):
    out = []
    for ch in name:
        try:
            ch.encode('cp932')
            out.append(ch)
        except UnicodeEncodeError:
            if ch not in table:
                fail(f'{number}: {name!r} holds U+{ord(ch):04X}, which CP932 cannot hold; add it to respell.txt')
            out.append(table[ch])
    return ''.join(out)


def is_kanji(text, i):
    return 0 <= i < len(text) and ('\u4e00' <= text[i] <= '\u9fff' or text[i] == '々')


def kana_name(name, readings):
    # One pass, longest word first at each position, so a reading never feeds
    # another replacement. A one-kanji word is read only where it stands alone:
    # 生 is なま in "まあじ　生" but not in 和生菓子.
    out, i = [], 0
    while i < len(name):
        for word, reading in readings:
            alone = len(word) > 1 or not (is_kanji(name, i - 1) or is_kanji(name, i + 1))
            if alone and name.startswith(word, i):
                out.append(reading)
                i += len(word)
                break
        else:
            out.append(name[i])
            i += 1
    kana = ''.join(out)
    return '' if kana == name else kana


def derive(xlsx):
    book = zipfile.ZipFile(xlsx)
    strings = shared_strings(book)
    respellings = dict(load_pairs(HERE / 'respell.txt'))
    readings = sorted(load_pairs(HERE / 'readings.txt'), key=lambda p: -len(p[0]))
    groups, foods = [], []
    for sheet_name, path in sheets(book):
        group = re.match(r'\s*([0-9０-９]+)[\s\u3000]*(.+)', sheet_name)
        number = int(group.group(1).translate(str.maketrans('０１２３４５６７８９', '0123456789')))
        groups.append((number, group.group(2).strip()))
        for values in cells(book, path, strings):
            food = values.get('B', ('',))[0].strip()
            if not re.fullmatch(r'\d{5}', food):
                continue
            if int(food[:2]) != number:
                fail(f'{food} is on the sheet of group {number}')
            name = respell(clean_name(values[NAME][0]), respellings, food)
            foods.append((food, name, figure(values.get(SODIUM), 0, food + ' sodium'),
                          figure(values.get(SALT), 1, food + ' salt'), kana_name(name, readings)))
    numbers = [f[0] for f in foods]
    if len(set(numbers)) != len(numbers):
        fail('a food number appears twice')
    return groups, foods


def check_csv(foods, path):
    """Every figure against the repository's CSV copy, which writes both "Tr"
    and "-" as null and keeps numbers without the parentheses."""
    body = path.read_text(encoding='utf-8')
    rows = {r[1]: r for r in csv.reader(io.StringIO(body)) if len(r) > 57}
    header = next(csv.reader(io.StringIO(body)))
    na, salt = header.index('na') if 'na' in header else 21, 57
    mismatches = 0
    for number, name, sodium, salt_figure, _ in foods:
        row = rows.get(number)
        if row is None:
            print(f'check: {number} {name} is not in the CSV'); mismatches += 1; continue
        for ours, theirs, what in ((sodium, row[na], 'sodium'), (salt_figure, row[salt], 'salt')):
            same = (theirs == 'null') if ours in ('Tr', '-') else (
                theirs != 'null' and math.isclose(float(ours), float(theirs)))
            if not same:
                print(f'check: {number} {name} {what}: sheet {ours}, CSV {theirs}'); mismatches += 1
    print(f'check: {len(foods)} foods, CSV {len(rows)} rows, {mismatches} differences')
    return mismatches == 0 and len(rows) == len(foods)


def main(argv):
    if len(argv) not in (3, 5) or (len(argv) == 5 and argv[3] != '--check-csv'):
        sys.exit(__doc__)
    groups, foods = derive(argv[1])
    with open(argv[2], 'w', encoding='utf-8', newline='\n') as out:
        out.write(HEADER)
        for number, name in groups:
            out.write(f'G\t{number}\t{name}\n')
        for food in foods:
            out.write('\t'.join(food) + '\n')
    print(f'derive_foods: {len(groups)} groups, {len(foods)} foods')
    if len(argv) == 5 and not check_csv(foods, Path(argv[4])):
        sys.exit(1)


if __name__ == '__main__':
    main(sys.argv)
