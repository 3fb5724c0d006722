#!/usr/bin/env bash
# The saver on a display of two monitors: the primary, 1024x768, and a taller one right of it
# whose top lies above the primary's (negative y for Windows). Each monitor shows the frame laid
# out for its own size and nothing of the desktop, a one-pixel move on the other monitor or a key
# ends the saver with code 0, and no window of it is left.
#
# Wine reads the monitors when its server starts, so this runs on an X server and a Wine server of
# its own: the other tests keep the run's display and server untouched. The prefix shares the
# run's drive C and copies its registry, so the display setting below stays private.
#   saver_monitors.sh <Kestrovin.scr> <launch_host.exe>
set -u
scr="$1"
host="$2"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=tests/checks.sh
. "$here/../checks.sh"
# shellcheck source=tests/e2e/wait_lib.sh
. "$here/wait_lib.sh"
shared_prefix="${WINEPREFIX:-$here/../../build/wineprefix}"
# shellcheck source=scripts/winenv.sh
. "$here/../../scripts/winenv.sh"
if [ ! -f "$shared_prefix/system.reg" ] || ! command -v xrandr >/dev/null; then
  echo "saver_monitors: needs the run's Wine prefix and xrandr (scripts/setup)" >&2
  exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/kestrovin-monitors.XXXXXX")"
export WINEPREFIX="$work/prefix"
mkdir -p "$WINEPREFIX/dosdevices"
cp "$shared_prefix"/system.reg "$shared_prefix"/user.reg "$shared_prefix"/userdef.reg \
  "$shared_prefix"/.update-timestamp "$WINEPREFIX/"
ln -s "$shared_prefix/drive_c" "$WINEPREFIX/drive_c"
ln -s ../drive_c "$WINEPREFIX/dosdevices/c:"
ln -s / "$WINEPREFIX/dosdevices/z:"
trap 'stop_services; rm -rf "$work"' EXIT

XVFB_SCREEN=2304x1024x24 XVFB_NORESET=1 start_xvfb || exit 1
# A red root window: wherever no window of the saver is, red shows.
xsetroot -solid red
# X: the primary at +0+256, the other at +1024+0. Windows puts the primary at (0,0).
xrandr --setmonitor '*MAIN' 1024/271x768/203+0+256 screen >/dev/null
xrandr --setmonitor OTHER 1280/338x1024/270+1024+0 none >/dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1

# name, Windows rectangle, X offset of the monitor's top-left corner
monitors=("primary 0 0 1024 768 0 256" "other 1024 -256 2304 768 1024 0")
expected_monitors="$(printf '0 0 1024 768\n1024 -256 2304 768')"
check "Windows sees the two monitors" test "$(wine "$host" --monitors | tr -d '\r')" = "$expected_monitors"

cp "$scr" "$work/Kestrovin.scr"
printf '[SYSTEM]\r\nFROM_DATE=2026/12/1 9:0:0\r\nTO_DATE=2027/3/31 18:30:0\r\nTITLE=title\r\nSUBJECT=subject\r\n' \
  >"$work/Kestrovin.ini"
W=2304 # the screen, for band_print
shot="$work/shot.png"
# region <x> <y> <w> <h>: the bounding box of what is not black there, as "w h x y", or "none"
region_ink() {
  local box
  box="$(convert "$shot" -crop "$3x$4+$1+$2" +repage -bordercolor black -border 1 -trim -format '%w %h %X %Y' info: 2>/dev/null)"
  case "$box" in "1 1 "*) echo none ;; *) echo "$box" ;; esac
}
max_red() { convert "$shot" -crop "$3x$4+$1+$2" +repage -channel R -separate -format '%[fx:maxima]' info: 2>/dev/null; }

