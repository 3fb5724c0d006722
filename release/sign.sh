#!/usr/bin/env bash
# Signs Windows programs with Authenticode (SHA-256), each in place, with the PKCS#12 certificate
# in KESTROVIN_SIGN_PFX and its password in KESTROVIN_SIGN_PASSWORD (given to osslsigncode on
# standard input, never on a command line). scripts/package calls it for both builds, and
# makensis for the uninstaller and the installer. osslsigncode puts the clock's time into the
# signature as its signing time; SOURCE_DATE_EPOCH (the commit's time, which scripts/package
# exports) goes there instead, so that two signings of one file agree byte for byte. With
# KESTROVIN_SIGN_TIMESTAMP_URL (an RFC 3161 time-stamp server) the signature is also time-stamped,
# and no longer reproducible.
# Usage: sign.sh FILE...
set -euo pipefail
: "${KESTROVIN_SIGN_PFX:?sign.sh: KESTROVIN_SIGN_PFX names no certificate}"
: "${KESTROVIN_SIGN_PASSWORD?sign.sh: KESTROVIN_SIGN_PASSWORD is not set}"
options=()
[ -z "${SOURCE_DATE_EPOCH:-}" ] || options+=(-time "$SOURCE_DATE_EPOCH")
[ -z "${KESTROVIN_SIGN_TIMESTAMP_URL:-}" ] || options+=(-ts "$KESTROVIN_SIGN_TIMESTAMP_URL")
for file in "$@"; do
  printf '%s' "$KESTROVIN_SIGN_PASSWORD" |
    osslsigncode sign -pkcs12 "$KESTROVIN_SIGN_PFX" -readpass - -h sha256 -n Kestrovin \
      "${options[@]}" -in "$file" -out "$file.signed" >/dev/null || { rm -f "$file.signed"; exit 1; }
  mv "$file.signed" "$file"
done
