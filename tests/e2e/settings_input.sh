#!/usr/bin/env bash
# Settings mode used as a person would, through the X server: with no argument and with /c the
# settings dialog appears; typed texts and Enter are saved beside the program in code page 932
# in key order, and the next /s shows them; Escape leaves the file as it was; a second start
# while the dialog is open ends at once. Screenshots of both dialogs go to the build folder.
set -u
scr="$1"
shots="${2:-.}"
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
xdotool type --delay 40 "Release 2.0"
xdotool key Tab
xdotool type --delay 40 "Final review"
sleep 0.5
xdotool key Return
check "typing: Enter ends it with code 0" ends_with_zero
check "typing: the settings file exists beside the program" test -f "$ini"
keys="$(grep -o '^[A-Z_]*=' "$ini" 2>/dev/null | tr '\n' ' ')"
check "typing: the keys stand in order ($keys)" test "$keys" = "FROM_DATE= TO_DATE= TITLE= SUBJECT= "
check "typing: the title is what was typed" grep -qxF $'TITLE=Release 2.0\r' "$ini"
check "typing: the subject is what was typed" grep -qxF $'SUBJECT=Final review\r' "$ini"
check "typing: the dates are stored as dates" grep -Eq $'^FROM_DATE=[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\r$' "$ini"

# Japanese texts go into the file as code page 932 bytes.
printf '[SYSTEM]\r\nTITLE=%s\r\nSUBJECT=%s\r\n' "$(cp932 '納期まで')" "$(cp932 '第一次開発')" > "$ini"
check "Japanese: the dialog appears" start_settings "$work/Kestrovin.scr"
xdotool key Return
check "Japanese: Enter ends it with code 0" ends_with_zero
# Trail bytes of code page 932 can be regular-expression characters: match whole lines literally.
check "Japanese: the title is kept in code page 932" grep -qxF "TITLE=$(cp932 '納期まで')"$'\r' "$ini"
check "Japanese: the subject is kept in code page 932" grep -qxF "SUBJECT=$(cp932 '第一次開発')"$'\r' "$ini"

# The saver shows what was saved: the title's band holds green text.
printf '[SYSTEM]\r\nTITLE=Release 2.0\r\nSUBJECT=\r\n' > "$ini"
wine "$work/Kestrovin.scr" /s &
pid=$!
sleep 4
import -window root "$work/saver.png"
xdotool mousemove_relative 2 2
title_green="$(convert "$work/saver.png" -crop "${W}x$((H / 20))+0+$((4 * H / 20))" +repage -channel G -separate \
  -format '%[fx:maxima]' info: 2>/dev/null)"
subject_green="$(convert "$work/saver.png" -crop "${W}x$((H / 20))+0+$((6 * H / 20))" +repage -channel G -separate \
  -format '%[fx:maxima]' info: 2>/dev/null)"
check "saver: the saved title is drawn ($title_green)" test "$title_green" != "0"
check "saver: the empty subject's band is black ($subject_green)" test "$subject_green" = "0"
check "saver: ends with code 0" ends_with_zero

# Escape after editing leaves the file byte for byte as it was.
cp "$ini" "$work/before.ini"
check "Escape: the dialog appears" start_settings "$work/Kestrovin.scr" /c
xdotool type --delay 40 "not saved"
xdotool key Escape
check "Escape: ends with code 0" ends_with_zero
check "Escape: the file is untouched" cmp -s "$ini" "$work/before.ini"

# A second start while the dialog is open ends at once; the first stays, and the About dialog
# opens over it from the third button.
check "second start: the dialog appears" start_settings "$work/Kestrovin.scr"
first="$pid"
for switch in /c /s ""; do
  timeout 20 wine "$work/Kestrovin.scr" $switch
  check "second start '${switch:-no argument}' ends by itself" test $? -ne 124
done
check "second start: the first dialog is undisturbed" running
for _ in $(seq 8); do xdotool key Tab; sleep 0.1; done
xdotool key space
check "About: the version dialog opens" dialog_up "バージョン情報(Kestrovin)"
import -window root "$shots/about-dialog.png"
xdotool key Escape
sleep 3
check "About: closing it returns to the settings dialog" running
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

finish settings
