#!/usr/bin/env bash
# Runs the frame benchmark, then measures from outside Wine, at 1920x1080 and at 3840x2160, what
# the running saver costs over the same seconds: utime + stime of the saver's process and of the
# X server's, from /proc/<pid>/stat (Wine's GetProcessTimes reads 0 for another process). Each
# size measures the product, which draws only the ticks whose frame has changed, and the bench's
# own saver that draws on every tick, and prints the ratio of the two.
#
#   run_bench.sh <emulator> <bench_frame.exe> <Kestrovin.scr>
#
# Each size gets an X server of its own on a free display (BENCH_DISPLAYS, say ":63 :73", names
# the two displays to use instead). The Wine server of the project's prefix keeps the display it
# was started on, so it is stopped before each size and at the end.
set -euo pipefail

emulator="$1" bench="$2" scr="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"
# shellcheck source=scripts/winenv.sh
. "$root/scripts/winenv.sh"
trap stop_services EXIT

ticks_per_second="$(getconf CLK_TCK)"
sizes=(1920x1080 3840x2160)
read -r -a displays <<<"${BENCH_DISPLAYS:-}"

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

# An X server of the given size on the display given, or on a free one.
start_x() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  XVFB_SCREEN="${2}x24" start_xvfb "$1"
}

# Reads the bench's marker lines: CPU shares of each saver and of the X server between them,
# then the ratio of the product's to the every-tick saver's.
measure() {
  local line label pid="" t0 c0 x0 c1 x1 t1 size saver_share x_share cpu wall product_saver="" product_x=""
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
        ;;
      "saver: measured "*)
        [ -n "$pid" ] || continue
        c1="$(cpu_ticks "$pid")"
        x1="$(cpu_ticks "$XVFB_PID")"
        t1="$(date +%s.%N)"
        size="${line##* at }"
        # The shares in per cent of one core: the saver's, the display server's, then the
        # saver's CPU seconds and the wall seconds.
        read -r saver_share x_share cpu wall < <(awk -v c="$((c1 - c0))" -v x="$((x1 - x0))" \
          -v hz="$ticks_per_second" -v t0="$t0" -v t1="$t1" \
          'BEGIN { w = t1 - t0; printf "%.3f %.3f %.2f %.1f\n", 100 * c / hz / w, 100 * x / hz / w, c / hz, w }')
        printf 'saver (%s) at %s: %s s CPU over %s s, %.2f%% of one core (/proc/%d/stat)\n' \
          "$label" "$size" "$cpu" "$wall" "$saver_share" "$pid"
        printf 'display server (%s) at %s: %.2f%% of one core (/proc/%d/stat)\n' \
          "$label" "$size" "$x_share" "$XVFB_PID"
        if [ "$label" = product ]; then
          product_saver="$saver_share" product_x="$x_share"
        elif [ -n "$product_saver" ]; then
          awk -v ps="$product_saver" -v px="$product_x" -v es="$saver_share" -v ex="$x_share" -v size="$size" \
            'function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "n/a" }
             BEGIN { printf "ratio at %s, product / every tick: saver %s, display server %s, both %s\n",
                            size, ratio(ps, es), ratio(px, ex), ratio(ps + px, es + ex) }'
        fi
        pid=""
        ;;
      *) echo "$line" ;;
    esac
  done
}

for i in "${!sizes[@]}"; do
  start_x "${displays[$i]:-}" "${sizes[$i]}"
  start_wine
  if [ "$i" -eq 0 ]; then
    "$emulator" "$bench" | tr -d '\r'
  fi
  "$emulator" "$bench" --cpu "$scr" | measure
  stop_services
  unset XVFB_PID
done
