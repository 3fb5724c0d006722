#!/usr/bin/env bash
# Settings mode used as a person would, through the X server: with no argument and with /c the
# settings dialog appears; typed texts and Enter are saved beside the program in key order; a
# second start while the dialog is open ends at once; the About dialog opens over it and
# returns to it. Screenshots of both dialogs go to the build folder.
set -u
scr="$1"
shots="$2"
host="$3"
. "$(dirname "$0")/dialog_lib.sh"

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
keys="$(grep -o '^[A-Z_]*=' "$ini" 2>/dev/null | tr '\n' ' ')"
check "typing: the keys stand in order ($keys)" test "$keys" = "FROM_DATE= TO_DATE= TITLE= SUBJECT= "
check "typing: the title is what was typed" grep -qxF $'TITLE=Release 2.0\r' "$ini"
check "typing: the subject is what was typed" grep -qxF $'SUBJECT=Final review\r' "$ini"
check "typing: the dates are stored as dates" grep -Eq $'^FROM_DATE=[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\r$' "$ini"

# A second start while the dialog is open ends at once, as any start that shows nothing does,
# with code 0 (a crash would give another code); the first stays, and the About dialog opens
# over it from the third button and gives it back the keys when closed.
cp "$ini" "$work/before.ini"
check "second start: the dialog appears" start_settings "$work/Kestrovin.scr"
first="$pid"
for switch in /c /s ""; do
  timeout 20 wine "$work/Kestrovin.scr" $switch
  code=$?
  check "second start '${switch:-no argument}' ends by itself with code 0 (got $code)" test "$code" -eq 0
done
check "second start: the first dialog is undisturbed" running
check "About: its button takes the focus" focus_box $about_button
xdotool key space
check "About: the version dialog opens" dialog_up "バージョン情報(Kestrovin)"
import -window root "$shots/about-dialog.png"
xdotool key Escape
check "About: Escape closes it" wait_for 10 not window_shown "バージョン情報(Kestrovin)"
check "About: the settings dialog has the keys again, on the About button" has_focus $about_button
xdotool key Escape
pid="$first"
check "second start: the first dialog ends with code 0" ends_with_zero
check "second start: nothing was written" cmp -s "$ini" "$work/before.ini"

# The settings file of a program whose name has dots in it is its name with ".ini".
cp "$scr" "$work/count.down.scr"
check "dotted name: the dialog appears" start_settings "$work/count.down.scr" /c
xdotool key Return
check "dotted name: Enter ends it with code 0" ends_with_zero
check "dotted name: the settings go to count.down.ini" test -f "$work/count.down.ini"
check "dotted name: and not to count.ini" test ! -e "$work/count.ini"

finish settings
