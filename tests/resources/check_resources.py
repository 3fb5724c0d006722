#!/usr/bin/env python3
"""Checks the resources linked into the built Kestrovin.scr: both dialog templates control by
control, string 1, icon 128, cursors 129 and 132, the version block and the manifest.

Usage: check_resources.py Kestrovin.scr windres
The resource directory of the program file is read here, so what is checked is what Windows will
load, languages included. windres reads the same section independently (into a .res file) and must
find the same resources with the same bytes, which keeps this reader honest. Every mismatch is
reported; the exit code is 1 if there was any."""
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

RT_CURSOR, RT_ICON, RT_STRING, RT_GROUP_CURSOR, RT_GROUP_ICON = 1, 3, 6, 12, 14
RT_DIALOG, RT_VERSION, RT_MANIFEST = 5, 16, 24
LANG_JAPANESE = 0x0411
JAPANESE_FONT = (9, "ＭＳ Ｐゴシック")
# The dialogs' notice is short enough for its 116-unit label; the version entry has room.
COPYRIGHT = "(C) 2026 Kestrovin Project"
LEGAL_COPYRIGHT = "Copyright (C) 2026 Kestrovin Project"
VERSION_LABEL = "Kestrovin  Ver 0.01"
ICON_128 = 128  # an int text is a resource ordinal, the picture of an SS_ICON control
STATIC_ID = 0xFFFF  # -1 as the template's 16-bit id

# id, class, style, (x, y, w, h), text, in template order.
SETTINGS_CONTROLS = [
    (1012, "EDIT", 0x50810080, (10, 76, 182, 16), ""),
    (1013, "EDIT", 0x50810080, (11, 110, 182, 16), ""),
    (1008, "SysDateTimePick32", 0x50010024, (15, 165, 66, 15), "DateTimePicker1"),
    (1010, "SysDateTimePick32", 0x50010029, (86, 166, 42, 14), "DateTimePicker1"),
    (1009, "SysDateTimePick32", 0x50010024, (141, 165, 67, 14), "DateTimePicker1"),
    (1011, "SysDateTimePick32", 0x50010029, (212, 165, 42, 14), "DateTimePicker1"),
    (1, "BUTTON", 0x50010001, (269, 8, 50, 14), "OK"),
    (2, "BUTTON", 0x50010000, (269, 30, 50, 14), "キャンセル"),
    (1014, "BUTTON", 0x50010000, (269, 51, 50, 14), "ヘルプ"),
    (1006, "STATIC", 0x40001000, (201, 77, 58, 48), ""),
    (STATIC_ID, "STATIC", 0x50020000, (11, 63, 31, 8), "タイトル"),
    (STATIC_ID, "STATIC", 0x50020000, (11, 96, 36, 9), "件名"),
    (STATIC_ID, "BUTTON", 0x50000007, (4, 4, 261, 192), ""),
    (STATIC_ID, "BUTTON", 0x50000007, (12, 147, 120, 39), "期限開始日情報"),
    (STATIC_ID, "STATIC", 0x50000007, (11, 137, 251, 1), ""),
    (STATIC_ID, "BUTTON", 0x50000007, (137, 147, 121, 40), "期限終了日情報"),
    (STATIC_ID, "STATIC", 0x50020000, (46, 38, 116, 11), COPYRIGHT),
    (STATIC_ID, "STATIC", 0x50020000, (45, 24, 83, 11), VERSION_LABEL),
    (STATIC_ID, "STATIC", 0x50801003, (14, 23, 20, 20), ICON_128),
]

ABOUT_CONTROLS = [
    (1, "BUTTON", 0x50010001, (173, 25, 50, 14), "OK"),
    (STATIC_ID, "STATIC", 0x50020000, (47, 37, 116, 11), COPYRIGHT),
    (STATIC_ID, "STATIC", 0x50020000, (46, 23, 83, 11), VERSION_LABEL),
    (STATIC_ID, "STATIC", 0x50000007, (7, 93, 221, 1), ""),
    (1016, "STATIC", 0x50020100, (45, 60, 171, 10), "EMail : info@kestrovin.example"),
    (1017, "STATIC", 0x50020100, (45, 73, 143, 10), "URL  : https://kestrovin.example/"),
    (STATIC_ID, "STATIC", 0x50801003, (15, 22, 21, 24), ICON_128),
]

