#!/usr/bin/env bash
# The full-screen saver driven as a person would, through the X server: it covers the screen,
# keeps running while the pointer rests, and ends with code 0 on a one-pixel move, a key, a
# click, Alt+key and another window taking the focus. A settings file edited by hand is shown as
# it reads back.
set -u
scr="$1"
host="$2"
# shellcheck source=tests/checks.sh
. "$(dirname "$0")/../checks.sh"
# shellcheck source=tests/e2e/wait_lib.sh
. "$(dirname "$0")/wait_lib.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/kestrovin-saver.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cp "$scr" "$work/Kestrovin.scr"
ini="$work/Kestrovin.ini"
read -r W H < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
: "${W:=1280}" "${H:=800}"

saver_pid=""
clock_top=$((113 * H / 200)); clock_height=$((H / 4))
start_saver() {
  xdotool mousemove 200 200
  wine "$work/Kestrovin.scr" /s &
  saver_pid=$!
  # Up once a top-level window covers the screen, and settled once its clock has ticked there:
  # the pointer's first message, which the saver takes as where the pointer rests, came before.
  # A move sent sooner could merge with that message and be taken for the resting place.
  wait_for 15 screen_covered && band_changes "$clock_top" "$clock_height"
}
running() { alive "$saver_pid"; }
# Waits for the saver to end; true when it ended with code 0.
ends_with_zero() {
  await_exit "$saver_pid" 10
  [ "$exit_code" = 0 ] || echo "  (exit code $exit_code)"
  [ "$exit_code" = 0 ]
}
max_green() { # max_green <png> <y> <height>: the brightest green in a band across the screen
  convert "$1" -crop "${W}x${2}+0+${3}" +repage -channel G -separate -format '%[fx:maxima]' info: 2>/dev/null
}

# Still running after its clock has changed twice more with the pointer at rest.
rests() { running && band_changes "$clock_top" "$clock_height" && band_changes "$clock_top" "$clock_height" && running; }

run_case() { # run_case <name> <xdotool command...>
  local name="$1"; shift
  check "$name: saver starts" start_saver
  check "$name: saver keeps running while the pointer rests" rests
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

# What a hand-edited file holds is what the screen shows: an empty title leaves its band black,
# the subject's band holds text, and the screen is black at its corners.
printf '[SYSTEM]\r\nFROM_DATE=2003/2/30\r\nTO_DATE=2003/2/30\r\nTITLE=\r\nSUBJECT=subject\r\n' > "$ini"
check "edited file: saver starts" start_saver
# The saver has drawn a frame by now: its clock has ticked.
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
