#!/usr/bin/env python3
"""Writes the release zip: the user guide, the licence, the third-party notices and both builds,
the same bytes for the same commit.

Usage: make_zip.py OUT.zip VERSION SHOWN_VERSION EPOCH GUIDE CHANGELOG LICENSE NOTICES X86_SCR X64_SCR
    [GUIDE_OUT]
VERSION (four parts) finds the CHANGELOG.md entry; SHOWN_VERSION, as the program gives it, is
what the guide says. GUIDE_OUT, if given, receives the guide as it goes into the zip, for the
installer to install the same bytes. EPOCH (the commit's time) is every entry's time, entries keep one fixed order, and nothing of
the machine (owner, permissions, build paths) goes in. The guide is kept as UTF-8 with line
feeds; in the zip it is UTF-8 with a byte-order mark and CR LF line ends, which Notepad shows
correctly on every Windows, whatever its system locale. Its @VERSION@ becomes SHOWN_VERSION and
its @CHANGES@ the CHANGELOG.md entry of VERSION; a version without one stops the build. LICENSE and NOTICES go in as they are
given."""
import re
import sys
import time
import zipfile


def changelog_entry(path, version):
    """The lines under '## VERSION' up to the next heading, '- ' items as '・'."""
    lines = open(path, encoding="utf-8").read().splitlines()
    heading = re.compile(r"##\s+" + re.escape(version) + r"(\s|$)")
    start = next((i + 1 for i, line in enumerate(lines) if heading.match(line)), None)
    if start is None:
        sys.exit(f"make_zip: {path} has no entry for version {version}")
    end = next((i for i in range(start, len(lines)) if lines[i].startswith("#")), len(lines))
    entry = [re.sub(r"^- ", "・", line) for line in lines[start:end]]
    while entry and not entry[0].strip():
        entry.pop(0)
    while entry and not entry[-1].strip():
        entry.pop()
    if not entry:
        sys.exit(f"make_zip: the entry for version {version} in {path} is empty")
    return "\n".join(entry)


def guide_bytes(path, version, changes):
    text = open(path, encoding="utf-8").read().replace("@VERSION@", version)
    text = text.replace("@CHANGES@", changes)
    return b"\xef\xbb\xbf" + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def main():
    out, version, shown, epoch, guide, changelog, licence, notices, x86, x64 = sys.argv[1:11]
    # Zip times have no zone and a two-second step; UTC makes them independent of the machine.
    stamp = time.gmtime(int(epoch))[:6]
    readme = guide_bytes(guide, shown, changelog_entry(changelog, version))
    if len(sys.argv) > 11:
        with open(sys.argv[11], "wb") as guide_out:
            guide_out.write(readme)
    entries = [
        ("README.txt", readme),
        ("LICENSE.txt", open(licence, "rb").read()),
        ("THIRD-PARTY-NOTICES.txt", open(notices, "rb").read()),
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
