# shellcheck shell=bash
# Sourced by the end-to-end scripts of settings mode: counted checks, a scratch copy of the
# program, the settings dialog found by its caption through the X server, the focus put in a
# box by its control id, typing that waits for the box to show it, and the program's end.
# The caller sets scr (the program), host (launch_host) and shots (where screenshots go) first.
# shellcheck disable=SC2154 # scr, host and shots come from the caller
# shellcheck source=tests/checks.sh
. "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
# shellcheck source=tests/e2e/wait_lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/wait_lib.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/kestrovin-settings.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cp "$scr" "$work/Kestrovin.scr"
ini="$work/Kestrovin.ini"
caption="Kestrovinの設定"
read -r W H < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
: "${W:=1280}" "${H:=800}"

pid=""
# Without a window manager X sends keys to the window under the pointer or with the X focus, so
# the pointer rests on the dialog, as a person's would, and the dialog gets the X focus.
dialog_up() { # dialog_up <caption>: waits for the dialog's window and gives it the keys
  local id
  wait_for 15 window_shown "$1" || return 1
  id="$(window_named "$1")" || return 1
  xdotool mousemove --window "$id" 8 8
  xdotool windowfocus "$id" 2>/dev/null
  wait_for 10 x_focus_on "$id"
}
start_settings() { # start_settings <program> [switch]
  wine "$@" &
  pid=$!
  dialog_up "$caption"
}
running() { alive "$pid"; }
ends_with_zero() {
  if ! await_exit "$pid" 15; then
    echo "  (still running; the screen is in $shots/settings-stuck.png)"
    import -window root "$shots/settings-stuck.png" 2>/dev/null
    return 1
  fi
  [ "$exit_code" -eq 0 ] || echo "  (exit code $exit_code)"
  [ "$exit_code" -eq 0 ]
}

# Control ids of the settings dialog (res/resource.h).
# shellcheck disable=SC2034 # the control ids are for the scripts that source this
title_box=1012 subject_box=1013 about_button=1014
# Inside the dialog, X sees one window: launch_host moves the focus and reads the box.
focus_box() { wine "$host" --focus "$1"; }      # focus_box <control id>: typed keys go there
has_focus() { wine "$host" --wait-focus "$1"; } # has_focus <control id>: they go there already
box_text() { wine "$host" --text 2>/dev/null; } # the text of the box with the focus
box_is() { [ "$(box_text)" = "$1" ]; }
# shellcheck disable=SC2053 # the argument is a glob pattern
box_like() { [[ "$(box_text)" == $1 ]]; }
# xdotool types a character missing from the keyboard map (here, anything but printable ASCII) by
# mapping a spare key first, and a program that has not yet seen the new map may lose that key.
# Such text alone is typed again, over the whole text, until the box shows it; text the map holds
# is typed once, so that a dialog losing keys fails.
typed() { # typed <text> [glob]: replaces the text of the box with the focus; waits until it shows the text (or matches the glob)
  local try tries=1
  LC_ALL=C.UTF-8 grep -q '[^ -~]' <<<"$1" && tries=3
  for ((try = 1; try <= tries; try++)); do
    xdotool key Home shift+End
    LC_ALL=C.UTF-8 xdotool type --delay 40 "$1"
    if [ $# -gt 1 ]; then wait_for 15 box_like "$2" && return 0; else wait_for 15 box_is "$1" && return 0; fi
  done
  echo "  (the box shows: $(box_text))"
  return 1
}
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
# Trail bytes of code page 932 can be regular-expression characters: match whole lines literally.
has_line() { # has_line <key> <UTF-8 value>: the file holds key=value in code page 932
  grep -qxF "$1=$(cp932 "$2")"$'\r' "$ini" && return 0
  echo "  (the file has: $(grep -a "^$1=" "$ini" 2>/dev/null | iconv -f CP932 -t UTF-8 2>/dev/null))"
  return 1
}
