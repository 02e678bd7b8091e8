#!/usr/bin/env bash
# Runs a Windows program of the cross-build under Wine, as CTest's emulator and for the
# line tests:
#   wine_run.sh WINE_DIR PROGRAM.exe [ARGUMENTS...]
# WINE_DIR holds the Wine prefix of this build (WINE_DIR/prefix) and WINE_DIR/COM1, the
# link that COM1 of the prefix opens; a line test points it at a simulator's terminal.
# Everything Wine needs that a Windows program should not know about stays here:
#   - the prefix is made once, by the first program that finds it missing, while the
#     others wait; it is made again when Wine was upgraded;
#   - Wine writes $WINEPREFIX/dosdevices/comN afresh whenever its server starts, from the
#     serial devices it finds and from HKLM\Software\Wine\Ports, so COM1 is named there,
#     once, after `wineboot -u` has brought the prefix up;
#   - Windows programs end their lines with CR LF; what they print reaches the caller
#     with LF alone;
#   - the Wine session is started apart from the program (see below);
#   - a program Wine failed to start is started once more (see the end).
# The exit status is the program's.
set -uo pipefail

# Wine takes only an absolute prefix.
wine_dir=$(realpath -m -- "$1")
shift
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
if [ ! -x "$wine" ]; then
    echo "wine_run: no wine64 (Debian: apt-get install wine64)" >&2
    exit 127
fi

export WINEPREFIX=$wine_dir/prefix
export WINEDEBUG=-all
# No Mono or Gecko: console programs need neither, and the prefix is made without asking.
export WINEDLLOVERRIDES="mscoree,mshtml="
# A console program needs no display; without one Wine would try to open it.
unset DISPLAY WAYLAND_DISPLAY

made() {
    [ -f "$WINEPREFIX/.korvel-made" ] && [ "$(cat "$WINEPREFIX/.korvel-made")" = "$("$wine" --version)" ]
}

make_prefix() {
    rm -rf "$WINEPREFIX"
    mkdir -p "$wine_dir"
    "$wine" wineboot -u >/dev/null 2>&1 || { echo "wine_run: wineboot -u failed" >&2; return 1; }
    "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$wine_dir/COM1" /f >/dev/null 2>&1 ||
        { echo "wine_run: could not name COM1 in the registry" >&2; return 1; }
    # The next server start writes dosdevices/com1 from the registry.
    "$wineserver" -w
    "$wine" --version >"$WINEPREFIX/.korvel-made"
}

if ! made; then
    mkdir -p "$wine_dir"
    (
        flock 9
        made || make_prefix
    ) 9>"$wine_dir/prefix.lock" || exit 1
fi

# The first program of a Wine session starts the server and Wine's own processes
# (services, devices, desktop), which inherit its output and keep it open for as long as
# the session lasts: a caller reading that output would wait for them. So the session is
# started here, holding none of the caller's output, and stays a while after its last
# program, so that the next one finds it up. A running server makes this fail at once.
if "$wineserver" -p10 </dev/null >/dev/null 2>&1; then
    "$wine" wineboot </dev/null >/dev/null 2>&1 || true
fi

# Whether a run printed anything: each stream's first line, if any, lands in a file here,
# in the build's folder, where one left by a killed run does no harm.
marks=$(mktemp -d "$wine_dir/run.XXXXXX") || exit 1
trap 'rm -rf "$marks"' EXIT

# Line by line as it comes, so that a caller can watch a program's progress.
run() {
    { "$wine" "$@" 2>&1 1>&3 3>&- | sed -u -e 's/\r$//' -e "1w $marks/err" >&2; } 3>&1 |
        sed -u -e 's/\r$//' -e "1w $marks/out"
}

# Now and then Wine fails to start a program at all: it exits at once, printing nothing,
# where a program of ours that fails says why. Such a run gets one more start; a program
# that printed anything keeps its status, so a real fault is never run away from.
run "$@"
status=$?
if [ "$status" -ne 0 ] && [ ! -s "$marks/out" ] && [ ! -s "$marks/err" ]; then
    echo "wine_run: Wine did not start $1; once more" >&2
    run "$@"
    status=$?
fi
exit "$status"
