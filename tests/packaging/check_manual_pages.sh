#!/usr/bin/env bash
# The manual pages of the build against the programs themselves: every option each
# program's --help prints (and every vkctl command) is in its page, the page has the
# sections --help does not hold, man reads it without a warning, and every program
# answers --help and --version without a display, with CMake's version.
#   check_manual_pages.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2
if ! command -v man >/dev/null; then
    echo "man is not installed (Debian: man-db); the pages were not read"
    exit 77
fi

failed=0
fail() { echo "$*"; failed=1; }

for program in vkctl:cli vksim:sim VkUtil:util_app SetupVk2:legacy_tool; do
    name=${program%%:*}
    binary=$build/${program#*:}/$name
    page=$build/man/$name.1.gz
    # No display: the graphical tools must answer before their toolkit looks for one.
    quiet=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20)
    help=$("${quiet[@]}" "$binary" --help) || fail "$name --help failed"
    first=$("${quiet[@]}" "$binary" --version | head -n 1)
    [ "$first" = "$name (Korvel sensor tools) $version" ] ||
        fail "$name --version says \"$first\", not version $version"
    [ -f "$page" ] || { fail "$page is missing"; continue; }

    text=$(MANWIDTH=300 man --nh --nj -l "$page" 2>&1 | col -bx)
    mapfile -t words < <(grep -oE -- '(^|[ [|])--?[a-zA-Z][a-zA-Z0-9-]*' <<<"$help" |
        sed 's/^[ [|]//' | sort -u)
    if [ "$name" = vkctl ]; then
        mapfile -t -O "${#words[@]}" words < <(sed -n '/^commands:/,$p' <<<"$help" |
            grep -oE '^  [a-z][a-z0-9-]*' | sed 's/^  //')
    fi
    for word in "${words[@]}"; do
        grep -qF -- "$word" <<<"$text" || fail "$name(1) lacks $word, which $name --help prints"
    done
    for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' ENVIRONMENT FILES EXAMPLES 'SEE ALSO'; do
        grep -qx "$section" <<<"$text" || fail "$name(1) has no section $section"
    done
    warnings=$(man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns about $name(1): $warnings"
done

# The factory's switch is hidden.
shows_switch() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$@" 2>&1 | grep QXV >/dev/null
}
help_command=("$build/util_app/VkUtil" --help)
page_command=(man -l "$build/man/VkUtil.1.gz")
shows_switch "${help_command[@]}" && fail "${help_command[*]} shows the manufacturing switch"
shows_switch "${page_command[@]}" && fail "${page_command[*]} shows the manufacturing switch"

[ $failed -eq 0 ] && echo "manual pages follow --help; every program answers --help and --version"
exit $failed
