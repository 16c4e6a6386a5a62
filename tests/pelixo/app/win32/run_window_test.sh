#!/bin/bash
# Runs the window tests: a private virtual display (Xvfb) and a private copy
# of the wine prefix with a virtual desktop of 1024 x 768, the driver program,
# then a look at every screenshot it took. Both are torn down at the end.
#   run_window_test.sh <32|64> <window_test.exe> <screenshot folder> <guide images>
# The user guide's pictures (<guide images>/*.png) and the layout they show
# (<guide images>/layout.txt) come from this run: the driver checks every
# photographed window against layout.txt. With PELIXO_REFRESH_GUIDE_IMAGES=1
# it does not check, and the pictures, cut to their windows, and the layout
# seen replace the guide's.
set -uo pipefail
exec </dev/null

# shellcheck source=../../../support/private_wine_prefix.sh
. "$(dirname "$0")/../../../support/private_wine_prefix.sh"

bits=$1
driver=$2
shots=$3
images=${4:-}
refresh="${PELIXO_REFRESH_GUIDE_IMAGES:-}"
if [ -z "$images" ]; then
  echo "window test: the guide's image folder is missing" >&2
  exit 1
fi
images=$(cd "$images" && pwd) || exit 1

if [ "$bits" = 64 ]; then
  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver64
  base_prefix="${PELIXO_WINE64PREFIX:-$HOME/.cache/pelixo/wine64}"
else
  wine=wine
  wineserver=/usr/lib/wine/wineserver32
  base_prefix="${PELIXO_WINEPREFIX:-$HOME/.cache/pelixo/wine32}"
fi
[ -x "$wineserver" ] || wineserver=wineserver
for tool in Xvfb import identify; do
  if ! command -v "$tool" >/dev/null; then
    echo "window test: $tool is missing (scripts/setup installs it)" >&2
    exit 1
  fi
done
if [ ! -f "$base_prefix/system.reg" ]; then
  echo "window test: no wine prefix at $base_prefix (scripts/setup creates it)" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pelixo-window.XXXXXX")
xvfb_pid=""
export WINEPREFIX="$work/prefix"
cleanup() {
  "$wineserver" -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

private_wine_prefix "$base_prefix" "$WINEPREFIX" || exit 1
# A wine desktop draws the window frames itself, as Windows does.
cat >>"$WINEPREFIX/user.reg" <<'REG'

[Software\\Wine\\Explorer] 1765000000
"Desktop"="Default"

[Software\\Wine\\Explorer\\Desktops] 1765000000
"Default"="1024x768"
REG

# The display: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "window test: Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
# No debugger: a crash ends the program at once instead of waiting.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
unset PELIXO_BOXES

rm -rf "$shots"
mkdir -p "$shots" "$work/files"
status=0
PELIXO_WINDOW_SHOTS="$shots" PELIXO_WINDOW_WORK="$work/files" \
  PELIXO_REFRESH_GUIDE_IMAGES="$refresh" PELIXO_GUIDE_IMAGES="$images" \
  timeout 540 "$wine" "$driver" || status=1

# Every screenshot shows something, and inside the window's bounds more than
# a blank area.
pictures=(main-receive main-send options about)
for name in "${pictures[@]}"; do
  png="$shots/$name.png"
  if [ ! -s "$png" ]; then
    echo "window test: screenshot $name is missing" >&2
    status=1
    continue
  fi
  read -r left top width height <"$shots/$name.rect" || true
  colours=$(identify -format '%k' "$png" 2>/dev/null || echo 0)
  window_colours=$(identify -format '%k' "$png[${width}x${height}+${left}+${top}]" \
                   2>/dev/null || echo 0)
  if [ "${colours:-0}" -lt 4 ] || [ "${window_colours:-0}" -lt 4 ]; then
    echo "window test: screenshot $name is blank ($colours colours, $window_colours in the window)" >&2
    status=1
  else
    echo "window test: screenshot $name: $colours colours, $window_colours in the window at ${left},${top}"
  fi
done

if [ "$refresh" = 1 ]; then
  if [ $status -ne 0 ]; then
    echo "window test: failed; the guide's pictures stay as they were" >&2
    exit $status
  fi
  layout="$work/layout.txt"
  {
    echo "# The windows as the user guide's pictures show them, written by"
    echo "# tests/pelixo/app/win32/run_window_test.sh with PELIXO_REFRESH_GUIDE_IMAGES=1 and"
    echo "# checked by every run of the window test. Per picture: \"window\", the"
    echo "# window's class, caption and client size, then each control in creation"
    echo "# order: class, id, left, top, width, height in the client area, state"
    echo "# and text."
  } >"$layout"
  for name in "${pictures[@]}"; do
    read -r left top width height <"$shots/$name.rect"
    convert "$shots/$name.png" -crop "${width}x${height}+${left}+${top}" +repage \
      -strip "$work/$name.png" || exit 1
    { echo; cat "$shots/$name.layout"; } >>"$layout" || exit 1
  done
  mkdir -p "$images"
  for name in "${pictures[@]}"; do
    mv "$work/$name.png" "$images/$name.png"
  done
  mv "$layout" "$images/layout.txt"
  echo "window test: the guide's pictures and layout.txt in $images are refreshed"
fi
exit $status
