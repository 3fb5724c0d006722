#!/usr/bin/env bash
# Runs the frame benchmark, then measures from outside Wine what the running saver costs over the
# same seconds, on one 1920x1080 monitor, one 3840x2160 monitor, and two monitors of 3840x2160 and
# 1920x1080: utime + stime of the saver's process and of the X server's, from /proc/<pid>/stat
# (Wine's GetProcessTimes reads 0 for another process). Each arrangement measures the product,
# which draws and copies only the lines that changed, and the bench's own saver that draws and
# copies every monitor whole on every tick, and prints the ratio of the two with its goal. On two
# monitors the product runs longer, and its resident memory is read at the start and the end.
#
#   run_bench.sh <emulator> <bench_frame.exe> <Kestrovin.scr>
#
# Each arrangement gets an X server of its own on a free display (BENCH_DISPLAYS, say
# ":63 :73 :83", names the displays to use instead); two monitors are RandR monitors on one screen,
# which Wine shows through its Xinerama path. The Wine server of the project's prefix keeps the
# display it was started on, so it is stopped before each arrangement and at the end.
# BENCH_SECONDS (15) and BENCH_SOAK_SECONDS (60) set how long a saver is measured.
set -euo pipefail

emulator="$1" bench="$2" scr="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"
# shellcheck source=scripts/winenv.sh
. "$root/scripts/winenv.sh"
trap stop_services EXIT

ticks_per_second="$(getconf CLK_TCK)"
# Monitors, left to right with their tops aligned, the first the primary; and the goal of the
# product's share (saver and display server) against the every-tick saver's.
# BENCH_ARRANGEMENTS, say "3840x2160", measures only those.
read -r -a arrangements <<<"${BENCH_ARRANGEMENTS:-1920x1080 3840x2160 3840x2160+1920x1080}"
declare -A goals=([3840x2160]=0.05 [3840x2160+1920x1080]=0.08)
read -r -a displays <<<"${BENCH_DISPLAYS:-}"
seconds="${BENCH_SECONDS:-15}"
soak_seconds="${BENCH_SOAK_SECONDS:-60}"
x11_key='HKCU\Software\Wine\X11 Driver'

