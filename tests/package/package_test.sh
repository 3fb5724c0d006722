#!/usr/bin/env bash
# The release as a Windows user gets it, checked under Wine on fresh prefixes: the zip's contents
# (guide with this version's changes, licence, third-party notices) and sums, the installer refusing a second copy of
# itself, the same first page at code pages 932 and 1252, installer and uninstaller refusing while
# the program runs, a silent install (files, the build for the system, registry values, savers
# turned on with the user's timeout kept or 10 minutes set, the guide beside the program, the
# Start menu's three shortcuts read from their bytes), the installed saver saving typed
# settings beside itself, also in a folder named in Japanese, Hangul and Cyrillic, installing
# again into another folder (the old copy goes, its settings move, one uninstall entry, an
# uninstaller left elsewhere keeps the entry), the last page opening the Screen Saver Settings
# only for the current saver, reinstalling and upgrading over an older copy without touching the
# settings or a saver chosen since, uninstalling that puts back the saver chosen
# before (also one only in the real System32), savers on or off and no timeout as they were, or
# (none), that knows the saver by any spelling of its path, keeps a screen saver of someone
# else's, a timeout the user has changed and, unless the user says otherwise, the settings; a
# release signed with a throwaway certificate, and the same with its key on a throwaway token;
# signing refused for half a key; and the x86 build on a 32-bit prefix. Screenshots of the
# installer's first page and of the uninstaller's question and last page go to build/package-test/.
# Every NSIS installer is a 32-bit program. On a machine that cannot execute one, the installer
# that runs is the same script made for amd64-unicode by scripts/package (KESTROVIN_NSIS_TARGET)
# into build/package-test/, from the programs of the shipped zip; the shipped installer is then
# checked only as a file, and the 32-bit prefix is skipped. KESTROVIN_TEST_AMD64_INSTALLER=1 takes
# that way on any machine.
# A hang fails instead of stalling: every Wine command has a time limit, and so has the whole run
# (KESTROVIN_PACKAGE_TEST_LIMIT seconds), which then ends with code 124.
# Usage: package_test.sh [dist folder]  (default: dist/, as scripts/package writes it)
set -u
if [ -z "${KESTROVIN_PACKAGE_TEST_LIMITED:-}" ]; then
  # Time enough for the cleanup after the limit: a Wine command still running ends within its own.
  limit="${KESTROVIN_PACKAGE_TEST_LIMIT:-2400}" code=0
  KESTROVIN_PACKAGE_TEST_LIMITED=1 timeout -k 300 "$limit" bash "$0" "$@" || code=$?
  [ "$code" != 124 ] || echo "package: stopped at the time limit of $limit seconds"
  exit "$code"
fi
trap 'exit 124' TERM # after the cleanup below
root="$(cd "$(dirname "$0")/../.." && pwd)"
dist="$(cd "${1:-$root/dist}" && pwd)"
version="$(head -n 1 "$root/VERSION")"
# The release gives the version as the program's About box does ("Ver 0.01"), not in VERSION's
# four parts, which stay in the version resources and key the changelog.
shown="$(sed -n 's/.*"Kestrovin  Ver \([0-9.]*\)".*/\1/p' "$root/res/kestrovin.rc" | head -n 1)"
zip="$dist/Kestrovin-$shown.zip"
setup="$dist/Kestrovin-$shown-setup.exe"
work="$root/build/package-test"
# shellcheck source=tests/checks.sh
. "$root/tests/checks.sh"

