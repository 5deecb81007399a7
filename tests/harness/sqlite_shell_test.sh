#!/bin/bash
# The sqlite3.exe we build writes a database under Wine that Debian's own
# sqlite3 reads back row for row.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'CREATE TABLE T (ID INTEGER PRIMARY KEY, D TEXT, N DOUBLE);\nINSERT INTO T VALUES (1, %s, 12.5);\n' "'NIÑOS'" > "$work/in.sql"
"$ARC_WINE" "$ARC_BIN/sqlite3.exe" "Z:${work//\//\\}\\made.db" < "$work/in.sql"
test -f "$work/made.db" || { echo "sqlite3.exe wrote no database"; exit 1; }
got=$(sqlite3 "$work/made.db" "SELECT ID || '|' || D || '|' || N FROM T")
if [ "$got" != "1|NIÑOS|12.5" ]; then
    echo "unexpected rows: $got"; exit 1
fi
echo "sqlite3.exe database read back: $got"
