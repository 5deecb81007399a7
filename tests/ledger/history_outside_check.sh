#!/bin/bash
# The history's chain checked without the program, as README tells: Debian's
# sqlite3 gives each entry's text, sha256sum its fingerprint, and each entry
# must name the one before it.  The ledger comes from the test that
# registers, modifies and deletes through the window.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ARC_KEEP_LEDGER="Z:${work//\//\\}\\BD.db" "$ARC_WINE" "$ARC_BIN/ledger_tests.exe" \
    --gtest_filter=HistoryTest.EveryChangeIsKeptWithItsValuesBeforeAndAfterAndChained >"$work/log" 2>&1 \
    || { cat "$work/log"; exit 1; }
db="$work/BD.db"
[ -f "$db" ] || { echo "the test kept no ledger"; cat "$work/log"; exit 1; }

text="quote(NUM) || ',' || quote(MOMENTO) || ',' || quote(OPERACION) || ',' || quote(ID) || ',' || \
quote(FECHA_ANTES) || ',' || quote(DESCRIPCION_ANTES) || ',' || quote(INGRESO_ANTES) || ',' || \
quote(EGRESO_ANTES) || ',' || quote(FECHA_DESPUES) || ',' || quote(DESCRIPCION_DESPUES) || ',' || \
quote(INGRESO_DESPUES) || ',' || quote(EGRESO_DESPUES) || ',' || quote(NOTA) || ',' || quote(HASH_ANTERIOR)"
previous=0000000000000000000000000000000000000000000000000000000000000000
entries=0
for num in $(sqlite3 "$db" "SELECT NUM FROM HISTORIAL ORDER BY NUM"); do
    hash=$(printf '%s' "$(sqlite3 "$db" "SELECT $text FROM HISTORIAL WHERE NUM = $num")" | sha256sum | cut -d' ' -f1)
    stored=$(sqlite3 "$db" "SELECT HASH_ANTERIOR || ' ' || HASH FROM HISTORIAL WHERE NUM = $num")
    if [ "$stored" != "$previous $hash" ]; then
        echo "entry $num: stored '$stored', computed '$previous $hash'"; exit 1
    fi
    previous=$hash
    entries=$((entries + 1))
done
[ "$entries" -eq 5 ] || { echo "expected 5 entries, found $entries"; exit 1; }

# Every movement of the book is the last state its history gives.
differ=$(sqlite3 "$db" "SELECT count(*) FROM FINANZAS f LEFT JOIN HISTORIAL h ON h.NUM = (SELECT max(NUM) FROM \
HISTORIAL g WHERE g.ID = f.ID) WHERE h.NUM IS NULL OR h.FECHA_DESPUES IS NOT f.FECHA OR h.DESCRIPCION_DESPUES IS NOT \
f.DESCRIPCION OR h.INGRESO_DESPUES IS NOT f.INGRESO OR h.EGRESO_DESPUES IS NOT f.EGRESO")
[ "$differ" = 0 ] || { echo "$differ movements differ from their history"; exit 1; }
echo "history: $entries entries chained, head $previous; the book matches it"
