# Checks shared by the report scripts: the treasury report of report_sample's
# ledger, read back from a PDF with Debian's pdftotext.  Source it, then call
# check_treasury_pdf PDF WORKFOLDER [first-page-number-printed].
fail() { echo "$1"; [ -f "${txt:-}" ] && sed -n '1,12p' "$txt"; exit 1; }

# Income sums 100k+0.5 for k not divisible by 3, expense 25k for k divisible
# by 3 (k = 1..100); "#,###" rounds half away from zero; Spanish grouping.
group() { printf "%s" "$1" | rev | sed 's/\([0-9]\{3\}\)/\1./g; s/\.$//' | rev; }
income=0; expense=0; halves=0
for k in $(seq 1 100); do
    if (( k % 3 )); then income=$((income + 100 * k)); halves=$((halves + 1)); else expense=$((expense + 25 * k)); fi
done
total_in=$(group $(( income + (halves + 1) / 2 )))
total_out=$(group $expense)
total_net=$(group $(( income + (halves + 1) / 2 - expense )))

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
