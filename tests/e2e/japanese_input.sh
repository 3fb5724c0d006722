#!/usr/bin/env bash
# Japanese texts in the settings dialog as a person sees and enters them, through the X server:
# the template's and the file's texts shown whole, a stored title and subject kept through OK, a
# failed save's message, typed with real key events, pasted from the clipboard, held to 60 bytes
# when every character takes two, and a character that code page 932 cannot hold. The file must
# hold exactly the code page 932 bytes of what the boxes show.
#   japanese_input.sh <Kestrovin.scr> <screenshot folder> <launch_host> [focused]
# "focused" runs the first three parts and typing only: the pass at the other ANSI code pages,
# whose run asks for its code page in KESTROVIN_EXPECT_ACP.
set -u
scr="$1"
shots="$2"
host="$3"
focused="${4:-}"
# shellcheck source=tests/e2e/dialog_lib.sh
. "$(dirname "$0")/dialog_lib.sh"

clip_pid=""
stop_clip() { [ -n "$clip_pid" ] && kill "$clip_pid" 2>/dev/null; wait "$clip_pid" 2>/dev/null; clip_pid=""; }
trap 'stop_clip; rm -rf "$work"' EXIT
message_box_up() { # the framework's message box carries the program's name as its caption
  wait_for 15 window_shown "Kestrovin"
}
message_box_gone() { # hiding a window can take Wine two seconds without a window manager
  wait_for 10 not window_shown "Kestrovin"
}
focus_back() { # the settings dialog holds the X input focus again
  local id
  id="$(window_named "$caption")" && wait_for 10 x_focus_on "$id"
}
clipboard_holds() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }
repeat() { local s="" i; for ((i = 0; i < $2; i++)); do s+="$1"; done; printf '%s' "$s"; }

if [ -n "${KESTROVIN_EXPECT_ACP:-}" ]; then
  check "the programs run at code page $KESTROVIN_EXPECT_ACP" test "$(wine "$host" --code-page)" = "$KESTROVIN_EXPECT_ACP"
fi

# Stored: the labels and buttons read back as the template holds them, the boxes as the file
# holds the title and subject, and OK writes the file back as it was.
printf '[SYSTEM]\r\nFROM_DATE=2026/12/01 09:00:00\r\nTO_DATE=2027/03/31 18:30:00\r\nTITLE=%s\r\nSUBJECT=%s\r\n' \
  "$(cp932 "○×ソフト株式会社 納期")" "$(cp932 "第一次開発終了まで")" >"$ini"
cp "$ini" "$work/before.ini"
check "stored: the dialog appears" start_settings "$work/Kestrovin.scr" /c
check "stored: every label and button shows the template's text" wine "$host" --template-texts "$work/Kestrovin.scr" 102
check "stored: the title box shows the stored title" test "$(wine "$host" --text-of $title_box)" = "○×ソフト株式会社 納期"
check "stored: the subject box shows the stored subject" test "$(wine "$host" --text-of $subject_box)" = "第一次開発終了まで"
xdotool key Return
check "stored: Enter ends it with code 0" ends_with_zero
check "stored: the title survives" has_line TITLE "○×ソフト株式会社 納期"
check "stored: the subject survives" has_line SUBJECT "第一次開発終了まで"
check "stored: the file is written back byte for byte" cmp -s "$ini" "$work/before.ini"

# A save that cannot be written (a folder stands where the file would) is reported in Japanese.
rm -f "$ini"
mkdir "$ini"
check "failed save: the dialog appears" start_settings "$work/Kestrovin.scr" /c
xdotool key Return
check "failed save: a message box appears and takes the keys" dialog_up "Kestrovin"
box="$(wine "$host" --text-of 65535)"
says_not_saved() { [[ "$box" == 設定を保存できませんでした。* ]] || { echo "  (the box says: $box)"; return 1; }; }
check "failed save: the box says so in Japanese" says_not_saved
xdotool key Return
check "failed save: the box closes and the program ends with code 0" ends_with_zero
rmdir "$ini"

# Typed: each character reaches the box whole and is saved as its two bytes.
rm -f "$ini"
check "typed: the dialog appears" start_settings "$work/Kestrovin.scr" /c
check "typed: the title box takes the focus" focus_box $title_box
check "typed: the title box shows each character whole" typed "納期テスト"
check "typed: the subject box takes the focus" focus_box $subject_box
check "typed: the subject box shows each character whole" typed "件名テスト"
xdotool key Return
check "typed: Enter ends it with code 0" ends_with_zero
check "typed: the title is saved in code page 932" has_line TITLE "納期テスト"
check "typed: the subject is saved in code page 932" has_line SUBJECT "件名テスト"
if [ "$focused" = focused ]; then
  finish "japanese at code page ${KESTROVIN_EXPECT_ACP:-?}"
  exit
