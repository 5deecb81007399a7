#!/bin/bash
# A three-page treasury report written as PDF under Wine reads back with
# Debian's pdftotext: the title lines, the rows in date order and the totals.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$ARC_WINE" "$ARC_BIN/report_sample_pdf.exe" "Z:${work//\//\\}\\informe.pdf"
pdf="$work/informe.pdf"
test -s "$pdf" || { echo "no PDF written"; exit 1; }
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" = 3 ] || { echo "expected 3 pages, got $pages"; exit 1; }
pdftotext -layout "$pdf" "$work/all.txt"
fail() { echo "$1"; sed -n '1,12p' "$work/all.txt"; exit 1; }

# The title: entity, report name, range in long dates; first page only.
head -n 3 "$work/all.txt" | grep -q "Asociación Vecinal Niño Jesús" || fail "entity name missing"
grep -q "Informe de arcandora" "$work/all.txt" || fail "report name missing"
grep -q "Desde jueves, 1 de enero de 2026, hasta sábado, 31 de enero de 2026" "$work/all.txt" || fail "range missing"
[ "$(grep -c "Informe de arcandora" "$work/all.txt")" = 1 ] || fail "title repeated"
# Headings on every page.
for p in 1 2 3; do
    pdftotext -f $p -l $p -layout "$pdf" "$work/p$p.txt"
    grep -q "Descripción o Concepto" "$work/p$p.txt" || fail "headings missing on page $p"
done

# The 100 rows, each once, in date order; nothing outside the range.
grep -o "MOVIMIENTO [0-9]* DÍA [0-9]*" "$work/all.txt" > "$work/rows.txt"
[ "$(wc -l < "$work/rows.txt")" = 100 ] || fail "expected 100 rows, got $(wc -l < "$work/rows.txt")"
[ "$(sort -u "$work/rows.txt" | wc -l)" = 100 ] || fail "a row printed twice"
awk '{print $4}' "$work/rows.txt" > "$work/days.txt"
sort -n -c "$work/days.txt" || fail "rows not in date order"
grep -q "FUERA DE RANGO" "$work/all.txt" && fail "a row outside the range was printed"
# Dates in "d-MMM-yy" with the Spanish month.
grep -Eq "(^| )1-ene\.?-26 " "$work/all.txt" || fail "no 1-ene-26 date"
grep -Eq "(^| )31-ene\.?-26 " "$work/all.txt" || fail "no 31-ene-26 date"

# Totals, on the last page only: incomes sum 100k+0.5 for k not divisible by 3,
# expenses 25k for k divisible by 3.
income=0; expense=0
for k in $(seq 1 100); do
    if (( k % 3 )); then income=$((income + 100 * k)); halves=$((${halves:-0} + 1)); else expense=$((expense + 25 * k)); fi
done
# The sums print to the cent: the 67 halves add 33,5 to the incomes; Spanish grouping.
group() { printf "%s" "$1" | rev | sed 's/\([0-9]\{3\}\)/\1./g; s/\.$//' | rev; }
inc="$(group $(( income + halves / 2 ))),5"
sal="$(group $(( income + halves / 2 - expense ))),5"
grep -q "Total Ingreso: *$inc\$" "$work/p3.txt" || fail "Total Ingreso $inc missing"
grep -q "Total Egreso: *$(group $expense)\$" "$work/p3.txt" || fail "Total Egreso $(group $expense) missing"
grep -q "Total Saldo: *$sal\$" "$work/p3.txt" || fail "Total Saldo $sal missing"
grep -q "Resumen" "$work/p3.txt" || fail "Resumen missing"
# No amount ends in a lone decimal separator, and no zero prints as one.
grep -E "MOVIMIENTO|Total" "$work/all.txt" | grep -Eq "[0-9],( |\$)|(^| ),( |\$)" && fail "a lone separator printed"
grep -q "Total" "$work/p1.txt" && fail "totals on the first page"
echo "PDF read back: $pages pages, 100 rows in date order, totals $inc / $(group $expense) / $sal"