# id, style, (x, y, w, h), caption, controls.
DIALOGS = [
    (102, 0x90C808C0, (0, 0, 329, 199), "Kestrovinの設定", SETTINGS_CONTROLS),
    (131, 0x80C808C0, (0, 0, 235, 125), "バージョン情報(Kestrovin)", ABOUT_CONTROLS),
]

STRINGS = {1: "Kestrovin"}

# The release's version, a.b.c.d, from the one file that holds it.
with open(os.path.join(os.path.dirname(__file__), "..", "..", "VERSION"), encoding="ascii") as f:
    VERSION_PARTS = [int(part) for part in f.readline().strip().split(".")]
VERSION_TEXT = ", ".join(str(part) for part in VERSION_PARTS)

VERSION_STRINGS = {
    "Comments": "",
    "CompanyName": "Kestrovin Project",
    "FileDescription": "Kestrovin",
    "FileVersion": VERSION_TEXT,
    "InternalName": "Kestrovin",
    "LegalCopyright": LEGAL_COPYRIGHT,
    "LegalTrademarks": "",
    "OriginalFilename": "Kestrovin.scr",
    "PrivateBuild": "",
    "ProductName": "Kestrovin",
    "ProductVersion": VERSION_TEXT,
    "SpecialBuild": "",
}
VERSION_BLOCK = "041103a4"
# (MS, LS) of the fixed block
VERSION_NUMBERS = (VERSION_PARTS[0] << 16 | VERSION_PARTS[1], VERSION_PARTS[2] << 16 | VERSION_PARTS[3])
VOS__WINDOWS32, VFT_APP = 0x4, 0x1
TRANSLATION = (0x0411, 932)

COMMON_CONTROLS_V6 = {
    "type": "win32",
    "name": "Microsoft.Windows.Common-Controls",
    "version": "6.0.0.0",
    "processorArchitecture": "*",
    "publicKeyToken": "6595b64144ccf1df",
    "language": "*",
}

# Template class ordinals of the system controls.
CLASS_ORDINALS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX",
                  0x84: "SCROLLBAR", 0x85: "COMBOBOX"}

failures = []
checked = [0]


def expect(what, actual, expected):
    checked[0] += 1
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, want {expected!r}")


# --- binary readers -------------------------------------------------------------------------