fi

# Pasted from the X clipboard with Ctrl+V.
printf '%s' "貼付タイトル" | xclip -quiet -selection clipboard >/dev/null 2>&1 &
clip_pid=$!
check "pasted: the clipboard holds the text" wait_for 5 clipboard_holds "貼付タイトル"
check "pasted: the dialog appears" start_settings "$work/Kestrovin.scr" /c
# Given the focus, the box has all its text selected: the paste replaces it.
check "pasted: the title box takes the focus" focus_box $title_box
xdotool key ctrl+v
check "pasted: the title box shows the text" wait_for 5 box_is "貼付タイトル"
xdotool key Return
check "pasted: Enter ends it with code 0" ends_with_zero
check "pasted: the title is saved in code page 932" has_line TITLE "貼付タイトル"
check "pasted: the subject is kept" has_line SUBJECT "件名テスト"
stop_clip

# A title of 70 bytes, written into the file by hand, is shown whole, and OK refuses it with the
# framework's message and writes nothing. Typed over with thirty-one double-byte characters (62
# bytes), the box takes thirty: its limit counts code page 932 bytes, not characters. The thirty
# are saved whole.
printf '[SYSTEM]\r\nTITLE=%s\r\n' "$(cp932 "$(repeat 長 35)")" >"$ini"
cp "$ini" "$work/before.ini"
check "60 bytes: the dialog appears" start_settings "$work/Kestrovin.scr" /c
check "60 bytes: the title box takes the focus" focus_box $title_box
check "60 bytes: the stored 70 bytes are shown whole" wait_for 5 box_is "$(repeat 長 35)"
xdotool key Return
check "60 bytes: 70 bytes are refused with a message" message_box_up
import -window root "$shots/settings-too-long.png"
check "60 bytes: the dialog stays open" running
check "60 bytes: nothing is written" cmp -s "$ini" "$work/before.ini"
xdotool key Return
check "60 bytes: the message closes" message_box_gone
check "60 bytes: the dialog has the input focus again" focus_back
check "60 bytes: the refused box has the keys" has_focus $title_box
check "60 bytes: typed over, the box takes 30 of 31 characters" typed "$(repeat い 31)" "$(repeat い 30)"
xdotool key Return
check "60 bytes: Enter ends it with code 0" ends_with_zero
check "60 bytes: thirty double-byte characters are saved whole" has_line TITLE "$(repeat い 30)"

# Characters that code page 932 cannot hold crash nothing and touch no other text: the title
# holds the box's code page 932 form ('?' or the nearest letter in their place, or nothing where
# the box never took the character), the rest is intact.
check "emoji: the dialog appears" start_settings "$work/Kestrovin.scr" /c
check "emoji: the title box takes the focus" focus_box $title_box
# The box may not take the emoji; what it shows begins with A and ends with B.
check "emoji: the title box shows A to B" typed "Aé😀B" 'A*B'
check "emoji: the subject box takes the focus" focus_box $subject_box
check "emoji: the subject box shows its text" typed "件名"
xdotool key Return
check "emoji: Enter ends it with code 0" ends_with_zero
title="$(grep -a '^TITLE=' "$ini" | tr -d '\r')"
echo "  (saved: $(printf '%s' "$title" | od -An -tx1 | tr -s ' '))"
check "emoji: the title holds A and B around the code page 932 forms of é and the emoji" \
  grep -qxE $'TITLE=A[?e]\\?*B\r' "$ini"
check "emoji: the subject is saved whole" has_line SUBJECT "件名"
check "emoji: both dates are still dates" test "$(grep -cE $'^(FROM|TO)_DATE=[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\r$' "$ini")" = 2

# A folder named with characters outside code page 932, as a user's profile folder may be: the
# program saves its settings beside itself there, and a second start reads them back (had it
# not, its OK would write the default title).
odd="$work/odd-한글 Ŵörk"
mkdir -p "$odd"
cp "$scr" "$odd/Kestrovin.scr"
ini="$odd/Kestrovin.ini"
check "odd folder: Wine has the Japanese locale for its file names" test -d "${LOCPATH:-}/ja_JP.UTF-8"
check "odd folder: the dialog appears" start_settings "$odd/Kestrovin.scr" /c
typed "異郷の納期"
xdotool key Return
check "odd folder: Enter ends it with code 0" ends_with_zero
check "odd folder: the title is saved beside the program" has_line TITLE "異郷の納期"
check "odd folder: a second start shows the dialog" start_settings "$odd/Kestrovin.scr" /c
xdotool key Return
check "odd folder: Enter ends it with code 0 again" ends_with_zero
check "odd folder: the second start read the title back" has_line TITLE "異郷の納期"

finish japanese
