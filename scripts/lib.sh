# Shared by scripts/run and scripts/test: configure and build, a display, the
# Wine prefix and its server.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all

# ARC_WERROR=1 (as CI sets it) makes warnings in our own code errors; a
# build without it keeps what the build tree was configured with, so that
# switching between the two scripts does not rebuild everything.
arc_build() {
    "$root/scripts/setup"
    local options=()
    if [ -n "${ARC_WERROR:-}" ]; then options+=(-DARC_WERROR=ON); fi
    if [ ! -f "$build/CMakeCache.txt" ]; then
        (cd "$root" && cmake --preset mingw32 "${options[@]}")
    else
        cmake -S "$root" -B "$build" "${options[@]}" >/dev/null
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
    # Wine's loader is a 32-bit Linux program: a kernel without 32-bit
    # support refuses it, and every program and test would fail at its start.
    local out
    if ! out=$(/usr/lib/wine/wine --version 2>&1); then
        echo "wine cannot start on this machine: $out" >&2
        if [[ "$out" == *"Exec format error"* ]]; then
            echo "this kernel does not run 32-bit programs (ia32 emulation is off); Wine needs them" >&2
        fi
        exit 1
    fi
    "$build/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true
    wineserver -p 20 >/dev/null 2>&1 || true
}

# A CUPS scheduler of this build's own (its folders and socket under
# build/cups, started directly: CI has no service manager) with two PDF
# printers of Debian's cups-pdf, A4 "ArcandoraPDF" (the default) and Letter
# "ArcandoraCarta", so that Wine sees real printers.  Their PDF files land in
# $ARC_PRINT_OUT.  Nothing happens where CUPS is not installed.
arc_cups_start() {
    [ -x /usr/sbin/cupsd ] && [ -x /usr/lib/cups/backend/cups-pdf ] || return 0
    if [ ! -w /etc/cups ]; then
        echo "cups: /etc/cups is not writable (not root?): the print tests are skipped" >&2
        return 0
    fi
    local dir="$build/cups"
    local name ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    name="arcandora$(printf '%s' "$build" | md5sum | cut -c1-8)"
    rm -rf "$dir"
    mkdir -p "$dir"/{etc,spool,cache,state,tmp,log,out}
    chmod 0755 "$dir" "$dir"/* && chmod 1777 "$dir/tmp"
    cat >"$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
SystemGroup root
CONF
    cat >"$dir/etc/cupsd.conf" <<CONF
LogLevel warn
Listen $dir/socket
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    # cups-pdf reads the settings named by the printer's device URI from /etc/cups.
    printf 'Out %s\nLabel 2\n' "$dir/out" >"/etc/cups/cups-pdf-$name.conf"
    ARC_CUPS_CONF="/etc/cups/cups-pdf-$name.conf"
    /usr/sbin/cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
    ARC_CUPSD_PID=$!
    export CUPS_SERVER="$dir/socket"
    local up=0
    for _ in $(seq 1 100); do
        # lpstat -r succeeds either way; its words tell.
        if [ -S "$dir/socket" ] && [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]; then up=1; break; fi
        sleep 0.1
    done
    if [ $up -eq 0 ]; then
        echo "cups: the scheduler did not start" >&2
        cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
        return 1
    fi
    # lpadmin warns that PPD drivers are deprecated; other words are errors.
    { lpadmin -p ArcandoraPDF -E -v "cups-pdf:/$name" -P "$ppd" &&
      lpadmin -p ArcandoraCarta -E -v "cups-pdf:/$name" -P "$ppd" -o PageSize=Letter &&
      lpadmin -d ArcandoraPDF; } 2>&1 | grep -v "drivers are deprecated" >&2 || true
    if [ "$(lpstat -p 2>/dev/null | grep -c '^printer Arcandora')" != 2 ]; then
        echo "cups: the PDF printers could not be added" >&2
        return 1
    fi
    export ARC_PRINT_OUT="$dir/out"
}

arc_cups_stop() {
    if [ -n "${ARC_CUPSD_PID:-}" ]; then
        kill "$ARC_CUPSD_PID" 2>/dev/null || true
        wait "$ARC_CUPSD_PID" 2>/dev/null || true
    fi
    if [ -n "${ARC_CUPS_CONF:-}" ]; then rm -f "$ARC_CUPS_CONF"; fi
}
