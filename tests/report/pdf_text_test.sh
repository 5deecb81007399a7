#!/bin/bash
# A three-page treasury report written as PDF under Wine (A4 without a
# printer) reads back with Debian's pdftotext: the title lines, the rows in
# date order, the headings on every page and the totals; the paper is A4
# with the body reduced to keep 10 mm at its sides.
set -eu
source "$(dirname "$0")/report_checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$ARC_WINE" "$ARC_BIN/report_sample.exe" "Z:${work//\//\\}" pdf >/dev/null
pdf="$work/informe.pdf"
check_treasury_pdf "$pdf" "$work"
[ "$pages" = 3 ] || fail "expected 3 pages, got $pages"
pdfinfo "$pdf" | grep -q "Page size: *595.* x 841.9.* pts (A4)" || fail "not A4: $(pdfinfo "$pdf" | grep 'Page size')"
# Dates in "d-MMM-yy" with the Spanish month.
grep -Eq "(^| )1-ene\.?-26 " "$txt" || fail "no 1-ene-26 date"
grep -Eq "(^| )31-ene\.?-26 " "$txt" || fail "no 31-ene-26 date"
# The first heading at least 10 mm (28.35 pt) from the left edge.
x=$(pdftotext -f 1 -l 1 -bbox "$pdf" - | grep '>Fecha<' | head -n1 | sed 's/.*xMin="\([0-9.]*\)".*/\1/')
awk -v x="$x" 'BEGIN { exit !(x >= 28.3) }' || fail "first heading at $x pt, nearer than 10 mm to the edge"
echo "PDF read back: $pages pages, 100 rows in date order, totals $total_in / $total_out / $total_net"

# The monthly summary saved as PDF from its preview: the table read back
# with the ledger's figures, and the bars as filled vector paths in the
# income and expense colours (three months and the legend's sample each).
"$ARC_WINE" "$ARC_BIN/report_sample.exe" "Z:${work//\//\\}" summary-pdf >/dev/null
check_summary_pdf "$work/resumen.pdf" "$work/BD.db"
[ "$(grep -ac '^0 0.5 0 rg [-0-9. ]* re f$' "$work/resumen.pdf")" = 4 ] || fail "green bars are not 4 filled paths"
[ "$(grep -ac '^1 0 0 rg [-0-9. ]* re f$' "$work/resumen.pdf")" = 4 ] || fail "red bars are not 4 filled paths"
echo "summary PDF read back: its table holds the ledger's figures; bars drawn as filled paths"
