#!/usr/bin/env bash
# Signs Windows programs with Authenticode (SHA-256), each in place, with one of two keys:
# - a PKCS#12 file: KESTROVIN_SIGN_PFX, its password in KESTROVIN_SIGN_PASSWORD;
# - a key on a hardware token or HSM: KESTROVIN_SIGN_PKCS11_MODULE (the token's PKCS#11 library),
#   KESTROVIN_SIGN_PKCS11_CERT (the certificate: a file, or a pkcs11: URI), KESTROVIN_SIGN_KEY
#   (the key's pkcs11: URI), the PIN in KESTROVIN_SIGN_PASSWORD.
# The password or PIN reaches osslsigncode on standard input, never on a command line; it reads
# a line there, which may be empty. scripts/package checks the variables and calls this for both
# builds, and makensis for the uninstaller and the installer. osslsigncode puts the clock's time
# into the signature as its signing time; SOURCE_DATE_EPOCH (the commit's time, which
# scripts/package exports) goes there instead, so that two signings of one file agree byte for
# byte. With KESTROVIN_SIGN_TIMESTAMP_URL (an RFC 3161 time-stamp server) the signature is also
# time-stamped, and no longer reproducible.
# Usage: sign.sh FILE...
set -euo pipefail
: "${KESTROVIN_SIGN_PASSWORD?sign.sh: KESTROVIN_SIGN_PASSWORD is not set}"
if [ -n "${KESTROVIN_SIGN_PFX:-}" ]; then
  key=(-pkcs12 "$KESTROVIN_SIGN_PFX")
else
  : "${KESTROVIN_SIGN_PKCS11_MODULE:?sign.sh: neither KESTROVIN_SIGN_PFX nor KESTROVIN_SIGN_PKCS11_MODULE is set}"
  : "${KESTROVIN_SIGN_PKCS11_CERT:?sign.sh: KESTROVIN_SIGN_PKCS11_CERT names no certificate}"
  : "${KESTROVIN_SIGN_KEY:?sign.sh: KESTROVIN_SIGN_KEY names no key}"
  key=(-pkcs11module "$KESTROVIN_SIGN_PKCS11_MODULE" -key "$KESTROVIN_SIGN_KEY")
  # With a module, -pkcs11cert takes only a URI; a certificate file goes in as -certs.
  case "$KESTROVIN_SIGN_PKCS11_CERT" in
    pkcs11:*) key+=(-pkcs11cert "$KESTROVIN_SIGN_PKCS11_CERT") ;;
    *) key+=(-certs "$KESTROVIN_SIGN_PKCS11_CERT") ;;
  esac
fi
options=()
[ -z "${SOURCE_DATE_EPOCH:-}" ] || options+=(-time "$SOURCE_DATE_EPOCH")
[ -z "${KESTROVIN_SIGN_TIMESTAMP_URL:-}" ] || options+=(-ts "$KESTROVIN_SIGN_TIMESTAMP_URL")
for file in "$@"; do
  # A file, not "-" (osslsigncode 2.9 only); an empty file fails, an empty line is an empty password.
  printf '%s\n' "$KESTROVIN_SIGN_PASSWORD" |
    osslsigncode sign "${key[@]}" -readpass /dev/stdin -h sha256 -n Kestrovin \
      "${options[@]}" -in "$file" -out "$file.signed" >/dev/null || { rm -f "$file.signed"; exit 1; }
  mv "$file.signed" "$file"
done
