# shellcheck shell=bash
# Sourced by the end-to-end scripts: waits on a condition, never on the clock alone. Each polls
# every tenth of a second, goes on as soon as the condition holds and fails when its time is up,
# so a busy machine makes a test slower, not wrong.
# The caller sets W and H (the screen's size) before using the screen helpers.

wait_for() { # wait_for <seconds> <command...>: true as soon as the command succeeds
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.1
  done
}
not() { ! "$@"; }
alive() { kill -0 "$1" 2>/dev/null; }

# Waits for a process of this shell to end and sets exit_code to its code, or to "timeout"
# (and ends it) when it runs past the time.
# shellcheck disable=SC2034 # exit_code is read by the caller
await_exit() { # await_exit <pid> [seconds, default 15]
  exit_code=timeout
  if ! wait_for "${2:-15}" not alive "$1"; then
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 1
  fi
  exit_code=0
  wait "$1" || exit_code=$?
}

# xdotool's name patterns do not match Japanese text here, so names are compared whole.
window_named() { # window_named <name>: prints the id of the mapped X window with this name
  local id
  for id in $(xdotool search --onlyvisible --name 'Kestrovin' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id" && return 0
  done
  return 1
}
window_shown() { window_named "$1" >/dev/null; }
x_focus_on() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# A top-level X window as wide as the screen: the running saver.
screen_covered() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q "Width: $W" && return 0
  done
  return 1
}
# A fingerprint of a band of the screen, from y for h rows.
band_print() { # band_print <y> <h>
  import -window root -crop "${W}x$2+0+$1" +repage rgb:- 2>/dev/null | md5sum
}
# The band changes on screen: a program redrawing it has gone round its message loop, so the
# input queued before has been taken.
band_changes() { # band_changes <y> <h> [seconds, default 10]
  local first
  first="$(band_print "$1" "$2")"
  wait_for "${3:-10}" band_differs "$1" "$2" "$first"
}
band_differs() { [ "$(band_print "$1" "$2")" != "$3" ]; }
