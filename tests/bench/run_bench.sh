#!/usr/bin/env bash
# Runs the frame benchmark and measures the saver's CPU time from outside Wine: while the bench
# keeps the saver running between its two marker lines, this reads utime + stime of the saver's
# process in /proc/<pid>/stat (Wine's GetProcessTimes reads 0 for another process).
#
#   run_bench.sh <emulator> <bench_frame.exe> <Kestrovin.scr>
set -euo pipefail

ticks_per_second="$(getconf CLK_TCK)"

# utime + stime in clock ticks; the fields after the command name, which is in parentheses.
cpu_ticks() {
  sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
}

# The newest process of this Wine prefix running the saver with /s.
find_saver() {
  local pid best="" best_start=-1 start
  for pid in $(pgrep -x Kestrovin.scr || true); do
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q ' /s' || continue
    if [ -n "${WINEPREFIX:-}" ]; then
      tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    fi
    start="$(sed 's/^.*) //' "/proc/$pid/stat" | awk '{ print $20 }')"
    if [ "$start" -gt "$best_start" ]; then
      best="$pid"
      best_start="$start"
    fi
  done
  echo "$best"
}

pid="" t0="" c0=""
"$@" | while IFS= read -r line; do
  line="${line%$'\r'}"
  case "$line" in
    "saver: measuring "*)
      pid="$(find_saver)"
      if [ -z "$pid" ]; then
        echo "saver: its process was not found under /proc"
        continue
      fi
      t0="$(date +%s.%N)"
      c0="$(cpu_ticks "$pid")"
      ;;
    "saver: measured "*)
      [ -n "$pid" ] || continue
      c1="$(cpu_ticks "$pid")"
      t1="$(date +%s.%N)"
      size="${line#saver: measured at }"
      awk -v c="$((c1 - c0))" -v hz="$ticks_per_second" -v t0="$t0" -v t1="$t1" \
        -v size="$size" -v pid="$pid" \
        'BEGIN { cpu = c / hz; wall = t1 - t0;
                 printf "saver at %s: %.2f s CPU over %.1f s, %.2f%% of one core (/proc/%d/stat)\n",
                        size, cpu, wall, 100 * cpu / wall, pid }'
      ;;
    *) echo "$line" ;;
  esac
done
