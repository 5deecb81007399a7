#!/bin/bash
# Corvelan end to end.  The real window writes REPARADOR.BAT for each case
# (repair_click presses its button and prints the shell call instead of
# making it); the batch then runs in Wine's own cmd, in the folder the shell
# call names, with the built sqlite3.exe beside it and standard input empty so
# that the shell at the end, and any pause, ends.  Debian's sqlite3 makes the
# ledgers and reads the results.  A case that fails must leave the chosen file
# with its name and its bytes.
set -eu
work=$(mktemp -d)
mounted=() immutable=()
cleanup() {
    for d in "${immutable[@]}"; do chattr -i "$d" 2>/dev/null || true; done
    for d in "${mounted[@]}"; do umount "$d" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
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
# history FILE ENTRIES: a HISTORIAL of that many entries, with the ledger's own columns.
history() {
    sqlite3 "$1" "CREATE TABLE HISTORIAL (NUM INTEGER PRIMARY KEY, MOMENTO TEXT NOT NULL, OPERACION TEXT NOT NULL,
                  ID INTEGER, FECHA_ANTES TEXT, DESCRIPCION_ANTES TEXT, INGRESO_ANTES DOUBLE, EGRESO_ANTES DOUBLE,
                  FECHA_DESPUES TEXT, DESCRIPCION_DESPUES TEXT, INGRESO_DESPUES DOUBLE, EGRESO_DESPUES DOUBLE,
                  NOTA TEXT, HASH_ANTERIOR TEXT NOT NULL, HASH TEXT NOT NULL)" \
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $2)
         INSERT INTO HISTORIAL SELECT i, '2024-06-30 10:00:00', 'ALTA', i, NULL, NULL, NULL, NULL, '2024-01-01',
                'ENTRADA ' || hex(randomblob(24)), i, 0, NULL, '', lower(hex(randomblob(32))) FROM n"
}
# damage FILE TABLE:N...: overwrites with text the Nth leaf page (from 0) of
# each table named; the pages are all found before any is damaged.
damage() {
    local file="$1" which pages=() page; shift
    for which in "$@"; do
        pages+=("$(sqlite3 "$file" "SELECT pageno FROM dbstat WHERE name = '${which%:*}' AND pagetype = 'leaf'
                                     ORDER BY pageno LIMIT 1 OFFSET ${which#*:}")")
    done
    for page in "${pages[@]}"; do
        [ -n "$page" ] || { fail "no such page to damage in $file"; continue; }
        yes 'basura en la pagina ' | head -c 4096 | dd of="$file" bs=4096 seek=$((page - 1)) conv=notrunc status=none
    done
}
rows() { sqlite3 "$1" "SELECT * FROM FINANZAS ORDER BY ID"; }
schema() { sqlite3 "$1" "SELECT type, name, tbl_name, sql FROM sqlite_master WHERE name <> 'REPARACION_PENDIENTE' ORDER BY name"; }
entries() { sqlite3 "$1" "SELECT count(*) FROM HISTORIAL"; }
has_history() { [ "$(sqlite3 "$1" "SELECT count(*) FROM sqlite_master WHERE name = 'HISTORIAL'")" = 1 ]; }
# The sums the console gives of a file's income and expense.
sums() {
    sqlite3 "$1" "SELECT 'Suma de ingresos de la base nueva: ' || replace(printf('%.2f', total(INGRESO)), '.', ',') ||
                  '; suma de egresos: ' || replace(printf('%.2f', total(EGRESO)), '.', ',') FROM FINANZAS"
}
# Rows whose balance is not the running sum of the signed amounts in ID order.
wrong_balances() {
    sqlite3 "$1" "SELECT count(*) FROM (SELECT ESTADO, SUM(INGEGR) OVER (ORDER BY ID) AS s FROM FINANZAS) WHERE ESTADO IS NOT s"
}
sequence() { sqlite3 "$1" "SELECT * FROM sqlite_sequence"; }
count() { sqlite3 "$1" "SELECT count(*) FROM FINANZAS"; }
sum() { md5sum < "$1"; }

program() { # a program folder with the shell beside the batch
    mkdir -p "$1"
    cp "$ARC_BIN/sqlite3.exe" "$1/"
}
# case NAME ROWS [ENTRIES]: a program folder p-NAME and a data folder NAME
# holding BD.db (with a history of ENTRIES), with a copy of the ledger as it
# was in NAME.orig.
case_with_ledger() {
    program "$work/p-$1"; mkdir -p "$work/$1"
    ledger "$work/$1/BD.db" "$2"
    if [ -n "${3:-}" ]; then history "$work/$1/BD.db" "$3"; fi
    cp "$work/$1/BD.db" "$work/$1.orig"
}

# --- the cases ---------------------------------------------------------------
# A: a sound ledger with free pages and a history.
case_with_ledger a 6000 200
[ "$(sqlite3 "$work/a/BD.db" 'PRAGMA freelist_count')" -gt 0 ] || fail "A: the ledger has no free pages"

# B: blanks in the program folder and in the data folder.
program "$work/mi programa"; mkdir "$work/mis datos"
ledger "$work/mis datos/BD.db" 800
cp "$work/mis datos/BD.db" "$work/b.orig"

# C: a set-aside file of an earlier run is still there.
case_with_ledger c 500
printf 'copia de una reparación anterior\n' > "$work/c/BD.DB.anterior"
cp "$work/c/BD.DB.anterior" "$work/c.anterior"

# D: 50,000 rows and a history of 3,000 entries, three pages of movements
# and one of the history overwritten with text; the recovery is accepted.
# D2: the same at 8,000 rows, refused.
case_with_ledger d 50000 3000
damage "$work/d/BD.db" FINANZAS:50 FINANZAS:200 FINANZAS:400 HISTORIAL:20
cp "$work/d/BD.db" "$work/d.damaged"
case_with_ledger d2 8000
damage "$work/d2/BD.db" FINANZAS:10 FINANZAS:40
cp "$work/d2/BD.db" "$work/d2.damaged"

# E: a text file chosen by mistake.
program "$work/p-e"; mkdir "$work/e"
printf 'Cuentas de marzo\r\nLuz 40\r\n' > "$work/e/notas.txt"
cp "$work/e/notas.txt" "$work/e.orig"

# F: a database of another program.
program "$work/p-f"; mkdir "$work/f"
sqlite3 "$work/f/BD.db" "CREATE TABLE CONTACTOS (NOMBRE TEXT)" "INSERT INTO CONTACTOS VALUES ('ANA')"
cp "$work/f/BD.db" "$work/f.orig"

# G: a crash in the middle of a transaction that changed every row: the file
# holds some changed pages, its journal the committed ones.
case_with_ledger g 4000
mkdir "$work/gs"; cp "$work/g/BD.db" "$work/gs/BD.db"
sqlite3 "$work/gs/BD.db" "PRAGMA cache_size = 5" "BEGIN" "UPDATE FINANZAS SET DESCRIPCION = 'SIN CONFIRMAR', INGEGR = 0" \
    ".system cp $work/gs/BD.db $work/g/BD.db" ".system cp $work/gs/BD.db-journal $work/g/BD.db-journal" "ROLLBACK"
cp "$work/g/BD.db" "$work/g.crashed"; cp "$work/g/BD.db-journal" "$work/g.journal"
! cmp -s "$work/g.crashed" "$work/g.orig" || fail "G: the crash wrote nothing into the file"
[ -s "$work/g.journal" ] || fail "G: no journal"

# H: a folder on a file system too small for the dump: the dump is cut short.
case_with_ledger h 4000
if mkdir "$work/h-disk" && mount -t tmpfs -o size=$(( $(stat -c %s "$work/h.orig") * 5 / 2 )) tmpfs "$work/h-disk"; then
    mounted+=("$work/h-disk")
    cp "$work/h/BD.db" "$work/h-disk/BD.db"
    h="$work/h-disk"
else
    echo "SKIP H: no small file system can be mounted here"; h=""
fi

# M: no shell beside Corvelan at the press (m1); the shell gone when the
# batch runs (m2).
mkdir -p "$work/p-m1" "$work/m1"; ledger "$work/m1/BD.db" 300; cp "$work/m1/BD.db" "$work/m1.orig"
case_with_ledger m2 300

# R: the folder cannot be written at the press (r1), or only from the press
# on (r2).
case_with_ledger r1 300
case_with_ledger r2 300
if chattr +i "$work/r1"; then immutable+=("$work/r1"); else echo "SKIP R: folders cannot be made read-only here"; fi

"$ARC_WINE" "$ARC_BIN/repair_click.exe" \
    "$(win "$work/p-a")" "$(win "$work/a/BD.db")" \
    "$(win "$work/mi programa")" "$(win "$work/mis datos/BD.db")" \
    "$(win "$work/p-c")" "$(win "$work/c/BD.db")" \
    "$(win "$work/p-d")" "$(win "$work/d/BD.db")" \
    "$(win "$work/p-e")" "$(win "$work/e/notas.txt")" \
    "$(win "$work/p-f")" "$(win "$work/f/BD.db")" \
    "$(win "$work/p-g")" "$(win "$work/g/BD.db")" \
    "$(win "$work/p-h")" "$(win "${h:-$work/h}/BD.db")" \
    "$(win "$work/p-m1")" "$(win "$work/m1/BD.db")" \
    "$(win "$work/p-m2")" "$(win "$work/m2/BD.db")" \
    "$(win "$work/p-r1")" "$(win "$work/r1/BD.db")" \
    "$(win "$work/p-r2")" "$(win "$work/r2/BD.db")" \
    "$(win "$work/p-d2")" "$(win "$work/d2/BD.db")" | tr -d '\r' > "$work/clicks"
cat "$work/clicks"
mapfile -t results < <(grep -E '^(shell|idle)' "$work/clicks")
same "presses answered" "${#results[@]}" 13

# run CASE RESULT PROGRAM_FOLDER DATA_FOLDER [TYPED]: checks the recorded shell
# call and runs the batch as the shell would, in the directory the call
# names, with what the user types (by default nothing) as its input.
run() {
    local line="$2" folder="$3" data="$4" file dir
    same "$1: shell call" "$line" "$(printf 'shell\tOpen\t%s\\REPARADOR.BAT\t\t%s\t1' "$(win "$folder")" "$(win "$data")")"
    file=$(cut -f3 <<<"$line"); dir=$(cut -f5 <<<"$line")
    local typed=/dev/null
    if [ -n "${5:-}" ]; then typed="$work/typed-$1"; printf '%s' "$5" > "$typed"; fi
    echo "--- $1: console of $file"
    (cd "$(unix "$dir")" && "$ARC_WINE" cmd /c "$file" <"$typed" 2>&1) | tr -d '\r' | iconv -f cp1252 -t utf-8 | tee "$work/console-$1"
    echo "--- end of console"
}
said() { grep -qF -- "$3" "$work/console-$1" || fail "$1: the console did not say: $3 ($2)"; }

# no_temporary CASE FOLDER: the batch took its private files away.
no_temporary() {
    local left
    left=$(cd "$2" && ls -d -- *.REPARAR_COPIA* *.REPARAR_NUEVO* 2>/dev/null || true)
    same "$1: temporary files left" "$left" ""
}

# rebuilt CASE FOLDER ORIGINAL [SET_ASIDE [CHOSEN]]: the folder holds the
# chosen file set aside (by default as BD.DB.anterior, the original itself)
# and a compact BD.db with the original's rows, schema and sequence.
rebuilt() {
    local d="$2" aside="${4:-BD.DB.anterior}"
    cmp -s "$d/$aside" "${5:-$3}" || fail "$1: $aside is not the chosen file"
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
    no_temporary "$1" "$d"
    said "$1" "rows after" "Filas de FINANZAS en la base nueva: $(count "$3")"
    said "$1" "sums" "$(sums "$3")"
    said "$1" "success" "Listo: BD.db es la base reparada"
    ! grep -qF "Escriba S" "$work/console-$1" || fail "$1: a repair that kept every row asked"
    local note="ARCHIVO=BD.db;ANTERIOR=$aside;VOLCADO=BD.db.REPARAR_BD;MODO=VOLCADO;FILAS_ANTES=$(count "$3")"
    if has_history "$3"; then
        note+=";HISTORIAL_ANTES=$(entries "$3")"
        said "$1" "history before" "Filas de HISTORIAL antes de reparar: $(entries "$3")"
        said "$1" "history after" "Filas de HISTORIAL en la base nueva: $(entries "$3")"
        same "$1: history" "$(sqlite3 "$d/BD.db" 'SELECT * FROM HISTORIAL ORDER BY NUM' | md5sum)" \
            "$(sqlite3 "$3" 'SELECT * FROM HISTORIAL ORDER BY NUM' | md5sum)"
    fi
    same "$1: note of the repair" "$(sqlite3 "$d/BD.db" "SELECT NOTA FROM REPARACION_PENDIENTE")" "$note"
    sqlite3 "$d/BD.db" "SELECT MOMENTO FROM REPARACION_PENDIENTE" | grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$' \
        || fail "$1: the note has no moment"
    echo "$1: $(count "$d/BD.db") rows kept; $old bytes became $new"
}

# unchanged CASE FILE ORIGINAL: a failure or a refusal left the file as it was.
unchanged() {
    same "$1: the chosen file" "$(sum "$2" 2>/dev/null)" "$(sum "$3")"
    no_temporary "$1" "$(dirname "$2")"
    [ ! -e "$(dirname "$2")/BD.DB.anterior" ] || fail "$1: something was set aside"
}
# refused CASE RESULT STATUS PROGRAM_FOLDER FILE ORIGINAL: nothing written, nothing started.
refused() {
    same "$1: press" "$2" "$(printf 'idle\t%s' "$3")"
    [ ! -e "$4/REPARADOR.BAT" ] || fail "$1: a batch was written"
    unchanged "$1" "$5" "$6"
}
# failed CASE FILE ORIGINAL WHAT: the batch said what failed and that nothing changed.
failed() {
    unchanged "$1" "$2" "$3"
    said "$1" "what failed" "$4"
    said "$1" "nothing changed" "El libro no se ha cambiado: $(win "$2") sigue como estaba."
    ! grep -qF "Listo:" "$work/console-$1" || fail "$1: the console reported success"
}

# A
run A "${results[0]}" "$work/p-a" "$work/a"
said A "rows before" "Filas de FINANZAS antes de reparar: $(count "$work/a.orig")"
rebuilt A "$work/a" "$work/a.orig"
# It ends at the shell's prompt on the new file.
[ "$(tail -n1 "$work/console-A")" = "sqlite> " ] || fail "A: the console does not end at the shell's prompt"
# Arcandora, started on the repaired book, enters the repair in its history once.
cp "$work/a/BD.db" "$work/a.repaired"
ARC_REPAIRED_LEDGER="$(win "$work/a.repaired")" "$ARC_WINE" "$ARC_BIN/ledger_tests.exe" \
    --gtest_filter=BookCheckTest.ALedgerRepairedByTheBatchGetsItsEntryOnce 2>&1 | tr -d '\r' > "$work/ledger-A"
grep -q '^\[       OK \] BookCheckTest.ALedgerRepairedByTheBatchGetsItsEntryOnce' "$work/ledger-A" \
    || { cat "$work/ledger-A"; fail "A: Arcandora did not enter the repair in the history"; }
grep '^repaired ledger:' "$work/ledger-A" || true

# B
run B "${results[1]}" "$work/mi programa" "$work/mis datos"
grep -qF "\"$(win "$work/mis datos/BD.db")\"" "$work/mi programa/REPARADOR.BAT" || fail "B: the file is not quoted"
rebuilt B "$work/mis datos" "$work/b.orig"

# C: the earlier file stays; this one takes the next name.
run C "${results[2]}" "$work/p-c" "$work/c"
cmp -s "$work/c/BD.DB.anterior" "$work/c.anterior" || fail "C: the earlier BD.DB.anterior changed"
said C "the name taken" "Ya hay un BD.DB.anterior de una reparación anterior: se conserva, y este archivo quedará como BD.DB.anterior.1."
rebuilt C "$work/c" "$work/c.orig" BD.DB.anterior.1

# D: rebuilt through .recover, said, asked and accepted; every row kept is a
# row of the sound file, its balance the running sum of what was kept.
run D "${results[3]}" "$work/p-d" "$work/d" $'S\r\n'
grep -q '^echo \.recover | ' "$work/p-d/REPARADOR.BAT" || fail "D: the batch does not recover"
cmp -s "$work/d/BD.DB.anterior" "$work/d.damaged" || fail "D: BD.DB.anterior is not the damaged file"
no_temporary D "$work/d"
if [ -f "$work/d/BD.db" ]; then
    same "D: integrity" "$(sqlite3 "$work/d/BD.db" 'PRAGMA integrity_check')" ok
    same "D: schema" "$(schema "$work/d/BD.db" | grep -v lost_and_found)" "$(schema "$work/d.orig")"
    same "D: sqlite_sequence" "$(sequence "$work/d/BD.db")" "$(sequence "$work/d.orig")"
    kept=$(count "$work/d/BD.db"); total=$(count "$work/d.orig")
    foreign=$(sqlite3 "$work/d/BD.db" "ATTACH '$work/d.orig' AS p;
        SELECT count(*) FROM FINANZAS f WHERE NOT EXISTS (SELECT 1 FROM p.FINANZAS g WHERE g.ID = f.ID
          AND g.FECHA IS f.FECHA AND g.DESCRIPCION IS f.DESCRIPCION AND g.INGRESO IS f.INGRESO
          AND g.EGRESO IS f.EGRESO AND g.FECHA_OP IS f.FECHA_OP AND g.INGEGR IS f.INGEGR)")
    same "D: rows not in the sound file" "$foreign" 0
    [ "$kept" -lt "$total" ] || fail "D: the damage lost no row ($kept of $total)"
    [ $((kept * 100)) -ge $((total * 95)) ] || fail "D: only $kept of $total rows kept"
    same "D: balances other than the running sum" "$(wrong_balances "$work/d/BD.db")" 0
    said D "rows before" "Filas de FINANZAS antes de reparar: no se pueden contar (el archivo está dañado)"
    said D "rows after" "Filas de FINANZAS en la base nueva: $kept"
    said D "sums" "$(sums "$work/d/BD.db")"
    said D "balances" "Saldos (ESTADO) recalculados en la base nueva"
    # The history's count before is its last entry's number; the recovery lost some.
    history_kept=$(entries "$work/d/BD.db")
    [ "$history_kept" -lt 3000 ] || fail "D: the damage lost no entry of the history"
    said D "history before" "Filas de HISTORIAL antes de reparar: 3000"
    said D "history lost" "Filas de HISTORIAL en la base nueva: $history_kept de 3000 (se perdieron $((3000 - history_kept)))"
    said D "why it asks" "Atención: las filas del archivo dañado no se pueden contar"
    said D "the question" "Escriba S y pulse Intro para poner la base nueva en lugar del archivo"
    said D "success" "Listo: BD.db es la base reparada"
    [ "$(grep -bo 'Escriba S' "$work/console-D" | cut -d: -f1)" -lt "$(grep -bo 'Listo:' "$work/console-D" | cut -d: -f1)" ] \
        || fail "D: the question came after the swap"
    same "D: note of the repair" "$(sqlite3 "$work/d/BD.db" "SELECT NOTA FROM REPARACION_PENDIENTE")" \
        "ARCHIVO=BD.db;ANTERIOR=BD.DB.anterior;VOLCADO=BD.db.REPARAR_BD;MODO=RECUPERACION;FILAS_ANTES=?;HISTORIAL_ANTES=3000"
    lost=$(sqlite3 "$work/d/BD.db" "SELECT count(*) FROM lost_and_found" 2>/dev/null || echo 0)
    if [ "$lost" -gt 0 ]; then said D "lost and found" "Filas halladas en lost_and_found: $lost"; fi
    echo "D: .recover kept $kept of $total rows and $history_kept of 3000 history entries, $lost in lost_and_found"
else
    fail "D: no new BD.db"
fi

# D2: the same question answered with nothing: no swap, no success.
run D2 "${results[12]}" "$work/p-d2" "$work/d2"
said D2 "the question" "Escriba S y pulse Intro para poner la base nueva en lugar del archivo"
failed D2 "$work/d2/BD.db" "$work/d2.damaged" "No se ha puesto la base nueva: no se escribió S."

# E, F: not a database, not a ledger.
refused E "${results[4]}" "El archivo no es una base de datos" "$work/p-e" "$work/e/notas.txt" "$work/e.orig"
same "E: folder" "$(ls "$work/e")" "notas.txt"
refused F "${results[5]}" "El archivo no es un libro de caja: no tiene la tabla FINANZAS" "$work/p-f" "$work/f/BD.db" "$work/f.orig"

# G: the journal rolled back on a copy; the crashed pair set aside untouched.
run G "${results[6]}" "$work/p-g" "$work/g"
said G "the journal" "El archivo tiene un diario pendiente (BD.db-journal)"
rebuilt G "$work/g" "$work/g.orig" BD.DB.anterior "$work/g.crashed"
cmp -s "$work/g/BD.DB.anterior-journal" "$work/g.journal" || fail "G: the journal was not set aside with it"
[ ! -e "$work/g/BD.db-journal" ] || fail "G: a journal lies beside the new BD.db"

# H: the dump is cut short by the full disk.
if [ -n "$h" ]; then
    run H "${results[7]}" "$work/p-h" "$h"
    failed H "$h/BD.db" "$work/h.orig" "ERROR:"
    cut=$(stat -c %s "$h/BD.db.REPARAR_BD"); full=$(sqlite3 "$work/h.orig" .dump | wc -c)
    [ "$cut" -lt "$full" ] || fail "H: the dump was not cut short ($cut of $full bytes)"
    echo "H: the dump stopped at $cut of $full bytes"
fi

# M: no shell.
refused M1 "${results[8]}" "Falta sqlite3.exe junto a Corvelan: no se puede reparar" "$work/p-m1" "$work/m1/BD.db" "$work/m1.orig"
rm "$work/p-m2/sqlite3.exe"
run M2 "${results[9]}" "$work/p-m2" "$work/m2"
failed M2 "$work/m2/BD.db" "$work/m2.orig" "ERROR: SQLite no pudo volcar el archivo."

# R: a folder that cannot be written.
if [ ${#immutable[@]} -gt 0 ]; then
    refused R1 "${results[10]}" "No se puede escribir en la carpeta del archivo" "$work/p-r1" "$work/r1/BD.db" "$work/r1.orig"
    chattr +i "$work/r2"; immutable+=("$work/r2")
    run R2 "${results[11]}" "$work/p-r2" "$work/r2"
    failed R2 "$work/r2/BD.db" "$work/r2.orig" "ERROR: no se pudo copiar el archivo para repararlo."
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all end-to-end checks passed"
