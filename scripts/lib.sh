# Shared by scripts/run and scripts/test: configure and build, a display, the
# Wine prefix and its server.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all

arc_build() {
    "$root/scripts/setup"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        (cd "$root" && cmake --preset mingw32)
    else
        cmake -S "$root" -B "$build" >/dev/null
    fi
    cmake --build "$build" -j2
}

# Starts one Xvfb for everything that follows when there is no display.
arc_display() {
    if [ -n "${DISPLAY:-}" ]; then return; fi
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    ARC_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}

arc_stop_display() {
    if [ -n "${ARC_XVFB_PID:-}" ]; then kill "$ARC_XVFB_PID" 2>/dev/null || true; fi
}

# Creates the prefix if needed and keeps one Wine server alive while the
# programs run, so that each start takes a fraction of a second.
arc_wine_ready() {
    "$build/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true
    wineserver -p 20 >/dev/null 2>&1 || true
}
