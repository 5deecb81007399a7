#!/bin/bash
# Corvelan on a network share mapped to a drive letter.  Wine's mount manager
# reads which drives are network drives when its server starts, so the test
# runs in a copy of the build's prefix with a server of its own: drive N: is
# mapped there to a fresh folder and declared a network drive, the server is
# restarted, and the window's case for it runs.  The build's own prefix and
# its server, which the other tests use, are left alone.
set -eu
work=$(mktemp -d "$ARC_BUILD/mapped-drive.XXXXXX")
prefix="$work/prefix"
share="$work/share"
# The large system folders are hard links (Wine only reads them), the rest
# (the registry above all) is copied.
big=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
mkdir -p "$prefix" "$share"
tar -C "$ARC_BUILD/wineprefix" "${big[@]/#/--exclude=./}" -cf - . | tar -C "$prefix" -xf -
for d in "${big[@]}"; do
    if [ -d "$ARC_BUILD/wineprefix/$d" ]; then cp -al "$ARC_BUILD/wineprefix/$d" "$prefix/$d"; fi
done
# The build's runner, on the copy.
sed "s|^export WINEPREFIX=.*|export WINEPREFIX=\"$prefix\"|" "$ARC_WINE" >"$work/wine-run"
chmod +x "$work/wine-run"
stop() { WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true; WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true; }
cleanup() { stop; rm -rf "$work"; }
trap cleanup EXIT

rm -f "$prefix/dosdevices/n:"
ln -s "$share" "$prefix/dosdevices/n:"
# In the 64-bit registry, where the mount manager reads it (the 32-bit
# programs' reg.exe would write to their own view).
"$work/wine-run" reg add 'HKLM\Software\Wine\Drives' /v n: /t REG_SZ /d network /f /reg:64 >/dev/null 2>&1
stop
ARC_NETWORK_DRIVE=N "$work/wine-run" "$ARC_BIN/repair_tests.exe" --gtest_filter='*NetworkShareMapped*' </dev/null |
    tee "$work/out"
grep -q '\[  PASSED  \] 1 test' "$work/out"