# Every monitor shows the saver: nothing but black, green and cyan (red is in no colour of the
# frame, but is the root window's) and some text.
covered_all() {
  import -window root "$shot" 2>/dev/null || return 1
  local m name l t r b x y
  for m in "${monitors[@]}"; do
    read -r name l t r b x y <<<"$m"
    [ "$(max_red "$x" "$y" $((r - l)) $((b - t)))" = 0 ] || return 1
    [ "$(region_ink "$x" "$y" $((r - l)) $((b - t)))" != none ] || return 1
  done
}
# The frame of each monitor laid out for its size: the Today line ends at the monitor's right
# edge, the clock is centred on the monitor, each in the band of rows its height gives.
laid_out() { # laid_out <monitor>
  local name l t r b x y w h bw bh bx by
  read -r name l t r b x y <<<"$1"
  w=$((r - l)) h=$((b - t))
  read -r bw bh bx by <<<"$(region_ink "$x" $((y + h / 50)) "$w" $((h / 50)))"
  [ "$bw" != none ] && [ $((bx + bw)) -ge $((w - 8)) ] && [ $((bx + bw)) -le "$w" ] || {
    echo "  ($name: Today line ink ${bw}x$bh+$bx+$by in a ${w}-pixel row)"
    return 1
  }
  read -r bw bh bx by <<<"$(region_ink "$x" $((y + 113 * h / 200)) "$w" $((h / 4)))"
  [ "$bw" != none ] && [ $(((2 * bx + bw - w) / 2)) -le $((w / 40)) ] && [ $(((w - 2 * bx - bw) / 2)) -le $((w / 40)) ] || {
    echo "  ($name: clock ink ${bw}x$bh+$bx+$by, not centred in $w)"
    return 1
  }
}
# Nothing of the saver left: each monitor shows the red root window again.
uncovered() {
  import -window root "$shot" 2>/dev/null || return 1
  local m name l t r b x y
  for m in "${monitors[@]}"; do
    read -r name l t r b x y <<<"$m"
    [ "$(max_red "$x" "$y" $((r - l)) $((b - t)))" != 0 ] || return 1
  done
}

saver_pid=""
primary_clock=$((256 + 113 * 768 / 200))
start_saver() {
  wine "$work/Kestrovin.scr" /s &
  saver_pid=$!
  # Settled once the primary's clock has ticked: the pointer's first report came before.
  wait_for 20 covered_all && band_changes "$primary_clock" $((768 / 4))
}
ends_with_zero() {
  await_exit "$saver_pid" 10
  [ "$exit_code" = 0 ] || echo "  (exit code $exit_code)"
  [ "$exit_code" = 0 ]
}

xdotool mousemove 1600 500
check "saver starts and covers both monitors" start_saver
covered_all
mkdir -p "$here/../../build"
cp "$shot" "$here/../../build/saver-monitors.png" 2>/dev/null || true
for m in "${monitors[@]}"; do
  check "${m%% *} monitor: the frame is laid out for its size" laid_out "$m"
done
check "saver keeps running while the pointer rests on the other monitor" \
  band_changes "$primary_clock" $((768 / 4))
xdotool mousemove_relative 1 0
check "a one-pixel move on the other monitor ends it with code 0" ends_with_zero
check "no window of it is left" wait_for 10 uncovered

xdotool mousemove 300 500
check "saver starts again" start_saver
xdotool key a
check "a key ends it with code 0" ends_with_zero
check "no window of it is left after the key" wait_for 10 uncovered

# The primary's frame is the one a display of that monitor alone shows, pixel for pixel, at one
# frozen moment. Only the 64-bit loader takes faketime's preload (a 32-bit one cannot).
pinned_shot() { # pinned_shot <png>: the screen once the saver drew at 2027-01-15 10:20:30
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  # NO_FAKE_STAT: file times stay real, or Wine would take its prefix for outdated.
  NO_FAKE_STAT=1 FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f '2027-01-15 10:20:30' /usr/lib/wine/wine64 "$work/Kestrovin.scr" /s &
  saver_pid=$!
  wait_for 20 covered_all || return 1
  cp "$shot" "$1"
  xdotool key a
  ends_with_zero || return 1
  # The next server runs on the real clock again.
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
}
if ! file -L "$scr" | grep -q x86-64; then
  skip "primary against one monitor: the 32-bit loader cannot run under faketime"
else
  check "pinned frame on two monitors" pinned_shot "$work/two.png"
  cp "$work/two.png" "$here/../../build/saver-monitors-pinned.png" 2>/dev/null || true
  kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null
  XVFB_SCREEN=1024x768x24 start_xvfb || exit 1
  xsetroot -solid red
  monitors=("primary 0 0 1024 768 0 0")
  W=1024
  check "pinned frame on the primary alone" pinned_shot "$work/one.png"
  differing="$(compare -metric AE "$work/one.png" \( "$work/two.png" -crop 1024x768+0+256 +repage \) null: 2>&1)"
  check "the primary's frame equals the one-monitor frame ($differing pixels differ)" test "$differing" = 0
fi

finish saver_monitors
