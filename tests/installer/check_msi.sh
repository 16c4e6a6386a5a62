#!/bin/bash
# The installer under 64-bit wine, in a throw-away copy of the project's
# 64-bit prefix (the shared prefix stays untouched, whatever happens here):
# an older package first, its Formats.ini edited by the user, then this one
# over it: every program file where it belongs with the newly built bytes,
# the edited Formats.ini kept, the Start-menu shortcut; one uninstall removes
# everything, which only holds if the newer package replaced the older one.
# Then this package alone: the sample Formats.ini, the older package refused
# over it, and again nothing left after the uninstall.
#   check_msi.sh <msi> <version> <bin folder> <Formats.ini> <build_msi.sh>
#                <wxs> <wixl> <msibuild> <msiinfo>
# Never reads standard input, needs no display.
set -euo pipefail
exec </dev/null
# shellcheck source=../support/private_wine_prefix.sh
. "$(dirname "$0")/../support/private_wine_prefix.sh"

msi=$1 version=$2 bin=$3 formats_ini=$4 build_msi=$5
shift 5 # the tools build_msi.sh takes after the sources

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

programs="Pelixo.exe pelixo-cli.exe DanvoraFrontend.exe Danvora.dll kx77dll.dll"
# check_installed <Formats.ini> <what it is>: every program file with the
# built bytes, that Formats.ini, the shortcut and the version.
check_installed() {
  local formats=$1 what=$2 file actual
  local expected="Danvora.dll DanvoraFrontend.exe Formats.ini Pelixo.exe kx77dll.dll pelixo-cli.exe"
  actual=$(cd "$program_dir" && LC_ALL=C ls -A | tr '\n' ' ' | sed 's/ $//')
  [ "$actual" = "$expected" ] || fail "the program folder holds \"$actual\", not \"$expected\""
  for file in $programs; do
    cmp -s "$bin/$file" "$program_dir/$file" || fail "$file differs from the built one"
  done
  cmp -s "$formats" "$program_dir/Formats.ini" || fail "the installed Formats.ini is not $what"
  [ -f "$shortcut" ] || fail "no Start-menu shortcut $shortcut"
  grep -aq 'Pelixo\.exe' "$shortcut" || fail "the shortcut does not lead to Pelixo.exe"
  grep -q "\"DisplayVersion\"=\"$version\"" "$WINEPREFIX"/*.reg ||
    fail "no installed product with version $version"
  echo "installed: $(ls "$program_dir" | tr '\n' ' ')and the shortcut"
}
uninstall() {
  msiexec /x "$(windows_path "$msi")" || fail "uninstalling failed"
  [ ! -e "$program_dir" ] || fail "$program_dir is left after uninstall: $(ls -A "$program_dir")"
  [ ! -e "$shortcut" ] || fail "the shortcut is left after uninstall"
  local registry_after
  registry_after=$(pelixo_in_registry)
  [ "$registry_after" = "$registry_before" ] ||
    fail "the registry is not as before the install:
$(diff <(echo "$registry_before") <(echo "$registry_after") || true)"
  echo "uninstalled: nothing left"
}

# The older package: the same source with a lower version and programs of
# other bytes, so that only replaced programs equal the built ones.
older_bin="$work/older-bin" older="$work/Pelixo-0.0.1.0.msi"
mkdir "$older_bin"
for file in $programs; do
  { cat "$bin/$file"; echo "0.0.1.0"; } >"$older_bin/$file"
done
"$build_msi" "$older" 0.0.1.0 "$older_bin" "$formats_ini" "$@" 2>/dev/null ||
  fail "could not build the older package"

msiexec /i "$(windows_path "$older")" || fail "installing the older package failed"
cmp -s "$older_bin/Pelixo.exe" "$program_dir/Pelixo.exe" ||
  fail "the older package did not install its Pelixo.exe in $program_dir"
cmp -s "$formats_ini" "$program_dir/Formats.ini" ||
  fail "a fresh install did not put the sample Formats.ini there"

# The user's own definitions, added to the installed Formats.ini: the
# upgrade keeps them byte for byte.
edited="$work/Formats-edited.ini"
{ cat "$formats_ini"; printf '\n[SITE_UPLOAD]\nNAME=Site points (Name;N;E)\n'; } >"$edited"
cp "$edited" "$program_dir/Formats.ini"
msiexec /i "$(windows_path "$msi")" || fail "installing $msi over the older package failed"
check_installed "$edited" "the one the user edited"
uninstall

# An older package over the newer one is refused and changes nothing. (Under
# wine only on a fresh install: wine's removal of the older product after an
# upgrade takes the whole upgrade code's registration with it.)
msiexec /i "$(windows_path "$msi")" || fail "installing $msi failed"
check_installed "$formats_ini" "the sample"
if msiexec /i "$(windows_path "$older")"; then
  fail "the older package was installed over the newer one"
fi
cmp -s "$bin/Pelixo.exe" "$program_dir/Pelixo.exe" ||
  fail "the refused older package changed the installation"
uninstall
