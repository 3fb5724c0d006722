# shellcheck shell=bash
# Sourced by the test and run scripts: a private Wine prefix and a Japanese ANSI code page.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$root/build/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The Japanese locale lives in the build tree (see make_locale), so that Wine reads file names
# that are not ASCII as UTF-8, as on a Japanese developer's machine, and nothing else changes.
# LOCPATH hides the system's own locales, so it is set only once this one exists.
locale_dir="$root/build/locale"
[ ! -d "$locale_dir/ja_JP.UTF-8" ] || export LOCPATH="$locale_dir"
export LC_ALL=ja_JP.UTF-8
export TZ=JST-9 # the C runtime and Wine alike, whatever zone the caller runs in

# Starts a private X server and exports DISPLAY: on the display given (":63"), else on a free
# display number.
start_xvfb() {
  local n candidates
  if [ -n "${1:-}" ]; then candidates="${1#:}"; else candidates="$(seq 91 120)"; fi
  for n in $candidates; do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # XVFB_NORESET keeps what xrandr sets (its monitors) when its client goes.
    Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp ${XVFB_NORESET:+-noreset} >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

# The 32-bit Wine loader. Only a test of these scripts names another one (say, `false`), to see
# them behave as on a machine that cannot execute 32-bit programs.
wine32_loader="${KESTROVIN_WINE32_LOADER:-/usr/lib/wine/wine}"

# Whether this machine executes 32-bit Windows programs: one, built here for the purpose, runs
# under the 32-bit loader and says so. Uses the prefix, so call it once Wine is up (start_wine).
# A run that has decided it once (scripts/test) says so in KESTROVIN_RUNS_32BIT, yes or no, so
# that every 32-bit test follows the same answer.
can_run_32bit() {
  case "${KESTROVIN_RUNS_32BIT:-}" in
    yes) return 0 ;;
    no) return 1 ;;
  esac
  local probe="$root/build/probe32/probe.exe"
  if [ ! -s "$probe" ]; then
    mkdir -p "${probe%/*}"
    printf '#include <stdio.h>\nint main(void) { puts("32-bit"); return 0; }\n' >"$probe.$$.c"
    i686-w64-mingw32-gcc -o "$probe.$$" "$probe.$$.c" && mv "$probe.$$" "$probe"
    rm -f "$probe.$$.c" "$probe.$$"
  fi
  [ "$(timeout 60 "$wine32_loader" "$probe" 2>/dev/null | tr -d '\r')" = 32-bit ]
}

# Debian's `wine` (and through it wineboot, regedit and winepath) starts the 32-bit loader whenever
# wine32 is installed, and that loader starts the 64-bit one for 64-bit programs. On a machine that
# cannot execute 32-bit programs (a kernel without IA-32 emulation) nothing then starts at all, so
# there `wine` means the 64-bit loader: the 64-bit tiers run, the 32-bit ones report themselves
# skipped. Decided before any prefix exists, so by whether the loader itself starts.
use_wine64_only() {
  "$wine32_loader" --version >/dev/null 2>&1 && return 0
  [ -x /usr/lib/wine/wine64 ] || return 0
  local bin="$root/build/wine64-only" name
  mkdir -p "$bin"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
    chmod +x "$bin/$name"
  done
  case ":$PATH:" in *":$bin:"*) ;; *) export PATH="$bin:$PATH" ;; esac
  export WINELOADER=/usr/lib/wine/wine64
}

# The installed Wine packages, one line each. A prefix made by another Wine (say, before wine32
# came) may start no program at all ("could not load kernel32.dll"), so it is made anew.
wine_packages() {
  dpkg-query -W -f='${Package}:${Architecture} ${Version} ${Status}\n' 2>/dev/null |
    grep -E '^(lib)?wine[^ ]* .* installed$' | sort
}

# Without the glibc locale Wine still uses code page 932, but cannot start a program from a
# folder named with characters outside ASCII. Made once from the locales package's sources.
# hi_IN.UTF-8 serves the runs at code page 65001 (LANG=ja_JP.UTF-8 LC_CTYPE=hi_IN.UTF-8, no
# LC_ALL): a Japanese user on a system whose ANSI code page is UTF-8.
make_locale() {
  local name
  for name in ja_JP hi_IN; do
    [ ! -d "$locale_dir/$name.UTF-8" ] || continue
    mkdir -p "$locale_dir"
    rm -rf "$locale_dir/$name.UTF-8.tmp"
    if ! localedef -i "$name" -f UTF-8 "$locale_dir/$name.UTF-8.tmp"; then
      echo "winenv: could not make the $name.UTF-8 locale in $locale_dir" >&2
      continue
    fi
    mv "$locale_dir/$name.UTF-8.tmp" "$locale_dir/$name.UTF-8"
  done
  [ -d "$locale_dir/ja_JP.UTF-8" ] && export LOCPATH="$locale_dir"
  return 0
}

# One Wine server for the whole run; the prefix is created on first use.
start_wine() {
  make_locale
  local stamp="$WINEPREFIX.wine-packages"
  if [ -d "$WINEPREFIX" ] && [ "$(wine_packages)" != "$(cat "$stamp" 2>/dev/null)" ]; then
    echo "winenv: the installed Wine changed; making the prefix anew" >&2
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  wine_packages >"$stamp"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
  fi
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 || true
  set_font_replacements
}

# The two Japanese Gothic faces are not on Linux; without a rule Wine draws both with the fixed
# IPAGothic, and the proportional dialog font no longer fits the dialogs' labels. A .reg file in
# UTF-16 carries the Japanese face names past the command line's character conversion.
set_font_replacements() {
  local reg="$WINEPREFIX/kestrovin-fonts.reg"
  [ -f "$reg" ] && return 0
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n' |
    iconv -f UTF-8 -t UTF-16 >"$reg.tmp"
  wine regedit /S "$reg.tmp" >/dev/null 2>&1 && mv "$reg.tmp" "$reg"
}

use_wine64_only
# Before every other `wine`: each program under the loader of its own machine (scripts/bin/wine).
case ":$PATH:" in *":$root/scripts/bin:"*) ;; *) export PATH="$root/scripts/bin:$PATH" ;; esac

stop_services() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}
