#!/bin/bash
# "Guardar CSV" in the preview of the three-page treasury report, read back
# with Python's csv module and compared with the ledger that report_sample
# left (read with Python's sqlite3): the rows of the range in date order with
# their exact values, quotes, separators and line breaks intact, and the
# totals line; ";" and "," in Spain, "," and "." in the United States.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for lang in es en; do
    mode=csv; [ $lang = en ] && mode=csv-en
    "$ARC_WINE" "$ARC_BIN/report_sample.exe" "Z:${work//\//\\}" $mode >/dev/null
    /usr/bin/python3 - "$work/informe.csv" "$work/BD.db" $lang <<'PY'
import csv, sqlite3, sys
path, db, lang = sys.argv[1:]
raw = open(path, 'rb').read()
assert raw.startswith(b'\xef\xbb\xbf'), 'no byte-order mark'
sep, dec = (';', ',') if lang == 'es' else (',', '.')
with open(path, newline='', encoding='utf-8-sig') as f:
    rows = list(csv.reader(f, delimiter=sep, strict=True))
assert rows[0] == ['Fecha', 'Descripción', 'Ingreso', 'Egreso', 'Estado'], rows[0]
body, totals = rows[1:-1], rows[-1]
num = lambda t: float(t.replace(dec, '.'))
got = [(r[0], r[1], num(r[2]), num(r[3]), num(r[4])) for r in body]
ledger = sqlite3.connect(db).execute(
    "select FECHA, DESCRIPCION, INGRESO, EGRESO, ESTADO FROM FINANZAS "
    "WHERE FECHA BETWEEN '2026-01-01' AND '2026-01-31' ORDER BY FECHA").fetchall()
assert len(got) == 100, len(got)
assert [g[0] for g in got] == sorted(g[0] for g in got), 'not in date order'
assert sorted(got) == sorted(ledger), 'rows differ from the ledger'
texts = {g[1] for g in got}
for special in ('MOVIMIENTO 007 DÍA 08 AÑO "CUOTA"; luz, agua', 'MOVIMIENTO 008 DÍA 09 AÑO\r\nSEGUNDA LÍNEA',
                'MOVIMIENTO 009 DÍA 10 AÑO ŁÓDŹ'):
    assert special in texts, special
ins, outs = sum(l[2] for l in ledger), sum(l[3] for l in ledger)
assert totals[0] == '' and totals[1].startswith('Total del período') and 'no es el fondo' in totals[1], totals
assert abs(num(totals[2]) - ins) < 1e-6 and abs(num(totals[3]) - outs) < 1e-6, totals
assert abs(num(totals[4]) - (ins - outs)) < 1e-6, totals
assert all(dec in r[2] or r[2].isdigit() for r in body) and not any('.' in r[2] for r in body if dec == ','), 'decimals'
print(lang, 'CSV read back:', len(got), 'rows, totals', totals[2:], 'separator', repr(sep))
PY
done
