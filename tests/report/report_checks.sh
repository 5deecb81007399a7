# Checks shared by the report scripts: the treasury report of report_sample's
# ledger, read back from a PDF with Debian's pdftotext.  Source it, then call
# check_treasury_pdf PDF WORKFOLDER [first-page-number-printed].
fail() { echo "$1"; [ -f "${txt:-}" ] && sed -n '1,12p' "$txt"; exit 1; }

# Income sums 100k+0.5 for k not divisible by 3, expense 25k for k divisible
# by 3 (k = 1..100); the sums print to the cent, so the 67 halves add 33,5 to
# the incomes; Spanish grouping.
group() { printf "%s" "$1" | rev | sed 's/\([0-9]\{3\}\)/\1./g; s/\.$//' | rev; }
income=0; expense=0; halves=0
for k in $(seq 1 100); do
    if (( k % 3 )); then income=$((income + 100 * k)); halves=$((halves + 1)); else expense=$((expense + 25 * k)); fi
done
total_in="$(group $(( income + halves / 2 ))),5"
total_out=$(group $expense)
total_net="$(group $(( income + halves / 2 - expense ))),5"

# Every page has the headings; the title is on the first page only and the
# totals on the last; with a whole report, every row once in date order.
check_treasury_pdf() {
    local pdf=$1 work=$2 whole=${3:-whole}
    test -s "$pdf" || fail "no PDF at $pdf"
    pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
    txt="$work/all.txt"
    pdftotext -layout "$pdf" "$txt"
    for p in $(seq 1 "$pages"); do
        pdftotext -f "$p" -l "$p" -layout "$pdf" "$work/p$p.txt"
        grep -q "Descripción o Concepto" "$work/p$p.txt" || fail "headings missing on page $p"
    done
    grep -q "Total Ingreso: *$total_in\$" "$work/p$pages.txt" || fail "Total Ingreso $total_in missing"
    grep -q "Total Egreso: *$total_out\$" "$work/p$pages.txt" || fail "Total Egreso $total_out missing"
    grep -q "Total Saldo: *$total_net\$" "$work/p$pages.txt" || fail "Total Saldo $total_net missing"
    grep -q "Resumen" "$work/p$pages.txt" || fail "Resumen missing"
    # No amount ends in a lone decimal separator, and no zero prints as one.
    grep -E "MOVIMIENTO|Total" "$txt" | grep -Eq "[0-9],( |\$)|(^| ),( |\$)" && fail "a lone separator printed"
    [ "$pages" -gt 1 ] && grep -q "Total" "$work/p1.txt" && fail "totals on the first page"
    grep -q "FUERA DE RANGO" "$txt" && fail "a row outside the range was printed"
    [ "$whole" = whole ] || return 0
    head -n 3 "$txt" | grep -q "Asociación Vecinal Niño Jesús" || fail "entity name missing"
    grep -q "Desde jueves, 1 de enero de 2026, hasta sábado, 31 de enero de 2026" "$txt" || fail "range missing"
    [ "$(grep -c "Informe de arcandora" "$txt")" = 1 ] || fail "title missing or repeated"
    grep -o "MOVIMIENTO [0-9]* DÍA [0-9]*" "$txt" > "$work/rows.txt"
    [ "$(wc -l < "$work/rows.txt")" = 100 ] || fail "expected 100 rows, got $(wc -l < "$work/rows.txt")"
    [ "$(sort -u "$work/rows.txt" | wc -l)" = 100 ] || fail "a row printed twice"
    awk '{print $4}' "$work/rows.txt" | sort -n -c || fail "rows not in date order"
    # A letter outside Windows-1252 shows as "?", as on the screen.
    grep -q "MOVIMIENTO 009 DÍA 10 AÑO ?ÓD?" "$txt" || fail "the letters outside Windows-1252 are not shown as ?"
    grep -q "SEGUNDA LÍNEA" "$txt" || fail "second line of a description missing"
}

