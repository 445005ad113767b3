#!/bin/sh
# Takes the pictures of the user guide from the real program on a demo
# folder, under a virtual display, and writes them beside this script:
#   src/guide/Uputstva/snimke.sh BUILD_FOLDER [DISPLAY]
# Needs the Debian packages xvfb, xdotool and imagemagick.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build folder}" && pwd)
display=${2:-:97}
work=$(mktemp -d)
prog=
xvfb=
cleanup() {
  [ -n "$prog" ] && kill "$prog" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
"$build/src/kelmorin-tool" init --demo "$work/Kelmorin" >/dev/null
Xvfb "$display" -screen 0 1400x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
sleep 2
HOME="$work" QT_QPA_PLATFORM=xcb "$build/src/kelmorin" "$work/Kelmorin" >/dev/null 2>&1 &
prog=$!
win=
for _ in $(seq 1 60); do
  win=$(xdotool search --name "Računi za optička" 2>/dev/null | head -1) || true
  [ -n "$win" ] && break
  sleep 0.5
done
[ -n "$win" ] || { echo "Prozor programa se nije pojavio." >&2; exit 1; }
sleep 2
# The whole screen cut to the window, so that open menus are in the picture.
shot() {
  geometry=$(xdotool getwindowgeometry --shell "$win")
  eval "$geometry"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$here/$1"
}
xdotool windowactivate --sync "$win" 2>/dev/null || true
# The tabs and the menu are reached by the mouse, at their places in the
# window (no window manager gives the keyboard's focus under Xvfb).
click() { xdotool mousemove --window "$win" "$1" "$2" click 1; sleep 1; }
shot racun.png
click 200 32
shot popis_racuna.png
click 462 32
shot opci_podaci.png
click 60 32
# The menu "Opcije" with its submenu "Arhiva".
click 45 8
xdotool mousemove --window "$win" 60 389
sleep 1
xdotool mousemove --window "$win" 200 389
sleep 1
shot izbornik.png
xdotool key Escape || true
