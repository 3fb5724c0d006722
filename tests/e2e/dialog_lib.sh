# Sourced by the end-to-end scripts of settings mode: counted checks, a scratch copy of the
# program, the settings dialog found by its caption through the X server, and the program's end.
# The caller sets scr (the program) and shots (where screenshots go) first.
. "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"

work="$(mktemp -d "${TMPDIR:-/tmp}/kestrovin-settings.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cp "$scr" "$work/Kestrovin.scr"
ini="$work/Kestrovin.ini"
caption="Kestrovinの設定"
read -r W H < <(xdpyinfo 2>/dev/null | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
: "${W:=1280}" "${H:=800}"

pid=""
# xdotool's name patterns do not match Japanese text here, so names are compared whole.
window_named() { # window_named <caption>: prints the id of the mapped X window with this name
  local id
  for id in $(xdotool search --onlyvisible --name 'Kestrovin' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id" && return 0
  done
  return 1
}
# Without a window manager X sends keys to the window under the pointer, so the pointer rests
# on the dialog, as a person's would, and the dialog gets the input focus.
dialog_up() { # dialog_up <caption>: waits for the dialog's window
  local id
  for _ in $(seq 150); do
    if id="$(window_named "$1")"; then
      xdotool mousemove --window "$id" 8 8
      xdotool windowfocus "$id" 2>/dev/null
      sleep 1
      return 0
    fi
    sleep 0.1
  done
  return 1
}
start_settings() { # start_settings <program> [switch]
  wine "$@" &
  pid=$!
  dialog_up "$caption"
}
running() { kill -0 "$pid" 2>/dev/null; }
ends_with_zero() {
  for _ in $(seq 150); do
    running || break
    sleep 0.1
  done
  if running; then
    echo "  (still running; the screen is in $shots/settings-stuck.png)"
    import -window root "$shots/settings-stuck.png" 2>/dev/null
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; return 1
  fi
  local code=0
  wait "$pid" || code=$?
  [ "$code" -eq 0 ] || echo "  (exit code $code)"
  [ "$code" -eq 0 ]
}
cp932() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }
# Trail bytes of code page 932 can be regular-expression characters: match whole lines literally.
has_line() { # has_line <key> <UTF-8 value>: the file holds key=value in code page 932
  grep -qxF "$1=$(cp932 "$2")"$'\r' "$ini" && return 0
  echo "  (the file has: $(grep -a "^$1=" "$ini" 2>/dev/null | iconv -f CP932 -t UTF-8 2>/dev/null))"
  return 1
}
