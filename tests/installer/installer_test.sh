#!/bin/bash
# The build's installer (ArcandoraSetup.exe of the 32-bit build,
# ArcandoraSetup64.exe of the 64-bit one) in a fresh Wine prefix of the
# build's kind, silent all the way: the install puts the three programs of
# the build's kind in C:\ARCANDORA with shortcuts and one uninstall entry
# (replacing an earlier 32-bit install where this machine runs one);
# Arcandora started from there creates BD.db; a second install over a BD.db
# with rows and the settings files replaces the programs and keeps every data
# file byte for byte; the uninstall removes programs, shortcuts and entry and
# keeps the data.
set -euo pipefail

# One display for the whole run: Wine's desktop process outlives single commands.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

if [ "$ARC_ARCH" = x86_64 ]; then
    setup="$ARC_BIN/ArcandoraSetup64.exe" machine=8664
else
    setup="$ARC_BIN/ArcandoraSetup.exe" machine=014c
fi
wine=$ARC_WINE_LOADER
export WINELOADER=$wine
version=$(sed -n 's/^#define ARC_VERSION_TEXT "\(.*\)"$/\1/p' "$ARC_BUILD/generated/Version.h")
work=$(mktemp -d)
# A prefix and a home of its own, so nothing reaches the user's menus or desktop.
export WINEPREFIX="$work/prefix" HOME="$work/home" TMPDIR="$work/tmp"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -n "$ARC_WINEARCH" ]; then export WINEARCH=$ARC_WINEARCH; fi
export LANG=es_ES.UTF-8 LC_ALL=es_ES.UTF-8
mkdir -p "$HOME" "$TMPDIR"
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

drive_c="$WINEPREFIX/drive_c"
dir="$drive_c/ARCANDORA"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Arcandora"
desktop="$drive_c/users/Public/Desktop"
programs=(Arcandora.exe Corvelan.exe sqlite3.exe)
data=(BD.db unidad.inf entidad.inf BD.DB.anterior BD.db.REPARAR_BD)
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
step() { echo "== $* ($SECONDS s)"; }

# The uninstall entries as Wine saved them (a 32-bit installer's under
# Wow6432Node in a 64-bit prefix).
uninstall_entry() {
    awk '/^\[/ { inside = ($0 ~ /\\\\Uninstall\\\\Arcandora\]/) } inside' "$WINEPREFIX/system.reg"
}

# The machine field of a Windows program's header: 014c for i386 (PE32),
# 8664 for x86-64 (PE32+).
pe_machine() {
    local offset
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' '
}

check_programs_installed() {
    for p in "${programs[@]}"; do
        cmp -s "$ARC_BIN/$p" "$dir/$p" || fail "$1: C:\\ARCANDORA\\$p is not the built $p"
    done
    [ -f "$dir/Desinstalar.exe" ] || fail "$1: no uninstaller in C:\\ARCANDORA"
    [ -f "$menu/Arcandora.lnk" ] || fail "$1: no Start-menu shortcut Arcandora"
    [ -f "$menu/Repara y compacta BD.lnk" ] || fail "$1: no Start-menu shortcut Repara y compacta BD"
    [ -f "$desktop/Arcandora.lnk" ] || fail "$1: no desktop shortcut Arcandora"
    grep -aqF 'ARCANDORA\Arcandora.exe' "$menu/Arcandora.lnk" 2>/dev/null \
        || fail "$1: shortcut Arcandora does not start C:\\ARCANDORA\\Arcandora.exe"
    grep -aqF 'ARCANDORA\Corvelan.exe' "$menu/Repara y compacta BD.lnk" 2>/dev/null \
        || fail "$1: shortcut Repara y compacta BD does not start C:\\ARCANDORA\\Corvelan.exe"
    [ "$(pe_machine "$dir/Arcandora.exe")" = "$machine" ] \
        || fail "$1: C:\\ARCANDORA\\Arcandora.exe is not of kind $machine"
    local entry
    entry=$(uninstall_entry)
    [ "$(grep -c '^\[' <<<"$entry")" = 1 ] || fail "$1: not exactly one uninstall entry"
    grep -qF "\"DisplayVersion\"=\"$version\"" <<<"$entry" || fail "$1: uninstall entry lacks DisplayVersion $version"
    grep -qF '"DisplayName"="Arcandora"' <<<"$entry" || fail "$1: uninstall entry lacks DisplayName"
    grep -qF 'ARCANDORA\\Desinstalar.exe' <<<"$entry" || fail "$1: uninstall entry lacks UninstallString"
}

check_data_kept() {
    for f in "${data[@]}"; do
        cmp -s "$work/before/$f" "$dir/$f" || fail "$1: $f changed or vanished"
    done
}

[ -f "$setup" ] || { echo "FAIL: $setup was not built"; exit 1; }
[ -n "$version" ] || { echo "FAIL: no version in Version.h"; exit 1; }

step "fresh Wine prefix ($ARC_ARCH)"
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w