# shellcheck source=scripts/winenv.sh
. "$root/scripts/winenv.sh"
make_locale
rm -rf "$work"
mkdir -p "$work/zip"
cleanup() {
  WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
  WINEPREFIX="$work/prefix32" wineserver -k >/dev/null 2>&1
  # Two fresh prefixes are nearly 2 GB; the screenshots stay.
  rm -rf "$work/prefix" "$work/prefix32"
  stop_services
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || start_xvfb

# --- the package -----------------------------------------------------------------------------
pe_machine() { # pe_machine <file>: the PE header's machine type, as 0x...
  python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read()
o = struct.unpack_from("<I", d, 0x3C)[0]
print(hex(struct.unpack_from("<H", d, o + 4)[0]) if d[:2] == b"MZ" and d[o:o + 4] == b"PE\0\0" else "none")' "$1"
}
zip_names() { python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$1"; }
zip_times() { # every entry's time as seconds since 1970 (UTC), one per distinct value
  python3 -c 'import calendar, sys, zipfile
print(" ".join(sorted({str(calendar.timegm(i.date_time + (0, 0, 0))) for i in zipfile.ZipFile(sys.argv[1]).infolist()})))' "$1"
}
unzip_to() { python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$1" "$2"; }
unzip_to "$zip" "$work/zip"
guide="$work/zip/README.txt"
check "zip: the guide, the licence, the notices and both builds, in this order" \
  test "$(zip_names "$zip")" = "README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt x86/Kestrovin.scr x64/Kestrovin.scr"
check "licence: MIT, Kestrovin Project, 2026" grep -qxF "Copyright (c) 2026 Kestrovin Project" "$root/LICENSE"
check "zip: LICENSE.txt is LICENSE with CR LF line ends" cmp -s <(sed 's/$/\r/' "$root/LICENSE") "$work/zip/LICENSE.txt"
check "zip: THIRD-PARTY-NOTICES.txt is release's with CR LF line ends" \
  cmp -s <(sed 's/$/\r/' "$root/release/THIRD-PARTY-NOTICES.txt") "$work/zip/THIRD-PARTY-NOTICES.txt"
# Each statically linked library that leaves its source paths in a build has a notice that names
# that path.
has_notices() { # has_notices <program...>
  local lib
  for lib in $(strings -a "$@" | grep -oE 'mingw-w64-(libraries/[a-z]+|crt/gdtoa|crt)' | sort -u); do
    grep -qF "($lib" "$work/zip/THIRD-PARTY-NOTICES.txt" || { echo "  no notice for $lib"; return 1; }
  done
}
check "notices: for every library linked into either build" has_notices "$work"/zip/x*/Kestrovin.scr
check "zip: x86 build is i386 (0x14c)" test "$(pe_machine "$work/zip/x86/Kestrovin.scr")" = 0x14c
check "zip: x64 build is AMD64 (0x8664)" test "$(pe_machine "$work/zip/x64/Kestrovin.scr")" = 0x8664
check "zip: every entry carries the commit's time" \
  test "$(zip_times "$zip")" = "$(( $(git -C "$root" log -1 --format=%ct) / 2 * 2 ))"
check "installer: a 32-bit program (0x14c)" test "$(pe_machine "$setup")" = 0x14c
check "sums: name both files" test "$(awk '{ print $2 }' "$dist/SHA256SUMS" | sort | tr '\n' ' ')" \
  = "Kestrovin-$shown-setup.exe Kestrovin-$shown.zip "
check "sums: match the files" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"
# Notepad needs the byte-order mark to take the file for UTF-8 on every locale, and CR LF to break lines.
check "guide: UTF-8 with a byte-order mark" test "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = efbbbf
check "guide: every line ends in CR LF" test "$(grep -c $'\r$' "$guide")" = "$(wc -l <"$guide")"
check "guide: valid UTF-8" iconv -f UTF-8 -t UTF-8 "$guide" -o /dev/null
check "guide: names this version as the program does" grep -qF "Kestrovin $shown 使い方"$'\r' "$guide"
for topic in "ＭＳ Ｐゴシック" "Kestrovin-$shown-setup.exe" '%LOCALAPPDATA%\Programs\Kestrovin' \
  'x64\Kestrovin.scr' 'x86\Kestrovin.scr' "「インストール」" "Kestrovin.ini" "書き込みのできる" "アンインストール" \
  "ARM64" "その他のオプションを確認" "Get-FileHash" "certutil -hashfile" "VirtualStore" "LICENSE.txt" \
  "THIRD-PARTY-NOTICES.txt" "kst*.tmp"; do
  check "guide: tells of $topic" grep -qF "$topic" "$guide"
done
# The entry of this version in CHANGELOG.md, its lines without the list marks.
changes="$(awk -v v="## $version" '$1 " " $2 == v { on = 1; next } /^#/ { on = 0 } on && NF' "$root/CHANGELOG.md" |
  sed 's/^- //; s/^ *//')"
check "changelog: an entry for $version" test -n "$changes"
has_changes() { # the guide's 更新履歴 holds every line of the entry
  local line
  grep -qF "■ 更新履歴 ($shown)" "$guide" || return 1
  while IFS= read -r line; do grep -qF "$line" "$guide" || return 1; done <<<"$changes"
}
check "guide: this version's changelog entry under 更新履歴" has_changes

# --- the installer that runs ----------------------------------------------------------------
# Where no 32-bit program runs, the test installer is made here, with the same defines as the
# release; its zip, from the same programs, must be the shipped one, so that it installs those.
package_into() { # package_into <folder> [VAR=value...]: scripts/package with those set; log beside
  local out="$1"; shift
  env "$@" "$root/scripts/package" "$out" >"$out.log" 2>&1 || { tail -5 "$out.log"; return 1; }
}
amd64=KESTROVIN_NSIS_TARGET=amd64-unicode
installer="$setup"
amd64_installer() { [ -n "${KESTROVIN_TEST_AMD64_INSTALLER:-}" ] || ! can_run_32bit; }
if amd64_installer; then
  skip "the shipped installer under Wine: this machine cannot execute 32-bit programs (or" \
    "KESTROVIN_TEST_AMD64_INSTALLER is set); the checks below run a build of release/kestrovin.nsi" \
    "for amd64-unicode, made for this test in $work/amd64"
  check "test installer: scripts/package makes it for amd64-unicode" package_into "$work/amd64" "$amd64"
  installer="$work/amd64/Kestrovin-$shown-setup.exe"
  check "test installer: a 64-bit program (0x8664)" test "$(pe_machine "$installer")" = 0x8664
  check "test installer: built from the shipped programs (its zip is the shipped one)" \
    cmp -s "$work/amd64/Kestrovin-$shown.zip" "$zip"
fi

# --- Wine on a fresh prefix ------------------------------------------------------------------
# The Wine commands, here and in winenv.sh's functions, end within a limit. A program started in
# the background is given its own `timeout` below, so that killing it ends the program too.
wine() { timeout -k 10 120 wine "$@"; }
wineboot() { timeout -k 10 300 wineboot "$@"; }
winepath() { timeout -k 10 60 winepath "$@"; }
wineserver() { timeout -k 10 60 wineserver "$@"; }
export WINEPREFIX="$work/prefix"
wineboot -i >/dev/null 2>&1
set_font_replacements
# A silent installer can leave the server unable to show new windows: every install or uninstall
# ends by waiting until the server itself has ended, and the next program starts a new one.
settle() {
  timeout 60 wineserver -w >/dev/null 2>&1 || { echo "  (Wine did not end; killed)"; wineserver -k >/dev/null 2>&1; }
}
run_setup() { # run_setup <program> [args]: runs it, waits for everything it started; its exit code
  local code=0
  timeout 120 wine "$@" >/dev/null 2>&1 || code=$?
  settle
  return "$code"
}
regval() { # regval <key> <name>: the value's data, empty if absent
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^    $2    REG_[A-Z_]*    //p"
}
key_absent() { # reg reports a missing key with exit code 1 (and its message on standard output)
  local code=0
  wine reg query "$1" >/dev/null 2>&1 || code=$?
  [ "$code" = 1 ]
}
uninst_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrovin'
desktop_key='HKCU\Control Panel\Desktop'
# Once, on a fresh prefix, this answered nothing, and every check after it failed on a wrong
# folder: the question is asked again (saying so) until a drive path comes back.
local_appdata() { wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r'; }
drive_path() { [[ "$1" == [A-Za-z]:\\* ]]; }
for _ in 1 2 3; do
  appdata="$(local_appdata)"
  drive_path "$appdata" && break
  echo "  (Wine gave %LOCALAPPDATA% as '$appdata'; asking again)"
  settle
done
check "Wine: the fresh prefix has a local application data folder" drive_path "$appdata"
windir="$appdata\\Programs\\Kestrovin"
dir="$(winepath -u "$windir" 2>/dev/null)"
dir="${dir%/}"
scr="$dir/Kestrovin.scr"
ini="$dir/Kestrovin.ini"
echo "install folder: $windir"
menu="$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs\\Kestrovin" 2>/dev/null)"
menu="${menu%/}"
# A shortcut's target and arguments, read from its bytes (the shell link format: a header, an item
# list, the link information with the local path, then counted strings, arguments the fourth).
lnk() { # lnk <file.lnk>: prints "target|arguments"
  python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", d, 0x14)[0]
pos = 0x4C
if flags & 1:
    pos += 2 + struct.unpack_from("<H", d, pos)[0]
target = ""
if flags & 2:
    size, head, _, _, base, _, suffix = struct.unpack_from("<7I", d, pos)
    def text(at, wide):
        if wide:
            end = at
            while d[end:end + 2] != b"\0\0":
                end += 2
            return d[at:end].decode("utf-16-le")
        return d[at:d.index(b"\0", at)].decode("latin-1")
    if head >= 0x24:
        base, suffix = struct.unpack_from("<2I", d, pos + 28)
        target = text(pos + base, True) + text(pos + suffix, True)
    else:
        target = text(pos + base, False) + text(pos + suffix, False)
    pos += size
strings = []
for bit in (4, 8, 0x10, 0x20):
    if flags & bit:
        n = struct.unpack_from("<H", d, pos)[0]
        width = 2 if flags & 0x80 else 1
        strings.append((bit, d[pos + 2:pos + 2 + n * width].decode("utf-16-le" if width == 2 else "latin-1")))
        pos += 2 + n * width
# Wine leaves NULs in these texts; the shell would drop them anyway.
print((target + "|" + dict(strings).get(0x20, "")).replace("\0", ""))' "$1"
}
menu_guide="$menu/Kestrovin の使い方.lnk"
menu_settings="$menu/Kestrovin の設定.lnk"
menu_saver="$menu/Kestrovin をスクリーン セーバーにする.lnk"
has_menu() { # has_menu <install folder, as Windows names it>: the three shortcuts, pointing there
  local settings saver
  [ "$(lnk "$menu_guide")" = "$1\\README.txt|" ] || return 1
  settings="$(lnk "$menu_settings")"
  [ "${settings,,}" = "c:\\windows\\system32\\cmd.exe|/c \"\"${1,,}\\kestrovin.scr\" /c\"" ] || return 1
  saver="$(lnk "$menu_saver")"
  [ "${saver,,}" = "c:\\windows\\system32\\rundll32.exe|desk.cpl,installscreensaver ${1,,}\\kestrovin.scr" ]
}
no_menu() { [ ! -e "$menu" ]; }

# xdotool's name patterns do not match Japanese text here, so names are compared whole, as they
# are: a caption that ends in a blank is not the one asked for.
wait_window() { # wait_window <caption> [id to pass over]: waits for such a window, prints its id
  local id name
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --name 'Kestrovin' 2>/dev/null); do
      name="$(xdotool getwindowname "$id" 2>/dev/null)"
      [ "$id" != "${2:-}" ] && [ "$name" = "$1" ] && echo "$id" && return 0
    done
    sleep 0.1
  done
  return 1
}
window_gone() { # window_gone <id> [seconds, 30]: waits until no visible window has that id
  for _ in $(seq $((${2:-30} * 10))); do
    xdotool search --onlyvisible --name 'Kestrovin' 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  return 1
}
# Without a window manager no one moves the X input focus, and keys would go to the window under
# the pointer: the window is given the focus, and --sync waits until the server says it has it.
point_at() { # point_at <id>: the keys typed next go to this window
  timeout 10 xdotool windowfocus --sync "$1" 2>/dev/null
}
window_up() { # window_up <caption>: waits for the window and points at it
  local id
  id="$(wait_window "$1")" && point_at "$id"
}
size_of() { # size_of <id>: the window's width x height
  xdotool getwindowgeometry "$1" 2>/dev/null | sed -n 's/^ *Geometry: //p'
}
ends_within() { # ends_within <seconds> <pid>: whether it ends in time; its exit code goes to ended_code
  ended_code=""
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$2" 2>/dev/null || { ended_code=0; wait "$2" || ended_code=$?; return 0; }
    sleep 0.1
  done
  kill "$2" 2>/dev/null
  return 1
}

# The interactive installer's first page; a second installer meanwhile refuses and writes nothing.
timeout 120 wine "$installer" >/dev/null 2>&1 &
first=$!
wizard="$(wait_window "Kestrovin セットアップ")"
check "interactive: the first page appears" point_at "$wizard"
wizard_size="$(size_of "$wizard")"
import -window root "$work/installer-welcome.xwd" && convert "$work/installer-welcome.xwd" "$work/installer-welcome.png"
rm -f "$work/installer-welcome.xwd"
code=0
timeout 60 wine "$installer" /S >/dev/null 2>&1 || code=$?
check "second installer: refused with exit code 2 (got $code)" test "$code" = 2
check "second installer: installed nothing" test ! -e "$scr"
check "interactive: still running" kill -0 "$first"
xdotool key Escape
check "interactive: Cancel ends it" ends_within 30 "$first"
settle

# At code page 1252 (no Japanese locale) the first window is the same wizard: nothing comes before it.
LC_ALL=C.UTF-8 timeout 120 wine "$installer" >/dev/null 2>&1 &
pid=$!
first="$(wait_window "Kestrovin セットアップ")"
check "code page 1252: the first window is the wizard, as at 932" test -n "$first" -a "$(size_of "$first")" = "$wizard_size"
point_at "$first"
xdotool key Escape
check "code page 1252: the wizard cancels as usual" ends_within 30 "$pid"
settle

# Silent install on the 64-bit prefix, at code page 1252: it goes on without asking. Another
# saver was chosen, then savers were turned off, and the user had set a timeout. That saver is
# only in the real (64-bit) System32, which a 32-bit program sees only with redirection off.
prev='C:\windows\system32\previous.scr'
: >"$WINEPREFIX/drive_c/windows/system32/previous.scr"
rm -f "$WINEPREFIX/drive_c/windows/syswow64/previous.scr"
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$prev" /f >/dev/null 2>&1
wine reg add "$desktop_key" /v ScreenSaveActive /t REG_SZ /d 0 /f >/dev/null 2>&1
wine reg add "$desktop_key" /v ScreenSaveTimeOut /t REG_SZ /d 300 /f >/dev/null 2>&1
LC_ALL=C.UTF-8 run_setup "$installer" /S
check "install: exit code 0, at code page 1252 without asking" test $? = 0
check "install: the x64 build as Kestrovin.scr" cmp -s "$scr" "$work/zip/x64/Kestrovin.scr"
check "install: the uninstaller beside it" test -f "$dir/uninstall.exe"
check "install: the licence beside it" cmp -s "$dir/LICENSE.txt" "$work/zip/LICENSE.txt"
check "install: the third-party notices beside it" cmp -s "$dir/THIRD-PARTY-NOTICES.txt" "$work/zip/THIRD-PARTY-NOTICES.txt"
check "install: the guide beside it, as in the zip" cmp -s "$dir/README.txt" "$work/zip/README.txt"
check "install: no settings file of its own" test ! -e "$ini"
check "install: the Start menu's Kestrovin folder: the guide, the settings, the Install command" has_menu "$windir"
check "registry: SCRNSAVE.EXE names the saver" test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$windir\\Kestrovin.scr"
check "registry: savers turned on" test "$(regval "$desktop_key" ScreenSaveActive)" = 1
check "registry: the user's timeout kept" test "$(regval "$desktop_key" ScreenSaveTimeOut)" = 300
check "registry: the saver chosen before remembered" test "$(regval "$uninst_key" PreviousScreenSaver)" = "$prev"
check "registry: DisplayName" test "$(regval "$uninst_key" DisplayName)" = Kestrovin
check "registry: DisplayVersion as the program gives it" test "$(regval "$uninst_key" DisplayVersion)" = "$shown"
check "registry: Publisher" test "$(regval "$uninst_key" Publisher)" = "Kestrovin Project"
check "registry: UninstallString" test "$(regval "$uninst_key" UninstallString)" = "\"$windir\\uninstall.exe\""
check "registry: DisplayIcon" test "$(regval "$uninst_key" DisplayIcon)" = "$windir\\Kestrovin.scr,0"
size_kb=$(( $(regval "$uninst_key" EstimatedSize) ))
real_kb=$(( $(du -k --apparent-size -c "$scr" "$dir/uninstall.exe" "$dir/README.txt" "$dir/LICENSE.txt" "$dir/THIRD-PARTY-NOTICES.txt" |
  tail -1 | cut -f1) ))
check "registry: EstimatedSize $size_kb KB for $real_kb KB of files" test $((size_kb - real_kb)) -ge -2 -a $((size_kb - real_kb)) -le 2
settle

# The installed saver's settings dialog takes a typed title; Enter saves it beside the program.
saves_typed_title() { # saves_typed_title <what> <install folder, as Windows names it> <title>
  timeout 120 wine "$2\\Kestrovin.scr" /c >/dev/null 2>&1 &
  local pid=$! file
  file="$(winepath -u "$2\\Kestrovin.ini" 2>/dev/null)"
  check "$1: the settings dialog of the program there appears" window_up "Kestrovinの設定"
  xdotool type --delay 40 "$3"
  xdotool key Return
  check "$1: Enter ends it" ends_within 15 "$pid"
  check "$1: Kestrovin.ini saved beside the program" grep -qxF "TITLE=$3"$'\r' "$file"
}
saves_typed_title settings "$windir" "Installed 1"
cp "$ini" "$work/saved.ini"
settle

# While the program runs, the installer and the uninstaller refuse and change nothing. With _?=
# the uninstaller runs in place and its exit code is its own.
timeout 120 wine "$windir\\Kestrovin.scr" /c >/dev/null 2>&1 &
pid=$!
check "running: the settings dialog is open" window_up "Kestrovinの設定"
code=0
timeout 60 wine "$installer" /S >/dev/null 2>&1 || code=$?
check "running: the installer refuses with exit code 2 (got $code)" test "$code" = 2
code=0
timeout 60 wine "$dir/uninstall.exe" /S "_?=$windir" >/dev/null 2>&1 || code=$?
check "running: the uninstaller refuses with exit code 2 (got $code)" test "$code" = 2
check "running: the program and the uninstaller stay" test -f "$scr" -a -f "$dir/uninstall.exe"
check "running: the uninstall entry stays" test "$(regval "$uninst_key" DisplayName)" = Kestrovin
xdotool key Escape
check "running: Escape still ends the dialog" ends_within 15 "$pid"
check "running: the settings file byte for byte" cmp -s "$ini" "$work/saved.ini"
settle

run_setup "$installer" /S
check "reinstall: exit code 0" test $? = 0
check "reinstall: the settings file byte for byte" cmp -s "$ini" "$work/saved.ini"
check "reinstall: the program still there" cmp -s "$scr" "$work/zip/x64/Kestrovin.scr"
check "reinstall: the saver chosen before still remembered, not this one" \
  test "$(regval "$uninst_key" PreviousScreenSaver)" = "$prev"

# Kestrovin is still the chosen saver: the uninstaller puts back the one chosen before, and savers
# off as they were before the first install (the reinstall found them on).
run_setup "$dir/uninstall.exe" /S
check "uninstall: exit code 0" test $? = 0
check "uninstall: the saver chosen before is back, from the real System32" \
  test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$prev"
check "uninstall: savers off again, as before the first install" test "$(regval "$desktop_key" ScreenSaveActive)" = 0
check "uninstall: the user's timeout stays" test "$(regval "$desktop_key" ScreenSaveTimeOut)" = 300
run_setup "$installer" /S

# Someone else's screen saver is chosen: the uninstaller leaves it, and keeps the settings.
other='C:\windows\system32\other.scr'
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null 2>&1
run_setup "$dir/uninstall.exe" /S
check "uninstall: exit code 0" test $? = 0
check "uninstall: the program is gone" test ! -e "$scr"
check "uninstall: the uninstaller is gone" test ! -e "$dir/uninstall.exe"
check "uninstall: the uninstall entry is gone" key_absent "$uninst_key"
check "uninstall: the guide is gone" test ! -e "$dir/README.txt"
check "uninstall: the Start menu's Kestrovin folder is gone" no_menu
check "uninstall: the other saver stays chosen" test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$other"
check "uninstall: savers stay on" test "$(regval "$desktop_key" ScreenSaveActive)" = 1
check "uninstall: the settings file byte for byte" cmp -s "$ini" "$work/saved.ini"

# An older program and its settings in the folder: upgraded in place, settings kept. The user
# has set no timeout: ten minutes.
cp "$work/zip/x86/Kestrovin.scr" "$scr"
wine reg delete "$desktop_key" /v ScreenSaveTimeOut /f >/dev/null 2>&1
run_setup "$installer" /S
check "upgrade: exit code 0" test $? = 0
check "upgrade: the program replaced by this build" cmp -s "$scr" "$work/zip/x64/Kestrovin.scr"
check "upgrade: the settings file byte for byte" cmp -s "$ini" "$work/saved.ini"
check "upgrade: no timeout set, so 600 seconds" test "$(regval "$desktop_key" ScreenSaveTimeOut)" = 600

# The value names this saver, in another case, and the saver chosen before (the other one) has no
# file: the uninstaller removes the value and turns savers off, as (なし) does.
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "${windir^^}\\KESTROVIN.SCR" /f >/dev/null 2>&1
run_setup "$dir/uninstall.exe" /S
check "uninstall: SCRNSAVE.EXE naming this saver is removed" test -z "$(regval "$desktop_key" SCRNSAVE.EXE)"
check "uninstall: savers turned off" test "$(regval "$desktop_key" ScreenSaveActive)" = 0
check "uninstall: no timeout before the install, none after" test -z "$(regval "$desktop_key" ScreenSaveTimeOut)"
check "uninstall: only the settings file is left" test "$(ls -A "$dir")" = Kestrovin.ini

# An interactive uninstall asks about the settings over its progress page, with the same caption.
# The uninstaller runs from a copy in %TEMP%, so it is followed by its window, not its process.
interactive_uninstall() { # interactive_uninstall <key that answers the question>
  local wizard box caption="Kestrovin アンインストール"
  timeout 120 wine "$dir/uninstall.exe" >/dev/null 2>&1 &
  wizard="$(wait_window "$caption")" || return 1
  point_at "$wizard" || return 1
  xdotool key Return # the confirmation page's アンインストール
  box="$(wait_window "$caption" "$wizard")" || return 1
  point_at "$box" || return 1
  import -window root "$work/uninstall-question.png"
  xdotool key "$1"
  window_gone "$box" || return 1
  # The uninstall entry goes last; 閉じる is enabled just after, and Enter is sent until it closes.
  for _ in $(seq 30); do key_absent "$uninst_key" && break; sleep 0.5; done
  # The last page (what was kept, what the saver now is) is the last one seen before it closes.
  for _ in $(seq 30); do
    point_at "$wizard" && import -window "$wizard" "$work/uninstall-last-page-$1.png" 2>/dev/null
    point_at "$wizard" && xdotool key Return
    window_gone "$wizard" 1 && break
  done
  settle
  ! xdotool search --onlyvisible --name Kestrovin >/dev/null 2>&1
}
# The value names this saver part long, part short, as Windows may write it; the installer set the
# timeout, and the user has changed it since.
short_name() { # short_name <name>: the 8.3 name Windows gives that file of the install folder
  (cd "$dir" && wine cmd /c dir /x 2>/dev/null) | tr -d '\r' | awk -v n="$1" '$NF == n && $(NF - 1) ~ /~/ { print $(NF - 1) }'
}
run_setup "$installer" /S
short="$(short_name Kestrovin.scr)"
check "install: Kestrovin.scr has a short name ($short)" test -n "$short"
part_short="$windir\\$short"
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$part_short" /f >/dev/null 2>&1
wine reg add "$desktop_key" /v ScreenSaveTimeOut /t REG_SZ /d 900 /f >/dev/null 2>&1
check "interactive uninstall: asks about the settings; Enter answers" interactive_uninstall Return
check "interactive uninstall: the program is gone" test ! -e "$scr"
check "interactive uninstall: SCRNSAVE.EXE in a part-short spelling is removed" \
  test -z "$(regval "$desktop_key" SCRNSAVE.EXE)"
check "interactive uninstall: the timeout the user changed stays" test "$(regval "$desktop_key" ScreenSaveTimeOut)" = 900
check "interactive uninstall: Enter (いいえ) keeps the settings file" cmp -s "$ini" "$work/saved.ini"
run_setup "$installer" /S
: >"$dir/kst3F2A.tmp" # what a save cut off by a crash leaves
check "interactive uninstall: asks again; Y answers" interactive_uninstall y
check "interactive uninstall: はい deletes the settings and a cut-off save's file; the empty folder goes" \
  test ! -e "$dir"

# A folder named in Japanese, Hangul and Cyrillic, with blanks: /D= takes the rest of the command
# line as it stands, unquoted, as a user types it (wine would quote one argument with blanks, so the
# name goes as words). The program installed there saves its settings in that folder. Before it,
# the user had chosen a saver of their own and set no timeout.
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$prev" /f >/dev/null 2>&1
wine reg add "$desktop_key" /v ScreenSaveActive /t REG_SZ /d 1 /f >/dev/null 2>&1
wine reg delete "$desktop_key" /v ScreenSaveTimeOut /f >/dev/null 2>&1
named_windir="${windir%\\*}\\期限 카운트 Счёт"
named_dir="$(winepath -u "$named_windir" 2>/dev/null)"
named_dir="${named_dir%/}"
read -ra words <<<"/D=$named_windir"
run_setup "$installer" /S "${words[@]}"
check "named folder: installs there (exit code 0)" test $? = 0
check "named folder: the program is there" cmp -s "$named_dir/Kestrovin.scr" "$work/zip/x64/Kestrovin.scr"
saves_typed_title "named folder" "$named_windir" "Named 2"
cp "$named_dir/Kestrovin.ini" "$work/named.ini"
settle

# Installed again, into another folder: the copy in the first one goes, its settings come along,
# the saver moves with it, and what the first install remembered of the user's saver stays.
uninstall_entries() { # how many uninstall entries are Kestrovin's
  wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
    grep -c '^    DisplayName    REG_SZ    Kestrovin$'
}
read -ra words <<<"/D=$windir"
run_setup "$installer" /S "${words[@]}"
check "another folder: installs there (exit code 0)" test $? = 0
check "another folder: the first copy is gone, and its folder with it" test ! -e "$named_dir"
check "another folder: the settings moved along, byte for byte" cmp -s "$ini" "$work/named.ini"
check "another folder: the saver in its new place stays the current one" \
  test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$windir\\Kestrovin.scr"
check "another folder: the saver the user had before the first install still remembered" \
  test "$(regval "$uninst_key" PreviousScreenSaver)" = "$prev"
check "another folder: one uninstall entry, naming the new folder" \
  test "$(uninstall_entries)" = 1 -a "$(regval "$uninst_key" InstallLocation)" = "$windir"
check "another folder: the Start menu points there" has_menu "$windir"

# An uninstaller left in another folder (as older versions left one behind) takes its own files
# only: the entry, the menu and the saver belong to the copy the entry names.
stray_windir='C:\Kestrovin-old'
stray="$WINEPREFIX/drive_c/Kestrovin-old"
mkdir -p "$stray"
cp "$dir/uninstall.exe" "$stray/uninstall.exe"
: >"$stray/Kestrovin.scr"
run_setup "$stray/uninstall.exe" /S "_?=$stray_windir"
check "stray uninstaller: removes its own program" test ! -e "$stray/Kestrovin.scr"
check "stray uninstaller: leaves the entry of the copy elsewhere" \
  test "$(regval "$uninst_key" InstallLocation)" = "$windir"
check "stray uninstaller: leaves that copy's Start menu" has_menu "$windir"
rm -rf "$stray"

run_setup "$dir/uninstall.exe" /S
check "another folder, uninstalled: the user's own saver is back, not the first copy" \
  test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$prev"
check "another folder, uninstalled: the entry is gone" test "$(uninstall_entries)" = 0
check "another folder, uninstalled: the 10 minutes the first install set are gone" \
  test -z "$(regval "$desktop_key" ScreenSaveTimeOut)"
check "another folder, uninstalled: only the settings file is left" test "$(ls -A "$dir")" = Kestrovin.ini

# Installed again after the user chose another saver, or (なし): that choice stays, under /S as in
# the wizard, whose box starts unticked (below). The 10 minutes set by the first install stay too
# when it is uninstalled: the saver chosen since now runs after them.
run_setup "$installer" /S
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$other" /f >/dev/null 2>&1
run_setup "$installer" /S
check "upgrade after another saver was chosen: it stays chosen" test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$other"
check "upgrade after another saver was chosen: the saver before the first install still remembered" \
  test "$(regval "$uninst_key" PreviousScreenSaver)" = "$prev"
run_setup "$dir/uninstall.exe" /S
check "uninstall after another saver was chosen: the 10 minutes stay" \
  test "$(regval "$desktop_key" ScreenSaveTimeOut)" = 600
run_setup "$installer" /S
wine reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1
run_setup "$installer" /S
check "upgrade after (なし) was chosen: no saver still" test -z "$(regval "$desktop_key" SCRNSAVE.EXE)"
run_setup "$dir/uninstall.exe" /S

# Through the wizard: its last page offers to open the Screen Saver Settings, ticked, only when
# Kestrovin became the current saver (otherwise it is not in that list). What 完了 starts shows in
# Wine's trace of the installer's process creation.
look() { import -window "$1" rgb:- 2>/dev/null | md5sum; }
press() { # press <id> <keys...>: once the window's look holds still, sends the keys; waits until it changes
  local id="$1" before now; shift
  before="$(look "$id")"
  for _ in $(seq 50); do
    sleep 0.1
    now="$(look "$id")"
    [ "$now" = "$before" ] && break
    before="$now"
  done
  point_at "$id" && xdotool key "$@" || return 1
  for _ in $(seq 100); do
    [ "$(look "$id")" != "$before" ] && return 0
    sleep 0.1
  done
  return 1
}
wizard_install() { # wizard_install [keys on the components page...]: installs, Enter on every page
  local id
  WINEDEBUG=+process timeout 120 wine "$installer" >/dev/null 2>"$work/wizard.trace" &
  pid=$!
  id="$(wait_window "Kestrovin セットアップ")" && press "$id" Return || return 1 # welcome
  [ $# = 0 ] || press "$id" "$@" || return 1
  press "$id" Return && press "$id" Return || return 1 # components, folder: install
  # Enter does nothing while the files go in (次へ is disabled), and is 完了 on the last page.
  for _ in $(seq 120); do
    kill -0 "$pid" 2>/dev/null || break
    point_at "$id" && xdotool key Return
    sleep 0.5
  done
  ends_within 5 "$pid" && settle && [ "$ended_code" = 0 ]
}
opened_settings() { grep -q 'CreateProcessInternalW .*control\.exe.* desk\.cpl' "$work/wizard.trace"; }
opened_nothing() { ! opened_settings; }
saver_before="$(regval "$desktop_key" SCRNSAVE.EXE)"
check "wizard, current saver unticked by hand: installs (exit code 0)" wizard_install Down space
check "wizard, current saver unticked by hand: SCRNSAVE.EXE as it was" test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$saver_before"
check "wizard, current saver unticked by hand: the last page offers no settings; 完了 opens none" opened_nothing
# Installed, and Kestrovin is not the current saver: the box starts unticked, so that Enter alone
# keeps the user's choice, and ticking it still makes Kestrovin the saver.
check "wizard, another saver current: installs (exit code 0)" wizard_install
check "wizard, another saver current: the box started unticked; SCRNSAVE.EXE as it was" \
  test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$saver_before"
check "wizard, another saver current, box ticked by hand: installs (exit code 0)" wizard_install Down space
check "wizard, box ticked by hand: Kestrovin is the current saver" \
  test "$(regval "$desktop_key" SCRNSAVE.EXE)" = "$windir\\Kestrovin.scr"
check "wizard, box ticked by hand: 完了 opens the Screen Saver Settings" opened_settings

# --- a release signed with a throwaway certificate ------------------------------------------------
# Its PKCS#12 file has an empty password. A throwaway token holds the same key and certificate
# behind a PIN, so the release signed from the token must be this one, byte for byte.
signed="$work/signed"
openssl req -x509 -newkey rsa:2048 -nodes -subj /CN=Kestrovin-Test -days 2 \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.pfx" -passout pass:
sign_with=(KESTROVIN_SIGN_PFX="$work/cert.pfx" KESTROVIN_SIGN_PASSWORD=)
verifies() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >/dev/null 2>&1; }
check "signed: scripts/package signs with the certificate" package_into "$signed" "${sign_with[@]}"
unzip_to "$signed/Kestrovin-$shown.zip" "$work/signed-zip"
check "signed: the installer verifies" verifies "$signed/Kestrovin-$shown-setup.exe"
check "signed: the x86 program in the zip verifies" verifies "$work/signed-zip/x86/Kestrovin.scr"
check "signed: the x64 program in the zip verifies" verifies "$work/signed-zip/x64/Kestrovin.scr"
check "signed: the sums are the signed files'" bash -c "cd '$signed' && sha256sum --quiet -c SHA256SUMS"
unsigned() { ! verifies "$1"; }
check "signed: the build's own program stays unsigned" unsigned "$root/build/win64/Kestrovin.scr"
signed_installer="$signed/Kestrovin-$shown-setup.exe"
if amd64_installer; then
  check "signed: scripts/package signs a test installer too" package_into "$work/signed-amd64" "${sign_with[@]}" "$amd64"
  signed_installer="$work/signed-amd64/Kestrovin-$shown-setup.exe"
fi
run_setup "$signed_installer" /S
check "signed: installs (exit code 0)" test $? = 0
check "signed: the installed uninstaller verifies" verifies "$dir/uninstall.exe"

export SOFTHSM2_CONF="$work/softhsm2.conf"
module=/usr/lib/softhsm/libsofthsm2.so
uri='pkcs11:token=Kestrovin-Test;object=signing'
make_token() {
  mkdir -p "$work/tokens" &&
    printf 'directories.tokendir = %s\nobjectstore.backend = file\n' "$work/tokens" >"$SOFTHSM2_CONF" &&
    openssl pkcs8 -topk8 -nocrypt -in "$work/key.pem" -out "$work/key8.pem" &&
    openssl x509 -in "$work/cert.pem" -outform der -out "$work/cert.der" &&
    softhsm2-util --init-token --free --label Kestrovin-Test --pin 2468 --so-pin 1357 &&
    softhsm2-util --import "$work/key8.pem" --token Kestrovin-Test --label signing --id 01 --pin 2468 &&
    pkcs11-tool --module "$module" --token-label Kestrovin-Test --login --pin 2468 \
      --write-object "$work/cert.der" --type cert --id 01 --label signing
} >/dev/null 2>&1
same_as_signed() { # same_as_signed <folder>: its zip and installer are those signed from the file
  cmp -s "$1/Kestrovin-$shown.zip" "$signed/Kestrovin-$shown.zip" &&
    cmp -s "$1/Kestrovin-$shown-setup.exe" "$signed/Kestrovin-$shown-setup.exe"
}
check "token: a throwaway token with the key and the certificate" make_token
token_with=(KESTROVIN_SIGN_PKCS11_MODULE="$module" KESTROVIN_SIGN_KEY="$uri;type=private" KESTROVIN_SIGN_PASSWORD=2468)
n=0
for cert in "$uri;type=cert" "$work/cert.pem"; do
  n=$((n + 1))
  check "token: scripts/package signs with the key on it and the certificate $cert" \
    package_into "$work/token$n" "${token_with[@]}" KESTROVIN_SIGN_PKCS11_CERT="$cert"
  check "token: that release is the one signed from the file, byte for byte" same_as_signed "$work/token$n"
done

# Half a key, or two, is refused before anything is built.
refused() { # refused <VAR=value...>: scripts/package ends with code 2, says why and makes nothing
  local code=0
  env "$@" "$root/scripts/package" "$work/refused" >"$work/refused.log" 2>&1 || code=$?
  [ "$code" = 2 ] && grep -q "^package: to sign" "$work/refused.log" && [ ! -e "$work/refused" ]
}
check "refused: a PKCS#12 file without a password" refused KESTROVIN_SIGN_PFX="$work/cert.pfx"
check "refused: a password without a key" refused KESTROVIN_SIGN_PASSWORD=2468
check "refused: an empty password without a key" refused KESTROVIN_SIGN_PASSWORD=
check "refused: a PKCS#12 file and a key on a token" \
  refused KESTROVIN_SIGN_PFX="$work/cert.pfx" "${token_with[@]}" KESTROVIN_SIGN_PKCS11_CERT="$uri;type=cert"
check "refused: a token without its certificate" refused "${token_with[@]}"
check "refused: a token's key that is a file, not a pkcs11: URI" refused "${token_with[@]}" \
  KESTROVIN_SIGN_PKCS11_CERT="$work/cert.pem" KESTROVIN_SIGN_KEY="$work/key.pem"

# A 32-bit Windows gets the x86 build.
if can_run_32bit; then
  export WINEPREFIX="$work/prefix32" WINEARCH=win32
  wineboot -i >/dev/null 2>&1
  run_setup "$setup" /S
  check "32-bit: exit code 0" test $? = 0
  dir32="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Programs\\Kestrovin" 2>/dev/null)"
  check "32-bit: the x86 build as Kestrovin.scr" cmp -s "${dir32%/}/Kestrovin.scr" "$work/zip/x86/Kestrovin.scr"
  settle
else
  skip "32-bit: the x86 build installed on a 32-bit prefix (WINEARCH=win32): this machine cannot" \
    "execute 32-bit programs"
fi

finish package
