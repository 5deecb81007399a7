#!/bin/bash
# Corvelan on a network share mapped to a drive letter.  Drive N: of the
# build's prefix is mapped to a fresh folder and declared a network drive of
# Wine (its mount manager reads that when the Wine server starts, so the
# server is restarted: the test runs alone), then the window's case for it
# runs.  Everything is put back at the end.
set -eu
work=$(mktemp -d)
prefix="$ARC_BUILD/wineprefix"
link="$prefix/dosdevices/n:"
# The server kept alive between programs, as the test script keeps it.
restart() {
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" wineserver -p 20 >/dev/null 2>&1 || true
}
cleanup() {
    "$ARC_WINE" reg delete 'HKLM\Software\Wine\Drives' /v n: /f /reg:64 >/dev/null 2>&1 || true
    if [ -L "$link" ] && [ "$(readlink "$link")" = "$work" ]; then rm -f "$link"; fi
    restart
    rm -rf "$work"
}
trap cleanup EXIT

"$ARC_WINE" cmd /c exit 0 >/dev/null 2>&1 || true
if [ -L "$link" ] && [ ! -e "$link" ]; then rm -f "$link"; fi  # left by a run that was killed
if [ -e "$link" ]; then echo "drive n: is already mapped in the test prefix"; exit 1; fi
ln -s "$work" "$link"
# In the 64-bit registry, where the mount manager reads it (the 32-bit
# programs' reg.exe would write to their own view).
"$ARC_WINE" reg add 'HKLM\Software\Wine\Drives' /v n: /t REG_SZ /d network /f /reg:64 >/dev/null
restart
ARC_NETWORK_DRIVE=N "$ARC_WINE" "$ARC_BIN/repair_tests.exe" --gtest_filter='*NetworkShareMapped*' |
    tee "$work/out"
grep -q '\[  PASSED  \] 1 test' "$work/out"