def read_sz(data, pos):
    """A NUL-terminated UTF-16 string; returns (text, position after the NUL)."""
    end = pos
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_sz_or_ord(data, pos):
    """A template or .res name: 0xFFFF then a WORD ordinal (returned as int), or a string."""
    if data[pos:pos + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    return read_sz(data, pos)


def align4(pos):
    return (pos + 3) & ~3


def read_pe(path):
    """{(type, name): (language, data)} from the resource directory of a PE file."""
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = optional + optional_size

    def file_offset(rva):
        for i in range(sections):
            vsize, vaddr, raw_size, raw_ptr = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            if vaddr <= rva < vaddr + max(vsize, raw_size):
                return raw_ptr + rva - vaddr
        sys.exit(f"{path}: address {rva:#x} lies in no section")

    base = file_offset(rsrc_rva)

    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            if key & 0x80000000:
                p = base + (key & 0x7FFFFFFF)
                length = struct.unpack_from("<H", data, p)[0]
                key = data[p + 2:p + 2 + 2 * length].decode("utf-16-le")
            yield key, target

    resources = {}
    for rtype, names in entries(0):
        for name, languages in entries(names & 0x7FFFFFFF):
            found = list(entries(languages & 0x7FFFFFFF))
            if len(found) != 1:
                failures.append(f"resource {rtype}/{name}: {len(found)} languages, want 1")
            language, entry = found[0]
            rva, size = struct.unpack_from("<II", data, base + entry)
            at = file_offset(rva)
            resources[(rtype, name)] = (language, data[at:at + size])
    return resources


def read_res(path):
    """{(type, name): data} of a .res file."""
    data = open(path, "rb").read()
    resources = {}
    pos = 0
    while pos + 8 <= len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        rtype, p = read_sz_or_ord(data, pos + 8)
        name, p = read_sz_or_ord(data, p)
        if rtype != 0:  # the leading empty entry that marks a 32-bit .res
            resources[(rtype, name)] = data[pos + header_size:pos + header_size + size]
        pos = align4(pos + header_size + size)
    return resources


def find(resources, rtype, name, what):
    found = resources.get((rtype, name))
    if found is None:
        failures.append(f"{what}: missing")
        return None
    return found


# --- dialogs --------------------------------------------------------------------------------


def parse_dialog(data):
    if struct.unpack_from("<HH", data, 0) == (1, 0xFFFF):
        return None  # DLGTEMPLATEEX
    style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data, 0)
    menu, pos = read_sz_or_ord(data, 18)
    wndclass, pos = read_sz_or_ord(data, pos)
    caption, pos = read_sz(data, pos)
    font = None
    if style & 0x40:  # DS_SETFONT
        point = struct.unpack_from("<H", data, pos)[0]
        face, pos = read_sz(data, pos + 2)
        font = (point, face)
    items = []
    for _ in range(count):
        pos = align4(pos)
        istyle, iexstyle, ix, iy, icx, icy, iid = struct.unpack_from("<IIhhhhH", data, pos)
        iclass, pos = read_sz_or_ord(data, pos + 18)
        if isinstance(iclass, int):
            iclass = CLASS_ORDINALS.get(iclass, iclass)
        text, pos = read_sz_or_ord(data, pos)
        extra = struct.unpack_from("<H", data, pos)[0]
        pos += 2 + extra
        items.append(dict(id=iid, cls=iclass, style=istyle, exstyle=iexstyle,
                          rect=(ix, iy, icx, icy), text=text, extra=extra))
    return dict(style=style, exstyle=exstyle, rect=(x, y, cx, cy), menu=menu, cls=wndclass,
                caption=caption, font=font, items=items)


def check_dialogs(resources):
    for dlg_id, style, rect, caption, controls in DIALOGS:
        found = find(resources, RT_DIALOG, dlg_id, f"dialog {dlg_id}")
        if not found:
            continue
        language, data = found
        what = f"dialog {dlg_id}"
        expect(f"{what} language", hex(language), hex(LANG_JAPANESE))
        dlg = parse_dialog(data)
        if dlg is None:
            failures.append(f"{what}: an extended template, want a plain one")
            continue
        expect(f"{what} style", hex(dlg["style"]), hex(style))
        expect(f"{what} ext style", dlg["exstyle"], 0)
        expect(f"{what} position/size", dlg["rect"], rect)
        expect(f"{what} menu", dlg["menu"], "")
        expect(f"{what} class", dlg["cls"], "")
        expect(f"{what} caption", dlg["caption"], caption)
        expect(f"{what} font", dlg["font"], JAPANESE_FONT)
        expect(f"{what} control count", len(dlg["items"]), len(controls))
        for row, (want, got) in enumerate(zip(controls, dlg["items"]), start=1):
            cid, cls, cstyle, crect, text = want
            where = f"{what} row {row} (id {cid if cid != STATIC_ID else -1})"
            expect(f"{where} id", got["id"], cid)
            # Windows looks class names up without regard to case, and windres upper-cases them.
            got_cls = got["cls"].upper() if isinstance(got["cls"], str) else got["cls"]
            expect(f"{where} class", got_cls, cls.upper())
            expect(f"{where} style", hex(got["style"]), hex(cstyle))
            expect(f"{where} ext style", got["exstyle"], 0)
            expect(f"{where} position/size", got["rect"], crect)
            expect(f"{where} text", got["text"], text)
            expect(f"{where} creation data", got["extra"], 0)


# --- strings, icon, cursors -----------------------------------------------------------------


