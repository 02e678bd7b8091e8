#!/usr/bin/env bash
# The bash completions of vkctl and vksim, loaded as bash loads them, against the built
# programs and a simulated sensor: what TAB offers at each place of a command line.
#   check_completion.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=$1
build=$(cd "$2" && pwd)
vkctl=$build/cli/vkctl
vksim=$build/sim/vksim
export KORVEL_PORT_DIR=$(mktemp -d "${TMPDIR:-/tmp}/completion-check.XXXXXX")
files=$(mktemp -d "${TMPDIR:-/tmp}/completion-files.XXXXXX")
trap '"$vksim" --stop --com 3 >/dev/null 2>&1; rm -rf "$KORVEL_PORT_DIR" "$files"' EXIT
"$vksim" --com 3 --background --model VKT04 >/dev/null || { echo "vksim did not start"; exit 1; }

# Prints, one a line, what TAB offers after the words given (the last is the one typed).
offers() {
    bash -c '
        compopt() { :; }     # outside a real completion there is nothing to set
        source "$1"; shift
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        function=$(complete -p "${1##*/}" | sed -E "s/.*-F ([^ ]+).*/\1/")
        "$function"
        printf "%s\n" "${COMPREPLY[@]}"' _ "$@" | sort
}

failed=0
# expect WANTED... -- SCRIPT WORDS...: each WANTED is among the offers.
expect() {
    local wanted=() word got
    while [ "$1" != -- ]; do wanted+=("$1"); shift; done
    shift
    got=$(offers "$@")
    for word in "${wanted[@]}"; do
        grep -qxF -- "$word" <<<"$got" || {
            echo "after '${*:3}' TAB does not offer $word; it offers: $(echo $got)"
            failed=1
        }
    done
}
vkctl_completion=$source_dir/cli/vkctl.bash-completion
vksim_completion=$source_dir/sim/vksim.bash-completion

# Every command and line option --help lists, and nothing else where a command starts.
commands=$("$vkctl" --help | sed -n '/^commands:/,$p' | grep -oE '^  [a-z][a-z0-9-]*' | tr -d ' ')
expect $commands -- "$vkctl_completion" "$vkctl" --json ""
[ "$(offers "$vkctl_completion" "$vkctl" "")" = "$(sort <<<"$commands")" ] ||
    { echo "at the command TAB offers more than the commands"; failed=1; }
expect --port --baud --address --checksum --crc --json --verbose --trace --version -- \
    "$vkctl_completion" "$vkctl" --
expect COM3 -- "$vkctl_completion" "$vkctl" --port ""
expect 9600 19200 38400 57600 -- "$vkctl_completion" "$vkctl" --port COM3 --baud ""
expect fpga dsp cal -- "$vkctl_completion" "$vkctl" upload ""
expect --yes --json -- "$vkctl_completion" "$vkctl" upload cal table.bin --
# A file name with a space is one offer, not two.
: >"$files/cal table.bin"
expect "$files/cal table.bin" -- "$vkctl_completion" "$vkctl" upload cal "$files/cal"
expect --quick --address-range --timeout -- "$vkctl_completion" "$vkctl" scan-line -
# The names of the sensor on the line, a VKT04: its own and the common ones.
expect hold-last-valid hold-scans threshold -- "$vkctl_completion" "$vkctl" --port COM3 set ""
[ -z "$(offers "$vkctl_completion" "$vkctl" --port COM3 set threshold "")" ] ||
    { echo "TAB offers names for the value of set"; failed=1; }

expect --com --sensor --model --stop --background --help --version -- \
    "$vksim_completion" "$vksim" --
expect VKT02 VKT04 RMXS RMXL BF -- "$vksim_completion" "$vksim" --model ""
expect 9600 57600 -- "$vksim_completion" "$vksim" --crc --baud ""
expect address=7,model= -- "$vksim_completion" "$vksim" --sensor address=7,mo
expect 3 -- "$vksim_completion" "$vksim" --stop --com ""
mkdir "$files/port dir"
expect "$files/port dir" -- "$vksim_completion" "$vksim" --port-dir "$files/port"

[ $failed -eq 0 ] && echo "the completions offer what the programs take"
exit $failed
