#!/bin/bash
# Corvelan end to end.  The real window writes REPARADOR.BAT for each case
# (repair_click presses its button and prints the shell call instead of
# making it); the batch then runs in Wine's own cmd, in the folder the shell
# call names, with the built sqlite3.exe beside it and standard input empty so
# that the shell of the last line ends.  Debian's sqlite3 makes the ledgers
# and reads the results.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
same() { # what got expected
    if [ "$2" != "$3" ]; then fail "$1: got [$2], expected [$3]"; fi
}
win() { local p="$1"; echo "Z:${p//\//\\}"; }
unix() { local p="${1#Z:}"; echo "${p//\\//}"; }

ledger_table='CREATE TABLE if NOT exists FINANZAS (`ID` INTEGER PRIMARY KEY AUTOINCREMENT, `FECHA` TEXT, `DESCRIPCION` TEXT, `INGRESO` DOUBLE, `EGRESO` DOUBLE, `FECHA_OP` TEXT, `INGEGR` DOUBLE, ESTADO DOUBLE)'

# ledger FILE ROWS: rows of incomes and expenses with running balances; every
# third row and one block deleted again, so the file has free pages.
ledger() {
    sqlite3 "$1" "$ledger_table" \
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $2)
         INSERT INTO FINANZAS SELECT NULL, date('2024-01-01', '+' || (i % 300) || ' days'),
                'MOVIMIENTO NÚMERO ' || i || ' ' || hex(randomblob(8)),
                CASE WHEN i % 4 THEN i * 1.25 ELSE 0 END, CASE WHEN i % 4 THEN 0 ELSE i * 0.5 END,
                '2024-06-30', CASE WHEN i % 4 THEN i * 1.25 ELSE -i * 0.5 END, 0 FROM n" \
        "DELETE FROM FINANZAS WHERE ID % 3 = 0 OR ID BETWEEN $2 / 4 AND $2 / 2" \
        "UPDATE FINANZAS SET ESTADO = (SELECT s FROM (SELECT ID, SUM(INGEGR) OVER (ORDER BY ID) AS s FROM FINANZAS) AS w WHERE w.ID = FINANZAS.ID)"
}
rows() { sqlite3 "$1" "SELECT * FROM FINANZAS ORDER BY ID"; }
schema() { sqlite3 "$1" "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name"; }
sequence() { sqlite3 "$1" "SELECT * FROM sqlite_sequence"; }
count() { sqlite3 "$1" "SELECT count(*) FROM FINANZAS"; }

program() { # a program folder with the shell beside the batch
    mkdir -p "$1"
    cp "$ARC_BIN/sqlite3.exe" "$1/"
}

# --- the cases ---------------------------------------------------------------
# A: a sound ledger with free pages.
program "$work/pa"; mkdir "$work/a"
ledger "$work/a/BD.db" 6000
cp "$work/a/BD.db" "$work/a.orig"
[ "$(sqlite3 "$work/a/BD.db" 'PRAGMA freelist_count')" -gt 0 ] || fail "A: the ledger has no free pages"

# B: blanks in the program folder and in the data folder.
program "$work/mi programa"; mkdir "$work/mis datos"
ledger "$work/mis datos/BD.db" 800
cp "$work/mis datos/BD.db" "$work/b.orig"

# C: a set-aside file of an earlier run is still there.
program "$work/pc"; mkdir "$work/c"
ledger "$work/c/BD.db" 500
printf 'copia de una reparación anterior\n' > "$work/c/BD.DB.anterior"
cp "$work/c/BD.db" "$work/c.orig"; cp "$work/c/BD.DB.anterior" "$work/c.anterior"

# D: 50,000 rows, three pages overwritten with text.
program "$work/pd"; mkdir "$work/d"
ledger "$work/d/BD.db" 50000
cp "$work/d/BD.db" "$work/d.pristine"
for page in 120 400 777; do
    yes 'basura en la pagina ' | head -c 4096 | dd of="$work/d/BD.db" bs=4096 seek=$((page - 1)) conv=notrunc status=none
done
cp "$work/d/BD.db" "$work/d.damaged"

# E: a text file chosen by mistake.
program "$work/pe"; mkdir "$work/e"
printf 'Cuentas de marzo\r\nLuz 40\r\n' > "$work/e/notas.txt"
cp "$work/e/notas.txt" "$work/e.orig"

"$ARC_WINE" "$ARC_BIN/repair_click.exe" \
    "$(win "$work/pa")" "$(win "$work/a/BD.db")" \
    "$(win "$work/mi programa")" "$(win "$work/mis datos/BD.db")" \
    "$(win "$work/pc")" "$(win "$work/c/BD.db")" \
    "$(win "$work/pd")" "$(win "$work/d/BD.db")" \
    "$(win "$work/pe")" "$(win "$work/e/notas.txt")" | tr -d '\r' > "$work/clicks"
cat "$work/clicks"
mapfile -t results < <(grep -E '^(shell|idle)' "$work/clicks")
same "presses answered" "${#results[@]}" 5

# run CASE PROGRAM_FOLDER DATA_FOLDER: checks the recorded shell call and runs
# the batch as the shell would, in the directory the call names.
run() {
    local line="$2" folder="$3" data="$4" file dir
    same "$1: shell call" "$line" "$(printf 'shell\tOpen\t%s\\REPARADOR.BAT\t\t%s\t1' "$(win "$folder")" "$(win "$data")")"
    file=$(cut -f3 <<<"$line"); dir=$(cut -f5 <<<"$line")
    echo "--- $1: console of $file"
    (cd "$(unix "$dir")" && "$ARC_WINE" cmd /c "$file" </dev/null 2>&1) | tr -d '\r' | tee "$work/console-$1"
    echo "--- end of console"
}

