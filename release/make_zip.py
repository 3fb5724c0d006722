#!/usr/bin/env python3
"""Writes the release zip: the user guide and both builds, the same bytes for the same commit.

Usage: make_zip.py OUT.zip VERSION EPOCH GUIDE X86_SCR X64_SCR
EPOCH (the commit's time) is every entry's time, entries keep one fixed order, and nothing of
the machine (owner, permissions, build paths) goes in. The guide is kept as UTF-8 with line
feeds; in the zip it is UTF-8 with a byte-order mark and CR LF line ends, which Notepad shows
correctly on every Windows, whatever its system locale."""
import sys
import time
import zipfile


def guide_bytes(path, version):
    text = open(path, encoding="utf-8").read().replace("@VERSION@", version)
    return b"\xef\xbb\xbf" + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def main():
    out, version, epoch, guide, x86, x64 = sys.argv[1:7]
    # Zip times have no zone and a two-second step; UTC makes them independent of the machine.
    stamp = time.gmtime(int(epoch))[:6]
    entries = [
        ("README.txt", guide_bytes(guide, version)),
        ("x86/Kestrovin.scr", open(x86, "rb").read()),
        ("x64/Kestrovin.scr", open(x64, "rb").read()),
    ]
    with zipfile.ZipFile(out, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20  # the archive attribute, as Windows writes it
            archive.writestr(info, data, compresslevel=9)


if __name__ == "__main__":
    main()
