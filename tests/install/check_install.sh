#!/usr/bin/env bash
# Installs the build under test into a fresh prefix and checks what landed there: the
# four programs, a desktop entry and an icon for each graphical one, their manual pages,
# the bash completions and the package's documents, nothing else.
# The entries must start the installed program wherever the prefix is.
#   check_install.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/install-check.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

if ! cmake --install "$build" --prefix "$prefix" >/dev/null; then
    echo "cmake --install failed"
    exit 1
fi

expected=$(printf '%s\n' bin/SetupVk2 bin/VkUtil bin/vkctl bin/vksim \
    share/applications/korvel-setupvk2.desktop share/applications/korvel-vkutil.desktop \
    share/bash-completion/completions/vkctl share/bash-completion/completions/vksim \
    share/doc/korvel-sensor-tools/changelog.gz share/doc/korvel-sensor-tools/copyright \
    share/icons/hicolor/scalable/apps/korvel-setupvk2.svg \
    share/icons/hicolor/scalable/apps/korvel-vkutil.svg \
    share/man/man1/SetupVk2.1.gz share/man/man1/VkUtil.1.gz share/man/man1/vkctl.1.gz \
    share/man/man1/vksim.1.gz | LC_ALL=C sort)
found=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
failed=0
if [ "$found" != "$expected" ]; then
    echo "installed files differ from the expected ones:"
    diff <(echo "$expected") <(echo "$found")
    failed=1
fi

for program in VkUtil SetupVk2 vksim vkctl; do
    [ -x "$prefix/bin/$program" ] || { echo "bin/$program is not executable"; failed=1; }
done
for pair in vkutil:VkUtil setupvk2:SetupVk2; do
    entry=$prefix/share/applications/korvel-${pair%%:*}.desktop
    program=$prefix/bin/${pair#*:}
    grep -qxF "Exec=\"$program\"" "$entry" || { echo "$entry does not start $program"; failed=1; }
    grep -qxF "Icon=korvel-${pair%%:*}" "$entry" || { echo "$entry names no icon"; failed=1; }
done
# The installed command-line programs run from there. (grep reads the whole help: one that
# quits at the first line would end the program's later writes with SIGPIPE.)
"$prefix/bin/vkctl" --help 2>&1 | grep '^usage: vkctl' >/dev/null || { echo "installed vkctl does not run"; failed=1; }
"$prefix/bin/vksim" --help 2>&1 | grep '^usage: vksim' >/dev/null || { echo "installed vksim does not run"; failed=1; }
[ $failed -eq 0 ] && echo "installed into a fresh prefix as expected"
exit $failed