# The monthly summary of report_sample's ledger (January to March 2026)
# read back from a PDF: the title, a line per month with its sums and the
# fund at its end, and the totals line, each figure computed here from the
# ledger the sample left (DB), to the cent in Spanish format.
check_summary_pdf() {
    local pdf=$1 db=$2
    test -s "$pdf" || fail "no PDF at $pdf"
    txt="$(dirname "$pdf")/summary.txt"
    pdftotext -layout "$pdf" "$txt"
    grep -q "Asociación Vecinal Niño Jesús" "$txt" || fail "entity name missing"
    grep -q "De enero de 2026 a marzo de 2026" "$txt" || fail "months missing"
    /usr/bin/python3 - "$txt" "$db" <<'PY' || fail "the summary's table differs from the ledger"
import re, sqlite3, sys
text, db = open(sys.argv[1], encoding='utf-8').read(), sqlite3.connect(sys.argv[2])
# Wine's printer driver names the minus sign "hyphen", which reads back as a soft hyphen.
text = text.replace('\u00ad', '-')
def es(x):
    s = f"{x:,.2f}".replace(',', '_').replace('.', ',').replace('_', '.')
    return s.rstrip('0').rstrip(',')
def one(sql):
    return db.execute('SELECT TOTAL(' + sql).fetchone()[0]
lines = []
for month, name in (('01', 'ene'), ('02', 'feb'), ('03', 'mar')):
    within = f" FROM FINANZAS WHERE FECHA BETWEEN '2026-{month}-01' AND '2026-{month}-31'"
    figures = [one(c + within) for c in ('INGRESO)', 'EGRESO)', 'INGEGR)')]
    figures.append(one(f"INGEGR) FROM FINANZAS WHERE FECHA <= '2026-{month}-31'"))
    lines.append([f'{name} 2026'] + [es(f) for f in figures])
within = " FROM FINANZAS WHERE FECHA BETWEEN '2026-01-01' AND '2026-03-31'"
lines.append(['Total'] + [es(one(c + within)) for c in ('INGRESO)', 'EGRESO)', 'INGEGR)')] +
             [es(one("INGEGR) FROM FINANZAS WHERE FECHA <= '2026-03-31'"))])
for fields in lines:
    pattern = r'^\s*' + r'\s+'.join(re.escape(f) for f in fields) + r'\s*$'
    if not re.search(pattern, text, re.M):
        sys.exit('missing: ' + '  '.join(fields))
print('summary table:', ' | '.join('  '.join(l) for l in lines))
PY
}

# The summary's chart on the first page of a printed PDF (above the table's
# heading "Mes"), rendered at 100 dpi: its green and red bars (three months
# and the legend's sample each) and the blue fund line all inside the
# printer's printable area (points).
check_summary_chart() {
    local pdf=$1 area=$2 table
    table=$(pdftotext -f 1 -l 1 -bbox "$pdf" - | grep '>Mes<' | head -n1 | sed 's/.*yMin="\([0-9.]*\)".*/\1/')
    [ -n "$table" ] || fail "no table heading in $pdf"
    pdftoppm -r 100 -f 1 -l 1 "$pdf" "${pdf%.pdf}"
    /usr/bin/python3 - "${pdf%.pdf}"-1.ppm "$table" $area <<'PY' || fail "the chart is not whole inside the printable area of $pdf"
import sys
path, table = sys.argv[1], float(sys.argv[2]) * 100 / 72
area = [float(v) * 100 / 72 for v in sys.argv[3:7]]
data = open(path, 'rb').read()
head = data.split(maxsplit=4)
width, height, pixels = int(head[1]), int(head[2]), head[4]
kinds = {'green': lambda r, g, b: g > 90 and r < 60 and b < 60, 'red': lambda r, g, b: r > 200 and g < 60 and b < 60,
         'blue': lambda r, g, b: b > 120 and r < 60 and g < 60}
found = {k: [] for k in kinds}
for y in range(min(height, int(table))):
    row = pixels[y * width * 3:(y + 1) * width * 3]
    for x in range(width):
        r, g, b = row[3 * x], row[3 * x + 1], row[3 * x + 2]
        for k, test in kinds.items():
            if test(r, g, b):
                found[k].append((x, y))
for k, points in found.items():
    if not points:
        sys.exit(f'no {k} on the page')
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    if min(xs) < area[0] or min(ys) < area[1] or max(xs) > area[2] or max(ys) > area[3]:
        sys.exit(f'{k} from ({min(xs)}, {min(ys)}) to ({max(xs)}, {max(ys)}) px, printable {area}')
    if k != 'blue':
        columns = sorted(set(xs))
        runs = 1 + sum(1 for a, b in zip(columns, columns[1:]) if b > a + 1)
        if runs != 4:
            sys.exit(f'{runs} {k} boxes, not 4 (three months and the legend)')
print('chart inside the printable area', [round(a) for a in area], 'px')
PY
}