# Where this machine runs 32-bit programs, the 64-bit installer first finds
# the 32-bit programs installed, as on a PC that moves to the 64-bit ones.
earlier="$ARC_BUILD/../win32/bin/ArcandoraSetup.exe"
if [ "$ARC_ARCH" = x86_64 ]; then
    if [ -f "$earlier" ] && [ -z "${ARC_NO_32BIT:-}" ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
        step "an earlier 32-bit install"
        WINELOADER=/usr/lib/wine/wine /usr/lib/wine/wine "$earlier" /S || fail "32-bit install exited with $?"
        wineserver -w
        [ "$(pe_machine "$dir/Arcandora.exe")" = 014c ] || fail "the 32-bit installer did not install 32-bit programs"
    else
        echo "== no earlier 32-bit install: this machine runs no 32-bit programs or the 32-bit build is missing"
    fi
fi

step "silent install of $(basename "$setup") $version"
"$wine" "$setup" /S || fail "first install exited with $?"
wineserver -w
check_programs_installed "first install"
[ $failures -eq 0 ] || exit 1

step "Arcandora started from C:\\ARCANDORA creates BD.db (waits up to 30 s)"
"$wine" 'C:\ARCANDORA\Arcandora.exe' >/dev/null 2>&1 &
app=$!
made=0
for _ in $(seq 1 60); do
    if [ -f "$dir/BD.db" ] && sqlite3 -readonly "$dir/BD.db" \
         "SELECT name FROM sqlite_master WHERE name = 'FINANZAS'" 2>/dev/null | grep -q FINANZAS; then
        made=1; break
    fi
    sleep 0.5
done
if [ $made -eq 1 ]; then
    step "a second start shows the running window and ends"
    timeout 30 "$wine" 'C:\ARCANDORA\Arcandora.exe' >/dev/null 2>&1 || fail "a second Arcandora did not end by itself"
    kill -0 "$app" 2>/dev/null || fail "the first Arcandora ended when a second one started"
    windows=$(xwininfo -root -tree 2>/dev/null | grep -c '"Informe Financiero"' || true)
    [ "$windows" = 1 ] || fail "$windows windows of Arcandora are open, not 1"
fi
wineserver -k 2>/dev/null || true
wait "$app" 2>/dev/null || true
wineserver -w
if [ $made -ne 1 ]; then
    fail "Arcandora did not create C:\\ARCANDORA\\BD.db with the table FINANZAS within 30 s"
    exit 1
fi

step "rows in BD.db, settings files and the repair tool's copies"
sqlite3 "$dir/BD.db" "INSERT INTO FINANZAS (FECHA, DESCRIPCION, INGRESO, EGRESO, FECHA_OP, INGEGR, ESTADO) VALUES
    ('2026-12-01', 'OFRENDA DOMINICAL', 150, 0, '2026-12-01', 150, 150),
    ('2026-12-02', 'LUZ Y AGUA', 0, 40.5, '2026-12-02', -40.5, 109.5);"
printf 'E\r\n' > "$dir/unidad.inf"
printf 'Iglesia de Ca\xf1ada\r\n' > "$dir/entidad.inf"
cp "$dir/BD.db" "$dir/BD.DB.anterior"
printf 'PRAGMA foreign_keys=OFF;\nBEGIN TRANSACTION;\nCOMMIT;\n' > "$dir/BD.db.REPARAR_BD"
mkdir "$work/before"
for f in "${data[@]}"; do cp -p "$dir/$f" "$work/before/$f"; done
# An older program in place, which the upgrade must replace.
printf 'viejo' > "$dir/Corvelan.exe"

step "second silent install over the existing one"
"$wine" "$setup" /S || fail "second install exited with $?"
wineserver -w
check_programs_installed "second install"
check_data_kept "second install"
rows=$(sqlite3 -readonly "$dir/BD.db" "SELECT COUNT(*) FROM FINANZAS WHERE DESCRIPCION LIKE 'OFRENDA%' OR DESCRIPCION LIKE 'LUZ%'")
[ "$rows" = 2 ] || fail "second install: BD.db holds $rows of the 2 rows"

step "silent uninstall"
# The uninstaller copies itself to a temporary folder, starts the copy and
# returns at once; the copy does the work, so wait for every Wine process.
"$wine" 'C:\ARCANDORA\Desinstalar.exe' /S || fail "uninstaller exited with $?"
timeout 120 wineserver -w || fail "uninstall still running after 120 s"
for p in "${programs[@]}" Desinstalar.exe; do
    [ ! -e "$dir/$p" ] || fail "uninstall left C:\\ARCANDORA\\$p"
done
[ ! -e "$menu" ] || fail "uninstall left the Start-menu folder"
[ ! -e "$desktop/Arcandora.lnk" ] || fail "uninstall left the desktop shortcut"
[ -z "$(uninstall_entry)" ] || fail "uninstall left its entry in the registry"
check_data_kept "uninstall"

step "done"
if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"; exit 1
fi
echo "installer: install, upgrade and uninstall kept the data"
