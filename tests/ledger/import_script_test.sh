#!/bin/bash
# A Norma 43 file written by an outside script, not by the project's code:
# three movements of February 2026, the first of which the book already
# holds.  The ledger suite's BankImportScript case imports it twice.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/extracto febrero.n43"
python3 - "$file" <<'PY'
import sys
def amount(cents): return "%014d" % abs(cents)
def sign(cents): return "1" if cents < 0 else "2"
key = "2085" + "9999" + "1234567890"
initial = 150000
moves = [("260203", 25000, "CUOTAS FEBRERO"),
         ("260210", -762, "COMISIÓN MANTENIMIENTO"),
         ("260215", -100, "CORREOS SELLOS")]
lines = ["11" + key + "260201" + "260228" + sign(initial) + amount(initial) + "978" + "3" + "CLUB DE PRUEBA".ljust(26)]
for date, cents, text in moves:
    lines.append("22" + "    " + "9999" + date + date + "99" + "000" + sign(cents) + amount(cents) + "0" * 10 + " " * 28)
    lines.append("2301" + text)  # no trailing spaces, as some banks write it
debits = [-c for _, c, _ in moves if c < 0]
credits = [c for _, c, _ in moves if c > 0]
final = initial + sum(credits) - sum(debits)
lines.append("33" + key + "%05d" % len(debits) + amount(sum(debits)) + "%05d" % len(credits) + amount(sum(credits))
             + sign(final) + amount(final) + "978")
lines.append("88" + "9" * 18 + "%06d" % len(lines))
with open(sys.argv[1], "wb") as f:
    f.write("".join(l + "\r\n" for l in lines).encode("cp1252"))
PY
out=$(ARC_IMPORT_N43="Z:$(echo "$file" | tr / '\\')" "$ARC_WINE" "$ARC_BIN/ledger_tests.exe" \
      --gtest_filter='BankImportScript.*' 2>&1) || { echo "$out"; exit 1; }
echo "$out"
echo "$out" | grep -q '\[  PASSED  \] 1 test' || { echo "import_script_test: the case did not run"; exit 1; }
! echo "$out" | grep -q SKIPPED || { echo "import_script_test: the case was skipped"; exit 1; }