# utime + stime in clock ticks; the fields after the command name, which is in parentheses.
cpu_ticks() {
  sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# The newest process of this Wine prefix with the given name and an argument matching a pattern.
find_process() {
  local pid best="" best_start=-1 start
  for pid in $(pgrep -x "$1" || true); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- "$2" || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    start="$(sed 's/^.*) //' "/proc/$pid/stat" | awk '{ print $20 }')"
    if [ "$start" -gt "$best_start" ]; then
      best="$pid"
      best_start="$start"
    fi
  done
  echo "$best"
}

# Resident memory in kB.
rss_kb() {
  awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"
}

# An X server showing the monitors of an arrangement ("3840x2160+1920x1080"), on the display
# given or on a free one. -noreset keeps the RandR monitors once xrandr, its only client, exits.
start_x() {
  local display="$1" arrangement="$2" n candidates size w h x=0 width=0 height=0 name output sizes
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  IFS=+ read -r -a sizes <<<"$arrangement"
  for size in "${sizes[@]}"; do
    w="${size%x*}" h="${size#*x}"
    width=$((width + w))
    [ "$h" -le "$height" ] || height="$h"
  done
  if [ -n "$display" ]; then candidates="${display#:}"; else candidates="$(seq 131 160)"; fi
  for n in $candidates; do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${width}x${height}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill "$XVFB_PID" 2>/dev/null || true
    unset XVFB_PID
  done
  [ -n "${XVFB_PID:-}" ] || { echo "could not start Xvfb" >&2; return 1; }
  start_wine
  if [ "${#sizes[@]}" -eq 1 ]; then
    wine reg delete "$x11_key" /v UseXRandR /f >/dev/null 2>&1 || true
    return 0
  fi
  # The primary must claim the output "screen", or a whole-screen monitor remains beside them.
  for size in "${sizes[@]}"; do
    w="${size%x*}" h="${size#*x}"
    if [ "$x" -eq 0 ]; then name='*MAIN' output=screen; else name="OTHER$x" output=none; fi
    xrandr --setmonitor "$name" "$w/$((w / 4))x$h/$((h / 4))+$x+0" "$output" >/dev/null
    x=$((x + w))
  done
  wine reg add "$x11_key" /v UseXRandR /t REG_SZ /d N /f >/dev/null
  # The next program reads the new arrangement.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# Reads the bench's marker lines: CPU shares of each saver and of the X server between them,
# then the ratio of the product's to the every-tick saver's.
measure() {
  local goal="$1" line label pid="" t0 c0 x0 m0 c1 x1 m1 t1 size saver_share x_share cpu wall product_saver=""
  local product_x=""
  while IFS= read -r line; do
    line="${line%$'\r'}"
    case "$line" in
      "saver: measuring "*)
        label="${line#saver: measuring }"
        label="${label% for *}"
        if [ "$label" = product ]; then
          pid="$(find_process Kestrovin.scr ' /s')"
        else
          pid="$(find_process bench_frame.exe ' --every-tick ')"
        fi
        if [ -z "$pid" ]; then
          echo "saver ($label): its process was not found under /proc"
          continue
        fi
        t0="$(date +%s.%N)"
        c0="$(cpu_ticks "$pid")"
        x0="$(cpu_ticks "$XVFB_PID")"
        m0="$(rss_kb "$pid")"
        ;;
      "saver: measured "*)
        [ -n "$pid" ] || continue
        m1="$(rss_kb "$pid")"
        c1="$(cpu_ticks "$pid")"
        x1="$(cpu_ticks "$XVFB_PID")"
        t1="$(date +%s.%N)"
        size="${line#* on }"
        # The shares in per cent of one core: the saver's, the display server's, then the
        # saver's CPU seconds and the wall seconds.
        read -r saver_share x_share cpu wall < <(awk -v c="$((c1 - c0))" -v x="$((x1 - x0))" \
          -v hz="$ticks_per_second" -v t0="$t0" -v t1="$t1" \
          'BEGIN { w = t1 - t0; printf "%.3f %.3f %.2f %.1f\n", 100 * c / hz / w, 100 * x / hz / w, c / hz, w }')
        printf 'saver (%s) on %s: %s s CPU over %s s, %.2f%% of one core (/proc/%d/stat)\n' \
          "$label" "$size" "$cpu" "$wall" "$saver_share" "$pid"
        printf 'display server (%s) on %s: %.2f%% of one core (/proc/%d/stat)\n' \
          "$label" "$size" "$x_share" "$XVFB_PID"
        printf 'memory (%s) on %s: resident %s kB at the start, %s kB after %s s (/proc/%d/status)\n' \
          "$label" "$size" "$m0" "$m1" "$wall" "$pid"
        if [ "$label" = product ]; then
          product_saver="$saver_share" product_x="$x_share"
        elif [ -n "$product_saver" ]; then
          awk -v ps="$product_saver" -v px="$product_x" -v es="$saver_share" -v ex="$x_share" -v size="$size" \
            -v goal="$goal" \
            'function ratio(a, b) { return b > 0 ? sprintf("%.3f", a / b) : "n/a" }
             BEGIN { printf "ratio on %s, product / every tick: saver %s, display server %s, both %s%s\n",
                            size, ratio(ps, es), ratio(px, ex), ratio(ps + px, es + ex),
                            goal == "" ? "" : " (goal: both at most " goal ")" }'
        fi
        pid=""
        ;;
      *) echo "$line" ;;
    esac
  done
}

for i in "${!arrangements[@]}"; do
  start_x "${displays[$i]:-}" "${arrangements[$i]}"
  if [ "$i" -eq 0 ]; then
    "$emulator" "$bench" | tr -d '\r'
  fi
  product_seconds="$seconds"
  [[ "${arrangements[$i]}" != *+* ]] || product_seconds="$soak_seconds"
  "$emulator" "$bench" --cpu "$scr" "$product_seconds" "$seconds" | measure "${goals[${arrangements[$i]}]:-}"
  wine reg delete "$x11_key" /v UseXRandR /f >/dev/null 2>&1 || true
  stop_services
  unset XVFB_PID
done
