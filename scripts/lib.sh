# Shared by scripts/run and scripts/test: configure and build each
# architecture, a display, the Wine prefixes and their servers.
#
# Two builds from one tree, each in its own folder with its own Wine prefix:
#   x86_64  build/win64  64-bit programs (PE32+), run by wine64
#   i686    build/win32  32-bit programs (PE32), run by Wine's 32-bit loader,
#                        which only kernels with 32-bit support can start
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=-all
arc_archs=(x86_64 i686)

arc_build_dir() {
    case "$1" in
        x86_64) echo "$root/build/win64" ;;
        i686) echo "$root/build/win32" ;;
        *) echo "unknown architecture $1" >&2; return 1 ;;
    esac
}

arc_preset() {
    case "$1" in
        x86_64) echo mingw64 ;;
        i686) echo mingw32 ;;
    esac
}

arc_loader() {
    case "$1" in
        x86_64) echo /usr/lib/wine/wine64 ;;
        i686) echo /usr/lib/wine/wine ;;
    esac
}

# Installs what is missing (once per script run), then configures and builds
# one architecture.  ARC_WERROR=1 (as CI sets it) makes warnings in our own
# code errors; a build without it keeps what the build tree was configured
# with, so that switching between the two scripts does not rebuild everything.
arc_build() {
    local arch=$1 dir
    dir=$(arc_build_dir "$arch")
    if [ -z "${ARC_SETUP_DONE:-}" ]; then
        "$root/scripts/setup"
        ARC_SETUP_DONE=1
    fi
    local options=()
    if [ -n "${ARC_WERROR:-}" ]; then options+=(-DARC_WERROR=ON); fi
    echo "== build $arch in $dir"
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        (cd "$root" && cmake --preset "$(arc_preset "$arch")" "${options[@]}")
    else
        cmake -S "$root" -B "$dir" "${options[@]}" >/dev/null
    fi
    cmake --build "$dir" -j2
}

# Whether this machine runs the programs of an architecture.  Answers 0 or 1;
# ARC_WHY says why not.  A loader that is missing or fails for another reason
# is an error of the set-up (exit 1), never a silent skip.
arc_can_run() {
    local loader out
    loader=$(arc_loader "$1")
    if [ "$1" = i686 ] && [ -n "${ARC_NO_32BIT:-}" ]; then
        ARC_WHY="ARC_NO_32BIT is set"
        return 1
    fi
    if out=$("$loader" --version 2>&1); then return 0; fi
    if [[ "$out" == *"Exec format error"* ]]; then
        ARC_WHY="this kernel does not run 32-bit programs (ia32 emulation is off)"
        return 1
    fi
    echo "wine cannot start on this machine ($loader): $out" >&2
    exit 1
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

# Creates an architecture's prefix if needed and keeps its Wine server alive
# while the programs run, so that each start takes a fraction of a second.
arc_wine_ready() {
    local dir
    dir=$(arc_build_dir "$1")
    "$dir/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true
    WINEPREFIX="$dir/wineprefix" wineserver -p 20 >/dev/null 2>&1 || true
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
    local dir="$root/build/cups"
    local name ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    name="arcandora$(printf '%s' "$root/build" | md5sum | cut -c1-8)"
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
