#!/usr/bin/env bash
# The Debian package as a technician's machine gets it: lintian finds no error, the
# package holds what it should and depends on what the programs link; installed, the
# programs, their manual pages, menu entries and completions work from /usr; removed,
# nothing of it is left. Installing needs root and dpkg: elsewhere that part is skipped
# (exit status 77) after the checks of the file itself.
#   check_package.sh PACKAGE.deb
set -uo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
name=korvel-sensor-tools
failed=0
fail() { echo "package: $*"; failed=1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/package-check.XXXXXX")
cleanup() { rm -rf "$work"; }
trap cleanup EXIT

"$here/../../scripts/setup" lintian man-db dpkg-dev >&2 || fail "could not install lintian"

# --- the file itself ----------------------------------------------------------------
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$(basename "$deb")" = "${name}_${version}_${arch}.deb" ] || fail "file name $(basename "$deb")"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6serialport6; do
    grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done
[ -n "$(dpkg-deb -f "$deb" Recommends)" ] || fail "no Recommends"

expected="./usr/bin/SetupVk2
./usr/bin/VkUtil
./usr/bin/vkctl
./usr/bin/vksim
./usr/share/applications/korvel-setupvk2.desktop
./usr/share/applications/korvel-vkutil.desktop
./usr/share/bash-completion/completions/vkctl
./usr/share/bash-completion/completions/vksim
./usr/share/doc/$name/changelog.gz
./usr/share/doc/$name/copyright
./usr/share/icons/hicolor/scalable/apps/korvel-setupvk2.svg
./usr/share/icons/hicolor/scalable/apps/korvel-vkutil.svg
./usr/share/man/man1/SetupVk2.1.gz
./usr/share/man/man1/VkUtil.1.gz
./usr/share/man/man1/vkctl.1.gz
./usr/share/man/man1/vksim.1.gz"
files=$(dpkg-deb -c "$deb" | grep -v '^d' | awk '{print $6}' | LC_ALL=C sort -f)
[ "$files" = "$(LC_ALL=C sort -f <<<"$expected")" ] ||
    { fail "the package's files differ from the expected ones:"; diff <(LC_ALL=C sort -f <<<"$expected") <(echo "$files"); }

# The changelog's newest entry is this version.
dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$name/changelog.gz" | gunzip >"$work/changelog"
logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$logged" = "$version" ] || fail "the changelog's newest entry is $logged, the package $version"

lintian --tag-display-limit 0 --display-info "$deb" >"$work/lintian" 2>&1
lintian_status=$?
sed 's/^/lintian: /' "$work/lintian"
if grep -q '^E: ' "$work/lintian" || { [ $lintian_status -ne 0 ] && [ ! -s "$work/lintian" ]; }; then
    fail "lintian reports errors"
fi

# --- installed and removed ----------------------------------------------------------
skip() {
    echo "package: $* ; installing and removing were not tried"
    [ $failed -eq 0 ] && exit 77
    exit 1
}
[ "$(id -u)" -eq 0 ] || skip "not root"
command -v apt-get >/dev/null && command -v dpkg >/dev/null || skip "no apt-get or dpkg"
# One check at a time on this machine; a package the machine had already is not ours to
# replace or remove.
exec 9>/run/lock/$name-check.lock || skip "cannot take the lock /run/lock/$name-check.lock"
flock -w 900 9 || skip "another package check holds the lock"
if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'ok installed'; then
    skip "$name is installed on this machine already"
fi

# Folders of the package that the machine has not: removal must take them away again.
new_folders=$(dpkg-deb -c "$deb" | grep '^d' | awk '{print substr($6, 2)}' | sed 's|/$||' |
    while IFS= read -r folder; do [ -n "$folder" ] && [ ! -e "$folder" ] && echo "$folder"; done)

apt=(apt-get -y -q -o DPkg::Lock::Timeout=300)
remove() { "${apt[@]}" purge "$name" >"$work/remove.log" 2>&1; }
trap 'remove; cleanup' EXIT
export DEBIAN_FRONTEND=noninteractive
if ! "${apt[@]}" install --no-install-recommends "$deb" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    fail "apt-get install ./$(basename "$deb") failed"
    exit 1
fi

# From a fresh user's environment: the system's PATH and a home of its own.
user_env=(env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8)
mkdir -p "$work/home"
[ "$("${user_env[@]}" bash -c 'command -v vkctl')" = /usr/bin/vkctl ] || fail "vkctl is not /usr/bin/vkctl"
"${user_env[@]}" vkctl --help | grep '^usage: vkctl' >/dev/null || fail "vkctl --help"
[ "$("${user_env[@]}" vkctl --version)" = "vkctl (Korvel sensor tools) $version" ] ||
    fail "vkctl --version"
[ "$("${user_env[@]}" man -w vkctl)" = /usr/share/man/man1/vkctl.1.gz ] || fail "man -w vkctl"
"${user_env[@]}" MANWIDTH=120 man vkctl 2>&1 | grep 'EXIT STATUS' >/dev/null || fail "man vkctl does not read"

# The menu entries start the installed programs: each is still running, nobody having
# complained, when it is told to stop.
for pair in vkutil:VkUtil setupvk2:SetupVk2; do
    entry=/usr/share/applications/korvel-${pair%%:*}.desktop
    grep -qxF "Exec=\"/usr/bin/${pair#*:}\"" "$entry" || fail "$entry does not start /usr/bin/${pair#*:}"
    program=$(sed -n 's/^Exec="\(.*\)"$/\1/p' "$entry")
    "${user_env[@]}" QT_QPA_PLATFORM=offscreen timeout 3 "$program" >"$work/start.log" 2>&1
    [ $? -eq 124 ] || { fail "$program from $entry did not keep running:"; cat "$work/start.log"; }
done

# bash loads the completion by itself when vkctl is completed.
loader=/usr/share/bash-completion/bash_completion
if [ -f "$loader" ]; then
    "${user_env[@]}" bash -c "source $loader; _completion_loader vkctl; complete -p vkctl" |
        grep -- '-F _vkctl' >/dev/null || fail "bash-completion does not load the vkctl completion"
fi

# Removed, nothing of ours is left, neither files nor the folders we made.
installed=$(dpkg -L "$name")
remove || { cat "$work/remove.log"; fail "apt-get purge failed"; }
trap cleanup EXIT
case $(dpkg-query -W -f='${Status}' "$name" 2>/dev/null) in
    '' | *not-installed) ;;
    *) fail "dpkg still lists $name after removal" ;;
esac
while IFS= read -r path; do
    [ -e "$path" ] && [ ! -d "$path" ] && fail "$path is left after removal"
done <<<"$installed"
while IFS= read -r folder; do
    [ -n "$folder" ] && [ -e "$folder" ] && fail "$folder is left after removal"
done <<<"$new_folders"

[ $failed -eq 0 ] && echo "package: $(basename "$deb") passes lintian, installs, works and removes cleanly"
exit $failed
