#!/bin/bash
# Runs backup_tests with drive Q: of the build's Wine prefix mapped to a
# fresh folder holding the install folder (with the real sqlite3.exe), then
# reads every backup the end-to-end cases left with Debian's sqlite3: the
# schema, the rows, the AUTOINCREMENT counters and the whole .dump text must
# equal the live database's.
set -eu
work=$(mktemp -d)
link="$ARC_BUILD/wineprefix/dosdevices/q:"
cleanup() {
    if [ -L "$link" ] && [ "$(readlink "$link")" = "$work" ]; then rm -f "$link"; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "backup_suite: $*"; exit 1; }

# The prefix (and its dosdevices folder) exists once Wine has run in it.
"$ARC_WINE" cmd /c exit 0 >/dev/null 2>&1 || true
if [ -L "$link" ] && [ ! -e "$link" ]; then rm -f "$link"; fi  # left by a run that was killed
[ -e "$link" ] && fail "drive q: is already mapped in the test prefix"
ln -s "$work" "$link"
mkdir -p "$work/ARCANDORA"
cp "$ARC_BIN/sqlite3.exe" "$work/ARCANDORA/"

ARC_BACKUP_DRIVE=Q "$ARC_WINE" "$ARC_BIN/backup_tests.exe" "$@" || fail "backup_tests failed"

same() {  # database, other database, query
    [ "$(sqlite3 "$1" "$3")" = "$(sqlite3 "$2" "$3")" ] || fail "$(basename "$2") differs from the live database in: $3"
}
check_case() {  # case folder, number of backups
    local dir="$work/results/$1" live="$work/results/$1/live.db" count=0
    [ -f "$live" ] || fail "case $1 left no results"
    [ "$(sqlite3 "$live" "SELECT COUNT(*) FROM FINANZAS")" = 3 ] || fail "case $1: the live database lacks its rows"
    [ "$(sqlite3 "$live" "SELECT seq FROM sqlite_sequence WHERE name = 'FINANZAS'")" = 4 ] ||
        fail "case $1: the live database's counter is not ahead of its rows"
    for db in "$dir"/*-BD.DB; do
        [ -f "$db" ] || continue
        count=$((count + 1))
        [ "$(sqlite3 "$db" "PRAGMA integrity_check")" = ok ] || fail "$(basename "$db") is damaged"
        same "$live" "$db" "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY type, name"
        same "$live" "$db" "SELECT * FROM FINANZAS ORDER BY ID"
        same "$live" "$db" "SELECT name, seq FROM sqlite_sequence ORDER BY name"
        [ "$(sqlite3 "$live" .dump)" = "$(sqlite3 "$db" .dump)" ] || fail "$(basename "$db"): its .dump differs from the live database's"
    done
    [ "$count" = "$2" ] || fail "case $1: $count backups instead of $2"
    echo "backup_suite: case $1: $count backup(s) equal to the live database: $(cd "$dir" && ls -- *-BD.DB | tr '\n' ' ')"
}
if [ $# -eq 0 ]; then
    check_case close 1
    check_case guardar_close 2
    check_case taken 1
fi
