#!/usr/bin/env bash
# The full-screen saver driven as a person would, through the X server: it covers the screen,
# keeps running while the pointer rests, and ends with code 0 on a one-pixel move, a key, a
# click, Alt+key and another window taking the focus. A second start ends at once. A settings
# file edited by hand is shown as it reads back.
set -u
scr="$1"
host="$2"
. "$(dirname "$0")/../checks.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/kestrovin-saver.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cp "$scr" "$work/Kestrovin.scr"
ini="$work/Kestrovin.ini"
read -r W H < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
: "${W:=1280}" "${H:=800}"

saver_pid=""
start_saver() {
  xdotool mousemove 200 200
  wine "$work/Kestrovin.scr" /s &
  saver_pid=$!
  # The saver is up when a top-level X window covers the screen.
  for _ in $(seq 100); do
    if xdotool search --onlyvisible --name '' 2>/dev/null | while read -r id; do
         xwininfo -id "$id" 2>/dev/null | grep -q "Width: $W" && echo yes && break
       done | grep -q yes; then
      sleep 1.5
      return 0
    fi
    sleep 0.1
  done
  return 1
}
running() { kill -0 "$saver_pid" 2>/dev/null; }
# Waits for the saver to end; true when it ended with code 0.
ends_with_zero() {
  for _ in $(seq 100); do
    running || break
    sleep 0.1
  done
  if running; then kill "$saver_pid" 2>/dev/null; wait "$saver_pid" 2>/dev/null; return 1; fi
  wait "$saver_pid"
}
max_green() { # max_green <png> <y> <height>: the brightest green in a band across the screen
  convert "$1" -crop "${W}x${2}+0+${3}" +repage -channel G -separate -format '%[fx:maxima]' info: 2>/dev/null
}

run_case() { # run_case <name> <xdotool command...>
  local name="$1"; shift
  check "$name: saver starts" start_saver
  check "$name: saver keeps running while the pointer rests" running
  "$@"
  check "$name: saver ends with code 0" ends_with_zero
}

rm -f "$ini"
run_case "one-pixel move" xdotool mousemove_relative 1 0
run_case "key" xdotool key a
run_case "click" xdotool click 1
run_case "Alt+key" xdotool key alt+x
run_case "focus taken" wine "$host" --steal-focus
check "no run of saver mode wrote the settings file" test ! -e "$ini"

# A second start while the saver runs ends at once and leaves the first running.
check "second start: first saver starts" start_saver
timeout 20 wine "$work/Kestrovin.scr" /s
check "second start ends by itself" test $? -ne 124
check "the first saver is undisturbed" running
xdotool key Escape
check "the first saver then ends with code 0" ends_with_zero

# What a hand-edited file holds is what the screen shows: an empty title leaves its band black,
# the subject's band holds text, and the screen is black at its corners.
printf '[SYSTEM]\r\nFROM_DATE=2003/2/30\r\nTO_DATE=2003/2/30\r\nTITLE=\r\nSUBJECT=subject\r\n' > "$ini"
check "edited file: saver starts" start_saver
import -window root "$work/shot.png"
title_top=$((4 * H / 20)); subject_top=$((6 * H / 20)); band=$((H / 20))
check "edited file: the empty title's band is black" test "$(max_green "$work/shot.png" "$band" "$title_top")" = "0"
check "edited file: the subject's band holds green text" test "$(max_green "$work/shot.png" "$band" "$subject_top")" != "0"
corner="$(convert "$work/shot.png" -format '%[pixel:p{0,0}] %[pixel:p{'$((W - 1))','$((H - 1))'}]' info:)"
case "$corner" in "black black" | "srgb(0,0,0) srgb(0,0,0)") corner_black=0 ;; *) corner_black=1 ;; esac
check "the screen is black at its corners ($corner)" test "$corner_black" -eq 0
mkdir -p "$(dirname "$0")/../../build"
cp "$work/shot.png" "$(dirname "$0")/../../build/saver-e2e.png" 2>/dev/null || true
xdotool mousemove_relative 0 1
check "edited file: saver ends with code 0" ends_with_zero

finish saver
