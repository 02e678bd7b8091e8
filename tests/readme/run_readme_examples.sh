#!/usr/bin/env bash
# Runs every ```sh block of the README in order, as a new user would type them: in a
# folder where build/ is the build under test, with a HOME and a TMPDIR of its own and no
# port folder set. A block right after a line "<!-- readme-test: skip (why) -->" is not
# run. After the last block nothing may be left: no simulator running, no file installed.
#   run_readme_examples.sh README.md BUILD_DIR
set -uo pipefail
readme=$1
build=$2

work=$(mktemp -d "${TMPDIR:-/tmp}/readme-examples.XXXXXX")
mkdir "$work/home" "$work/tmp"
ln -s "$(cd "$build" && pwd)" "$work/build"

# Simulators (and serial device servers) an example left behind are ended by the process
# id they recorded; only background vksims and ser2nets of this run have their records
# under $work.
stop_left_simulators() {
    local record pid program
    while IFS= read -r record; do
        pid=$(head -c 16 "$record" | tr -dc 0-9)
        program=$(cat "/proc/$pid/comm" 2>/dev/null)
        if [ -n "$pid" ] && { [ "$program" = vksim ] || [ "$program" = ser2net ]; }; then
            echo "an example left $program $pid running ($record)"
            kill -TERM "$pid"
            left=1
        fi
    done < <(find "$work" \( -name 'COM*.pid' -o -name 'ser2net.pid' \) 2>/dev/null)
}
trap 'stop_left_simulators; rm -rf "$work"' EXIT

# Blocks go to block-1.sh, block-2.sh, ... each with the README line it starts on.
awk -v dir="$work" '
    /^<!-- readme-test: skip/ { skip = 1; next }
    /^```sh[[:space:]]*$/ && !inblock { inblock = 1; n++; run = !skip; skip = 0
        file = dir "/block-" n ".sh"; if (run) print "# README line " NR > file; next }
    /^```/ && inblock { inblock = 0; if (run) close(file); next }
    inblock && run { print > file; next }
    NF { skip = 0 }
' "$readme"

failed=0
ran=0
for block in $(ls "$work"/block-*.sh 2>/dev/null | sort -t- -k2 -n); do
    ran=$((ran + 1))
    output=$(cd "$work" && env -u KORVEL_PORT_DIR -u XDG_CONFIG_HOME HOME="$work/home" \
        TMPDIR="$work/tmp" timeout 120 bash -euo pipefail "$block" 2>&1)
    status=$?
    if [ $status -ne 0 ]; then
        echo "FAILED with status $status:"
        cat "$block"
        echo "--- its output:"
        echo "$output"
        failed=1
    fi
done

left=0
stop_left_simulators
[ $left -eq 0 ] || failed=1
if [ -n "$(find "$work/home/.local" -type f 2>/dev/null)" ]; then
    echo "the README's removal left these installed files:"
    find "$work/home/.local" -type f
    failed=1
fi
if [ $ran -eq 0 ]; then
    echo "no example found in $readme"
    failed=1
fi
[ $failed -eq 0 ] && echo "all $ran README examples ran"
exit $failed