# rebuilt NAME FOLDER ORIGINAL: the folder holds the original set aside and a
# compact BD.db with the same rows, schema and sequence.
rebuilt() {
    local d="$2"
    cmp -s "$d/BD.DB.anterior" "$3" || fail "$1: BD.DB.anterior is not the chosen file"
    [ -f "$d/BD.db" ] || { fail "$1: no new BD.db"; return; }
    [ -s "$d/BD.db.REPARAR_BD" ] || fail "$1: no dump beside the file"
    same "$1: rows" "$(rows "$d/BD.db" | md5sum)" "$(rows "$3" | md5sum)"
    same "$1: schema" "$(schema "$d/BD.db")" "$(schema "$3")"
    same "$1: sqlite_sequence" "$(sequence "$d/BD.db")" "$(sequence "$3")"
    same "$1: integrity" "$(sqlite3 "$d/BD.db" 'PRAGMA integrity_check')" ok
    same "$1: free pages" "$(sqlite3 "$d/BD.db" 'PRAGMA freelist_count')" 0
    local old new
    old=$(stat -c %s "$3"); new=$(stat -c %s "$d/BD.db")
    [ "$new" -le "$old" ] || fail "$1: new BD.db ($new bytes) larger than the old one ($old)"
    echo "$1: $(count "$d/BD.db") rows kept; $old bytes became $new"
}

# A
run A "${results[0]}" "$work/pa" "$work/a"
same "A: batch" "$(cat "$work/pa/REPARADOR.BAT")" "$(printf '%s\r\n' '@echo off' \
    "echo .dump | $(win "$work/pa")\\sqlite3.exe $(win "$work/a/BD.db") > $(win "$work/a/BD.db").REPARAR_BD" \
    "ren $(win "$work/a/BD.db") BD.DB.anterior" \
    "$(win "$work/pa")\\sqlite3.exe -init $(win "$work/a/BD.db").REPARAR_BD BD.db")"
rebuilt A "$work/a" "$work/a.orig"

# B
run B "${results[1]}" "$work/mi programa" "$work/mis datos"
grep -qF "\"$(win "$work/mis datos/BD.db")\"" "$work/mi programa/REPARADOR.BAT" || fail "B: the file is not quoted"
rebuilt B "$work/mis datos" "$work/b.orig"

# C: line 3 fails; the chosen file keeps its name and its rows.
run C "${results[2]}" "$work/pc" "$work/c"
cmp -s "$work/c/BD.DB.anterior" "$work/c.anterior" || fail "C: the earlier BD.DB.anterior changed"
same "C: rows" "$(rows "$work/c/BD.db" | md5sum)" "$(rows "$work/c.orig" | md5sum)"
same "C: schema" "$(schema "$work/c/BD.db")" "$(schema "$work/c.orig")"
same "C: sqlite_sequence" "$(sequence "$work/c/BD.db")" "$(sequence "$work/c.orig")"
same "C: integrity" "$(sqlite3 "$work/c/BD.db" 'PRAGMA integrity_check')" ok
[ -s "$work/console-C" ] || fail "C: the console showed no error"

# D: rebuilt through .recover; every row kept is a row of the sound file.
run D "${results[3]}" "$work/pd" "$work/d"
grep -q '^echo \.recover | ' "$work/pd/REPARADOR.BAT" || fail "D: line 2 does not recover"
cmp -s "$work/d/BD.DB.anterior" "$work/d.damaged" || fail "D: BD.DB.anterior is not the damaged file"
if [ -f "$work/d/BD.db" ]; then
    same "D: integrity" "$(sqlite3 "$work/d/BD.db" 'PRAGMA integrity_check')" ok
    same "D: schema" "$(schema "$work/d/BD.db" | grep -v lost_and_found)" "$(schema "$work/d.pristine")"
    same "D: sqlite_sequence" "$(sequence "$work/d/BD.db")" "$(sequence "$work/d.pristine")"
    kept=$(count "$work/d/BD.db"); total=$(count "$work/d.pristine")
    foreign=$(sqlite3 "$work/d/BD.db" "ATTACH '$work/d.pristine' AS p;
        SELECT count(*) FROM FINANZAS f WHERE NOT EXISTS (SELECT 1 FROM p.FINANZAS g WHERE g.ID = f.ID
          AND g.FECHA IS f.FECHA AND g.DESCRIPCION IS f.DESCRIPCION AND g.INGRESO IS f.INGRESO
          AND g.EGRESO IS f.EGRESO AND g.FECHA_OP IS f.FECHA_OP AND g.INGEGR IS f.INGEGR AND g.ESTADO IS f.ESTADO)")
    same "D: rows not in the sound file" "$foreign" 0
    [ $((kept * 100)) -ge $((total * 95)) ] || fail "D: only $kept of $total rows kept"
    # What the plain dump would have made of the same file, for comparison.
    echo .dump | sqlite3 "$work/d.damaged" 2>/dev/null | sqlite3 "$work/d.dumped" 2>/dev/null || true
    dumped=$(sqlite3 "$work/d.dumped" "SELECT count(*) FROM FINANZAS" 2>/dev/null || echo "no FINANZAS")
    echo "D: .recover kept $kept of $total rows; .dump would have kept: $dumped"
else
    fail "D: no new BD.db"
fi

# E: nothing written, nothing started, nothing renamed.
same "E: press" "${results[4]}" "$(printf 'idle\tEl archivo no es una base de datos')"
[ ! -e "$work/pe/REPARADOR.BAT" ] || fail "E: a batch was written"
cmp -s "$work/e/notas.txt" "$work/e.orig" || fail "E: the text file changed"
same "E: folder" "$(ls "$work/e")" "notas.txt"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all end-to-end checks passed"