def check_strings(resources):
    for sid, text in STRINGS.items():
        found = find(resources, RT_STRING, sid // 16 + 1, f"string {sid}")
        if not found:
            continue
        language, data = found
        expect(f"string {sid} language", hex(language), hex(LANG_JAPANESE))
        pos = 0
        for index in range(16):
            length = struct.unpack_from("<H", data, pos)[0]
            if index == sid % 16:
                expect(f"string {sid}", data[pos + 2:pos + 2 + 2 * length].decode("utf-16-le"), text)
            pos += 2 + 2 * length


def dib_header(data):
    # biSize, biWidth, biHeight, biPlanes, biBitCount, biCompression
    return struct.unpack_from("<IiiHHI", data, 0)


def check_icon(resources):
    found = find(resources, RT_GROUP_ICON, 128, "icon 128")
    if not found:
        return
    group = found[1]
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    expect("icon 128 group type and count", (kind, count), (1, 1))
    width, height, _, _, _, bits, _, image_id = struct.unpack_from("<BBBBHHIH", group, 6)
    expect("icon 128 directory size and depth", (width, height, bits), (32, 32, 24))
    image = find(resources, RT_ICON, image_id, f"icon 128 image {image_id}")
    if not image:
        return
    image = image[1]
    expect("icon 128 bitmap header", dib_header(image), (40, 32, 64, 1, 24, 0))
    xor_size, and_size = 32 * 32 * 3, 32 * 4
    expect("icon 128 image size", len(image), 40 + xor_size + and_size)
    expect("icon 128 AND mask all zeros (opaque)", image[40 + xor_size:].count(0), and_size)


def mono_cursor(resources, cid):
    """(hot spot, XOR rows, AND rows) of a 32x32 monochrome cursor, rows top-down, bit 31 = x 0."""
    what = f"cursor {cid}"
    found = find(resources, RT_GROUP_CURSOR, cid, what)
    if not found:
        return None
    group = found[1]
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    expect(f"{what} group type and count", (kind, count), (2, 1))
    width, height, planes, bits, _, image_id = struct.unpack_from("<HHHHIH", group, 6)
    expect(f"{what} directory size and depth", (width, height, planes, bits), (32, 64, 1, 1))
    image = find(resources, RT_CURSOR, image_id, f"{what} image {image_id}")
    if not image:
        return None
    image = image[1]
    hotspot = struct.unpack_from("<HH", image, 0)
    dib = image[4:]
    expect(f"{what} bitmap header", dib_header(dib), (40, 32, 64, 1, 1, 0))
    bits_at = 40 + 8  # header and the two-colour palette
    if len(dib) < bits_at + 256:
        failures.append(f"{what}: image of {len(dib)} bytes is too short")
        return None
    rows = [struct.unpack_from(">I", dib, bits_at + 4 * i)[0] for i in range(64)]
    return hotspot, rows[31::-1], rows[63:31:-1]


def check_cursors(resources):
    saver = mono_cursor(resources, 129)
    if saver:
        _, xor_rows, and_rows = saver
        expect("cursor 129 transparent (AND all ones, XOR all zeros)",
               (set(and_rows), set(xor_rows)), ({0xFFFFFFFF}, {0}))
    link = mono_cursor(resources, 132)
    if link:
        (hx, hy), xor_rows, and_rows = link
        expect("cursor 132 hot spot", (hx, hy), (6, 0))
        expect("cursor 132 opaque at its hot spot", (and_rows[hy] >> (31 - hx)) & 1, 0)
        opaque = sum(bin(~r & 0xFFFFFFFF).count("1") for r in and_rows)
        white = sum(bin(x & ~a & 0xFFFFFFFF).count("1") for x, a in zip(xor_rows, and_rows))
        if not (0 < white < opaque):
            failures.append(f"cursor 132: {white} white of {opaque} opaque pixels, "
                            "want a white hand inside a black outline")


# --- version and manifest -------------------------------------------------------------------


def parse_version_node(data, pos):
    """(key, value bytes, wType, children) of one VS_VERSIONINFO-style node."""
    length, value_length, kind = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key, p = read_sz(data, pos + 6)
    p = align4(p)
    if kind == 1:  # text: up to the end of the node (value lengths differ between compilers)
        value_end = end if value_length else p
    else:
        value_end = p + value_length
    value = data[p:value_end]
    children = []
    p = align4(value_end)
    while p < end:
        child = parse_version_node(data, p)
        children.append(child)
        p = align4(p + struct.unpack_from("<H", data, p)[0])
    return key, value, kind, children


def text_value(value):
    return value.decode("utf-16-le").split("\0", 1)[0]


def check_version(resources):
    found = find(resources, RT_VERSION, 1, "version resource 1")
    if not found:
        return
    language, data = found
    expect("version language", hex(language), hex(LANG_JAPANESE))
    key, fixed, _, children = parse_version_node(data, 0)
    expect("version root key", key, "VS_VERSION_INFO")
    fields = struct.unpack_from("<13I", fixed, 0)
    expect("fixed info signature", hex(fields[0]), hex(0xFEEF04BD))
    expect("file version", fields[2:4], VERSION_NUMBERS)
    expect("product version", fields[4:6], VERSION_NUMBERS)
    expect("file OS", fields[8], VOS__WINDOWS32)
    expect("file type", fields[9], VFT_APP)
    blocks = {c[0]: c for c in children}
    expect("version blocks", sorted(blocks), ["StringFileInfo", "VarFileInfo"])
    if "StringFileInfo" in blocks:
        tables = {c[0]: c for c in blocks["StringFileInfo"][3]}
        expect("string tables", sorted(tables), [VERSION_BLOCK])
        if VERSION_BLOCK in tables:
            got = {c[0]: text_value(c[1]) for c in tables[VERSION_BLOCK][3]}
            for name in sorted(set(got) | set(VERSION_STRINGS)):
                expect(f'version "{name}"', got.get(name), VERSION_STRINGS.get(name))
    if "VarFileInfo" in blocks:
        var = {c[0]: c[1] for c in blocks["VarFileInfo"][3]}
        expect("Translation", var.get("Translation"), struct.pack("<HH", *TRANSLATION))


def local(tag):
    return tag.rsplit("}", 1)[-1]


def check_manifest(resources):
    found = find(resources, RT_MANIFEST, 1, "manifest 1")
    if not found:
        return
    try:
        root = ET.fromstring(found[1])
    except ET.ParseError as e:
        failures.append(f"manifest: not well-formed XML ({e})")
        return
    elements = list(root.iter())
    identity = root.find("{urn:schemas-microsoft-com:asm.v1}assemblyIdentity")
    expect("manifest version", identity.get("version") if identity is not None else None,
           ".".join(str(part) for part in VERSION_PARTS))
    dependencies = [e for e in elements if local(e.tag) == "assemblyIdentity"
                    and e.get("name") == COMMON_CONTROLS_V6["name"]]
    expect("manifest common-controls dependencies", len(dependencies), 1)
    for dep in dependencies:
        got = {k: dep.get(k) for k in COMMON_CONTROLS_V6}
        got["publicKeyToken"] = (got["publicKeyToken"] or "").lower()
        expect("manifest common-controls identity", got, COMMON_CONTROLS_V6)
    parents = {child: parent for parent in elements for child in parent}
    for dep in dependencies:
        chain = []
        node = parents.get(dep)
        while node is not None:
            chain.append(local(node.tag))
            node = parents.get(node)
        expect("manifest common-controls placement", chain,
               ["dependentAssembly", "dependency", "assembly"])
    names = {local(e.tag) for e in elements}
    # Declaring any execution level would switch off the file virtualisation the settings need.
    expect("manifest declares requestedExecutionLevel", "requestedExecutionLevel" in names, False)
    expect("manifest keeps its DPI awareness", {"dpiAware", "dpiAwareness"} <= names, True)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    program, windres = sys.argv[1:]
    resources = read_pe(program)
    with tempfile.TemporaryDirectory() as tmp:
        res_path = os.path.join(tmp, "program.res")
        subprocess.run([windres, "--input-format=coff", "-i", program, "-O", "res", "-o", res_path],
                       check=True)
        # windres's .res keeps no languages, so only names and bytes are compared.
        by_windres = read_res(res_path)
    expect("resources windres reads", sorted(map(str, by_windres)), sorted(map(str, resources)))
    differing = [key for key, data in by_windres.items()
                 if key in resources and resources[key][1] != data]
    expect("resources whose bytes windres reads differently", differing, [])
    for check in (check_dialogs, check_strings, check_icon, check_cursors, check_version,
                  check_manifest):
        check(resources)
    for failure in failures:
        print("FAIL", failure)
    print(f"{checked[0]} checks, {len(failures)} mismatches in the resources of {program}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
