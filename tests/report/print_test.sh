#!/bin/bash
# Printing for real: the preview's "Imprimir" through the system's print
# dialog (answered by report_sample) to the CUPS PDF printers that
# scripts/test starts, read back with pdftotext.  The A4 printer gets the
# whole report; the Letter printer, picked in the dialog, pages 2 to 3 of the
# report laid out again for Letter, filling that paper.
set -eu
source "$(dirname "$0")/report_checks.sh"
if [ -z "${ARC_PRINT_OUT:-}" ] || [ -z "${CUPS_SERVER:-}" ]; then
    echo "no CUPS printers (scripts/test starts them): skipped"
    exit 77
fi
work=$(mktemp -d)
trap '[ -n "${ARC_KEEP:-}" ] || rm -rf "$work"' EXIT

# Prints and waits for the PDF that cups-pdf writes for the document; with
# "summary" first, the monthly summary instead of the treasury report.
print() {
    local mode=print
    if [ "$1" = summary ]; then mode=summary-print; shift; fi
    local document=$1 printer=$2; shift 2
    "$ARC_WINE" "$ARC_BIN/report_sample.exe" "Z:${work//\//\\}" $mode "$printer" "$document" "$@" > "$work/$document.out" \
        || { cat "$work/$document.out"; fail "printing $document failed"; }
    for _ in $(seq 1 600); do
        found=$(ls "$ARC_PRINT_OUT"/*"$document"*.pdf 2>/dev/null | head -n1 || true)
        if [ -n "$found" ] && [ -z "$(lpstat -o 2>/dev/null)" ]; then
            mv "$found" "$work/$document.pdf"
            return
        fi
        sleep 0.1
    done
    lpstat -o || true
    fail "no PDF from CUPS for $document"
}

# Where the first heading "Fecha" starts on page 1, in points.
first_heading_x() { pdftotext -f 1 -l 1 -bbox "$1" - | grep '>Fecha<' | head -n1 | sed 's/.*xMin="\([0-9.]*\)".*/\1/'; }
near() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; exit !(d < 2 && d > -2) }'; }

print informe_a4 ArcandoraPDF
check_treasury_pdf "$work/informe_a4.pdf" "$work"
pdfinfo "$work/informe_a4.pdf" | grep -q "Page size: *595 x 842 pts (A4)" || fail "A4 print on other paper"
[ "$pages" = 3 ] || fail "A4 print: $pages pages"
# Full size on the A4 printer's sheet: the body centred, (11906 - 11175) / 2 twips from the edge.
x=$(first_heading_x "$work/informe_a4.pdf")
near "$x" "$(awk 'BEGIN { print (11906 - 11175) / 2 / 20 + 1.5 }')" || fail "A4: first heading at x=$x"

print informe_carta ArcandoraCarta 2 3
grep -q "dialog range: Páginas como salen en esta impresora" "$work/informe_carta.out" \
    || fail "the dialog's range does not say how its pages count: $(cat "$work/informe_carta.out")"
check_treasury_pdf "$work/informe_carta.pdf" "$work" part
pdfinfo "$work/informe_carta.pdf" | grep -q "Page size: *612 x 792 pts (letter)" \
    || fail "Letter print on other paper: $(pdfinfo "$work/informe_carta.pdf" | grep 'Page size')"
[ "$pages" = 2 ] || fail "Letter print of pages 2-3: $pages pages"
grep -q "Informe de arcandora" "$work/all.txt" && fail "Letter pages 2-3 hold the title"
# Laid out for Letter, not the A4 layout shrunk into a corner: centred at full size.
x=$(first_heading_x "$work/informe_carta.pdf")
near "$x" "$(awk 'BEGIN { print (12240 - 11175) / 2 / 20 + 1.5 }')" || fail "Letter: first heading at x=$x"
y=$(pdftotext -f 1 -l 1 -bbox "$work/informe_carta.pdf" - | grep '>Fecha<' | head -n1 | sed 's/.*yMin="\([0-9.]*\)".*/\1/')
awk -v y="$y" 'BEGIN { exit !(y > 35 && y < 40) }' || fail "Letter: first heading at y=$y, not half an inch down"
echo "printed through CUPS: A4 3 pages (heading at x=$(first_heading_x "$work/informe_a4.pdf") pt), Letter pages 2-3 (heading at x=$x, y=$y pt)"

# The monthly summary on both papers: its table with the ledger's figures,
# its chart whole and inside the area each printer says it can print.
for paper in ArcandoraPDF:resumen_a4 ArcandoraCarta:resumen_carta; do
    print summary "${paper#*:}" "${paper%%:*}"
    check_summary_pdf "$work/${paper#*:}.pdf" "$work/BD.db"
    area=$(sed -n 's/^printable area: //p' "$work/${paper#*:}.out")
    [ -n "$area" ] && [ "$area" != unknown ] || fail "no printable area for ${paper%%:*}"
    check_summary_chart "$work/${paper#*:}.pdf" "$area"
done
pdfinfo "$work/resumen_a4.pdf" | grep -q "(A4)" || fail "summary not on A4"
pdfinfo "$work/resumen_carta.pdf" | grep -q "(letter)" || fail "summary not on Letter"
echo "printed the monthly summary through CUPS on A4 and Letter, chart inside the printable area"
