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
  # Ceilings, not expectations: a Wine that is starting its system processes again (after a
  # run at another code page, or a new server) can take well over ten seconds to a first frame.
  wait_for 60 screen_covered || { echo "  (no window covers the screen)"; return 1; }
  band_changes "$clock_top" "$clock_height" 60 || { echo "  (the clock did not change on screen)"; return 1; }
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

# Past 2038: the 64-bit saver started with its clock on 2039-06-01 12:00 (faketime's preload
# reaches only the 64-bit loader started directly) shows that date and the 213 days left to
# a due date in 2040, as a saver at the real clock draws the same texts: its start line holds
# the date, and its due date lies as many days ahead.
is_x86_64() { [ "$(od -An -tx2 -j"$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')" -N6 "$1" | awk '{ print $3 }')" = 8664 ]; }
# Whether two bands of the two shots have ink, and at the same pixels (the colours may differ).
same_ink() { # same_ink <w> <h> <x> <y1> <y2>
  local a b
  a="$(convert "$work/faked.png" -crop "$1x$2+$3+$4" +repage -channel G -separate -threshold 0 gray:- | md5sum)"
  b="$(convert "$work/real.png" -crop "$1x$2+$3+$5" +repage -channel G -separate -threshold 0 gray:- | md5sum)"
  [ "$a" = "$b" ] && [ "$(convert "$work/real.png" -crop "$1x$2+$3+$5" +repage -channel G -separate -format '%[fx:maxima]' info:)" != 0 ]
}
faked_saver_up() { wait_for 60 screen_covered && band_changes "$clock_top" "$clock_height" 60; }
has_ink() { # has_ink <png> <y> <h>
  [ "$(max_green "$1" "$3" "$2")" != "0" ]
}
if ! is_x86_64 "$scr"; then
  skip "the clock past 2038: faketime cannot move the 32-bit loader's clock"
elif ! command -v faketime >/dev/null; then
  skip "the clock past 2038: faketime is not installed (scripts/setup)"
else
  export TZ=JST-9
  day_top=$((17 * H / 40)); day_height=$((H / 10)); small=$((H / 50))
  printf '[SYSTEM]\r\nFROM_DATE=2003/01/01 00:00:00\r\nTO_DATE=2040/01/01 00:00:00\r\nTITLE=t\r\nSUBJECT=s\r\n' > "$ini"
  # The Wine server must keep the same clock as the program, or its timers never fire. File
  # times stay true, or Wine takes its files for changed and updates the prefix.
  wineserver -k; wineserver -w
  xdotool mousemove 200 200
  NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f '@2039-06-01 12:00:00' /usr/lib/wine/wine64 "$work/Kestrovin.scr" /s &
  saver_pid=$!
  check "2039: saver starts" faked_saver_up
  import -window root "$work/faked.png"
  xdotool mousemove_relative 1 0
  check "2039: saver ends with code 0" ends_with_zero
  # Back to a server and system processes on the real clock that stay up, as the run started
  # with, and with no hold on this test's output, which ctest waits to see closed.
  wineserver -k; wineserver -w
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null

  printf '[SYSTEM]\r\nFROM_DATE=2039/06/01 12:00:00\r\nTO_DATE=%s\r\nTITLE=t\r\nSUBJECT=s\r\n' \
    "$(date -d '+213 days 6 hours' '+%Y/%m/%d %H:%M:%S')" > "$ini"
  check "real clock: saver starts" start_saver
  import -window root "$work/real.png"
  xdotool mousemove_relative 1 0
  check "real clock: saver ends with code 0" ends_with_zero

  check "2039: the Today line is drawn" has_ink "$work/faked.png" "$small" "$small"
  check "2039: the day line reads 213 days left" same_ink "$W" "$day_height" 0 "$day_top" "$day_top"
  # The fixed-pitch line of 34 bytes ends at the right edge: its width, from where the start
  # line's ink begins, gives the cell width. "2039/06/01" stands at bytes 9 to 18, "(Wed)" at 29 to 33.
  left="$(convert "$work/real.png" -crop "${W}x${small}+0+$((3 * small))" +repage -channel G -separate -threshold 0 -trim -format '%O' info: | sed 's/^+\([0-9]*\)+.*/\1/')"
  cell=$(((W - left + 17) / 34))
  check "2039: the Today line shows 2039/06/01" same_ink $((10 * cell)) "$small" $((W - 25 * cell)) "$small" $((3 * small))
  check "2039: the Today line shows (Wed)" same_ink $((5 * cell)) "$small" $((W - 5 * cell)) "$small" $((3 * small))
  unset TZ
fi

finish saver
