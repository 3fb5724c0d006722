#!/usr/bin/env bash
# Settings mode used as a person would, through the X server: with no argument and with /c the
# settings dialog appears; typed texts and Enter are saved beside the program; the About dialog
# opens over it and returns to it. Screenshots of both dialogs go to the build folder.
set -u
scr="$1"
shots="$2"
host="$3"
# shellcheck source=tests/e2e/dialog_lib.sh
. "$(dirname "$0")/dialog_lib.sh"

# `wine` starts a program under the loader of its own machine type: launch_host is loaded, and
# start.exe never is, whose ShellExecuteEx now and then fails to start a program at all. Programs
# Wine starts for itself meanwhile write to the same trace, so no line's place is relied on.
started_directly() {
  local images
  images="$(WINEDEBUG=+loaddll wine "$1" --code-page 2>&1 >/dev/null | grep -o 'Loaded L"[^"]*"')"
  [[ "$images" == *'\launch_host.exe"'* && "$images" != *'\start.exe"'* ]] && return 0
  echo "  (images loaded: $(printf '%s\n' "$images" | grep -o '[^\]*"$' | tr -d '"' | paste -sd ' ' -))"
  return 1
}
check "launch_host starts under its own loader, not through start.exe" started_directly "$host"

# Both ways into settings mode show the dialog; Escape ends it with code 0 and writes nothing.
for switch in "" "/c"; do
  name="${switch:-no argument}"
  check "$name: the settings dialog appears" start_settings "$work/Kestrovin.scr" $switch
  check "$name: it stays open" running
  xdotool key Escape
  check "$name: Escape ends it with code 0" ends_with_zero
  check "$name: no settings file is written" test ! -e "$ini"
done

# A person types a title and a subject and presses Enter.
check "typing: the dialog appears" start_settings "$work/Kestrovin.scr" /c
import -window root "$shots/settings-dialog.png"
check "typing: the title box takes the focus" focus_box $title_box
check "typing: the title box shows what was typed" typed "Release 2.0"
check "typing: the subject box takes the focus" focus_box $subject_box
check "typing: the subject box shows what was typed" typed "Final review"
xdotool key Return
check "typing: Enter ends it with code 0" ends_with_zero
check "typing: the settings file exists beside the program" test -f "$ini"
check "typing: the title is what was typed" grep -qxF $'TITLE=Release 2.0\r' "$ini"
check "typing: the subject is what was typed" grep -qxF $'SUBJECT=Final review\r' "$ini"

# The About dialog opens over the settings from the third button and gives them back the keys
# when closed.
check "About: the settings dialog appears" start_settings "$work/Kestrovin.scr"
check "About: its button takes the focus" focus_box $about_button
xdotool key space
check "About: the version dialog opens" dialog_up "バージョン情報(Kestrovin)"
import -window root "$shots/about-dialog.png"
xdotool key Escape
check "About: Escape closes it" wait_for 10 not window_shown "バージョン情報(Kestrovin)"
check "About: the settings dialog has the keys again, on the About button" has_focus $about_button
xdotool key Escape
check "About: the settings dialog then ends with code 0" ends_with_zero

# The settings file of a program whose name has dots in it is its name with ".ini".
cp "$scr" "$work/count.down.scr"
check "dotted name: the dialog appears" start_settings "$work/count.down.scr" /c
xdotool key Return
check "dotted name: Enter ends it with code 0" ends_with_zero
check "dotted name: the settings go to count.down.ini" test -f "$work/count.down.ini"
check "dotted name: and not to count.ini" test ! -e "$work/count.ini"

finish settings
