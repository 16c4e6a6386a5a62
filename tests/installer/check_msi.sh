#!/bin/bash
# The installer under 64-bit wine, in a throw-away copy of the project's
# 64-bit prefix (the shared prefix stays untouched, whatever happens here):
# an older package first, then this one over it; every file where it belongs
# with the built bytes, the Start-menu shortcut; the older package refused
# over it; then one uninstall removes everything, which only holds if the
# newer package replaced the older one.
#   check_msi.sh <msi> <version> <bin folder> <Formats.ini> <wxs> <wixl>
# Never reads standard input, needs no display.
set -euo pipefail
exec </dev/null
# shellcheck source=../support/private_wine_prefix.sh
. "$(dirname "$0")/../support/private_wine_prefix.sh"

msi=$1 version=$2 bin=$3 formats_ini=$4 wxs=$5 wixl=$6

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$msi" ] || fail "$msi was not built"
shared="${PELIXO_WINE64PREFIX:-$HOME/.cache/pelixo/wine64}"
[ -f "$shared/system.reg" ] || fail "no 64-bit wine prefix at $shared (scripts/setup makes it)"

work=$(mktemp -d "${TMPDIR:-/tmp}/pelixo-msi-test.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries in the real desktop.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
private_wine_prefix "$shared" "$WINEPREFIX" || fail "could not copy the prefix $shared"
# What the registry says of Pelixo before (the shared prefix may hold the
# settings of other tests); uninstalling must bring back exactly this.
pelixo_in_registry() {
  grep -h 'Pelixo' "$WINEPREFIX"/*.reg | sed 's/^\(\[.*\]\) [0-9].*/\1/' | LC_ALL=C sort || true
}
registry_before=$(pelixo_in_registry)

# msiexec, then wait until the prefix's wine processes are gone, so that
# the files and the registry are written when the checks look at them.
msiexec() {
  local rc=0
  timeout 300 /usr/lib/wine/wine64 msiexec "$@" /qn || rc=$?
  timeout 120 wineserver -w || fail "wine did not finish after msiexec $*"
  return "$rc"
}
windows_path() { echo "Z:${1//\//\\}"; }

user_dir="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
program_dir="$user_dir/AppData/Local/Pelixo"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Pelixo.lnk"

# The older package: the same source with a lower version. wixl takes the
# sources relative to its working folder.
older="$work/Pelixo-0.0.1.0.msi"
(cd / && "$wixl" -a x86 -D Version=0.0.1.0 -D "BinDir=${bin#/}" \
   -D "FormatsIni=${formats_ini#/}" -o "$older" "$wxs") 2>/dev/null ||
  fail "wixl could not build the older package"

msiexec /i "$(windows_path "$older")" || fail "installing the older package failed"
[ -f "$program_dir/Pelixo.exe" ] || fail "the older package installed nothing in $program_dir"
msiexec /i "$(windows_path "$msi")" || fail "installing $msi over the older package failed"

expected="Danvora.dll DanvoraFrontend.exe Formats.ini Pelixo.exe kx77dll.dll pelixo-cli.exe"
actual=$(cd "$program_dir" && LC_ALL=C ls -A | tr '\n' ' ' | sed 's/ $//')
[ "$actual" = "$expected" ] || fail "the program folder holds \"$actual\", not \"$expected\""
for file in Pelixo.exe pelixo-cli.exe DanvoraFrontend.exe Danvora.dll kx77dll.dll; do
  cmp -s "$bin/$file" "$program_dir/$file" || fail "$file differs from the built one"
done
cmp -s "$formats_ini" "$program_dir/Formats.ini" || fail "Formats.ini differs from the sample"
[ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
grep -aq 'Pelixo\.exe' "$shortcut" || fail "the shortcut does not lead to Pelixo.exe"
grep -q "\"DisplayVersion\"=\"$version\"" "$WINEPREFIX"/*.reg ||
  fail "no installed product with version $version"
echo "installed: $(ls "$program_dir" | tr '\n' ' ')and the shortcut"

# An older package over the newer one is refused and changes nothing.
if msiexec /i "$(windows_path "$older")"; then
  fail "the older package was installed over the newer one"
fi
cmp -s "$bin/Pelixo.exe" "$program_dir/Pelixo.exe" ||
  fail "the refused older package changed the installation"

msiexec /x "$(windows_path "$msi")" || fail "uninstalling failed"
[ ! -e "$program_dir" ] || fail "$program_dir is left after uninstall: $(ls -A "$program_dir")"
[ ! -e "$shortcut" ] || fail "the shortcut is left after uninstall"
registry_after=$(pelixo_in_registry)
[ "$registry_after" = "$registry_before" ] ||
  fail "the registry is not as before the install:
$(diff <(echo "$registry_before") <(echo "$registry_after") || true)"
echo "uninstalled: nothing left"
