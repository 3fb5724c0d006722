#!/usr/bin/env python3
"""Checks the resources linked into the built Kestrovin.scr: both dialog templates control by
control, string 1, icon 128, cursors 129 and 132, the version block and the manifest, each in
Japanese and in one language only.

Usage: check_resources.py Kestrovin.scr windres
windres decompiles the program's resource section into a script (-O rc): every resource under
the language it is stored in, each dialog control's class, style and rectangle, the version block
as statements and the binary resources as numbers. What is checked is what Windows will load.
Every mismatch is reported; the exit code is 1 if there was any."""
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

# Resource types as windres names them: a number for the binary ones, a keyword for the rest.
RT_CURSOR, RT_ICON, RT_GROUP_CURSOR, RT_GROUP_ICON, RT_MANIFEST = 1, 3, 12, 14, 24
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

# Dialog keywords windres writes for a control instead of CONTROL, and the class each stands for.
CLASS_OF_KEYWORD = {
    **dict.fromkeys("PUSHBUTTON DEFPUSHBUTTON CHECKBOX AUTOCHECKBOX STATE3 AUTO3STATE RADIOBUTTON "
                    "AUTORADIOBUTTON GROUPBOX PUSHBOX USERBUTTON".split(), "BUTTON"),
    **dict.fromkeys("LTEXT CTEXT RTEXT ICON".split(), "STATIC"),
    "EDITTEXT": "EDIT", "LISTBOX": "LISTBOX", "COMBOBOX": "COMBOBOX", "SCROLLBAR": "SCROLLBAR",
}
NO_TEXT = {"EDITTEXT", "LISTBOX", "COMBOBOX", "SCROLLBAR"}
# Template class ordinals of the system controls, as CONTROL writes them.
CLASS_ORDINALS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX",
                  0x84: "SCROLLBAR", 0x85: "COMBOBOX"}

failures = []
checked = [0]


def expect(what, actual, expected):
    checked[0] += 1
    if actual != expected:
        failures.append(f"{what}: got {actual!r}, want {expected!r}")


# --- the decompiled script ------------------------------------------------------------------


class Num(int):
    """A number of the script; `long` (an L suffix) makes it four bytes in binary data, else two."""
    def __new__(cls, value, long=False):
        number = super().__new__(cls, value)
        number.long = long
        return number


class Str(str):
    """A string of the script; `wide` (an L prefix) makes it UTF-16 in binary data, else bytes."""
    def __new__(cls, text, wide=False):
        string = super().__new__(cls, text)
        string.wide = wide
        return string


TOKEN = re.compile(r'\s+|/\*.*?\*/|(L?)"((?:[^"]|"")*)"|(-?(?:0[xX][0-9a-fA-F]+|[0-9]+))([lL]?)'
                   r'|([A-Za-z_][A-Za-z0-9_]*)|(,)', re.S)
ESCAPE = re.compile(r'\\(x[0-9a-fA-F]{1,4}|[0-7]{1,3}|.)|""', re.S)
SIMPLE_ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "a": "\a", "b": "\b", "f": "\f", "v": "\v"}


def unescape(body, wide):
    def one(m):
        if m.group(0) == '""':
            return '"'
        e = m.group(1)
        if e[0] == "x":
            return chr(int(e[1:] if wide else e[1:3], 16)) + ("" if wide else e[3:])
        if e[0] in "01234567":
            return chr(int(e, 8))
        return SIMPLE_ESCAPES.get(e, e)
    return ESCAPE.sub(one, body)


def tokens(text):
    """Numbers (Num), strings (Str) and words (plain str, upper-cased) of a script, without commas."""
    pos = 0
    while pos < len(text):
        m = TOKEN.match(text, pos)
        if not m:
            sys.exit(f"windres's script: cannot read {text[pos:pos + 40]!r}")
        pos = m.end()
        if m.group(2) is not None:
            yield Str(unescape(m.group(2), bool(m.group(1))), bool(m.group(1)))
        elif m.group(3):
            yield Num(int(m.group(3), 0), bool(m.group(4)))
        elif m.group(5):
            yield m.group(5).upper()


def is_word(token):
    return type(token) is str


class Statement:
    """A word and the values after it, and the BEGIN ... END block that follows, if any."""
    def __init__(self, word, values):
        self.word, self.values, self.block = word, values, None


def read_values(items, pos):
    """The values from pos up to the next word, and the position of that word."""
    end = pos
    while end < len(items) and not is_word(items[end]):
        end += 1
    return items[pos:end], end


def read_block(items, pos, end="END"):
    """The statements from pos up to the word that ends them, and the position after that word."""
    statements = []
    while pos < len(items) and items[pos] != end:
        if items[pos] == "BEGIN":
            if not statements:
                statements.append(Statement(None, []))
            statements[-1].block, pos = read_block(items, pos + 1)
            continue
        word = items[pos] if is_word(items[pos]) else None
        values, pos = read_values(items, pos + (word is not None))
        statements.append(Statement(word, values))
    return statements, pos + 1


def values_of(block):
    """Every value in a block of data, in order."""
    return [v for s in block or [] for v in s.values]


def data_bytes(values):
    """The bytes binary data stands for: numbers of two or four bytes, strings as written."""
    out = b""
    for v in values:
        if isinstance(v, Str):
            out += v.encode("utf-16-le") if v.wide else v.encode("latin-1")
        else:
            out += struct.pack("<I" if v.long else "<H", v & (0xFFFFFFFF if v.long else 0xFFFF))
    return out


class Resource:
    def __init__(self, rtype, name, language, header=(), statements=(), block=None, extended=False):
        self.type, self.name, self.language = rtype, name, language
        self.header, self.statements, self.block, self.extended = header, statements, block, extended

    def statement(self, word):
        return next((s for s in self.statements if s.word == word), None)


def read_script(text):
    """{(type, name): [Resource, one per language]} of windres's script."""
    items = list(tokens(text))
    resources = {}
    language = None
    pos = 0

    def add(resource):
        resources.setdefault((resource.type, resource.name), []).append(resource)

    while pos < len(items):
        if items[pos] == "LANGUAGE":
            primary, sub = items[pos + 1:pos + 3]
            language = sub << 10 | primary
            pos += 3
            continue
        if items[pos] == "STRINGTABLE":
            _, pos = read_block(items, pos + 1, "BEGIN")
            block, pos = read_block(items, pos)
            pairs = values_of(block)
            for sid, string in zip(pairs[::2], pairs[1::2]):
                add(Resource("STRING", int(sid), language, block=string))
            continue
        name, rtype = items[pos], items[pos + 1]
        header, pos = read_values(items, pos + 2)
        statements, pos = read_block(items, pos, "BEGIN")
        block, pos = read_block(items, pos)
        key_type = int(rtype) if isinstance(rtype, Num) else ("DIALOG" if rtype == "DIALOGEX" else rtype)
        add(Resource(key_type, name if isinstance(name, str) else int(name), language, header,
                     statements, block, extended=rtype == "DIALOGEX"))
    return resources


def decompile(program, windres):
    done = subprocess.run([windres, "--input-format=coff", "-i", program, "-O", "rc"],
                          capture_output=True, check=False)
    if done.returncode != 0:
        sys.exit(f"{windres} could not decompile {program}: {done.stderr.decode(errors='replace')}")
    return read_script(done.stdout.decode("latin-1"))


def find(resources, rtype, name, what):
    found = resources.get((rtype, name))
    if not found:
        failures.append(f"{what}: missing")
        return None
    return found[0]


def check_languages(resources):
    # Windows picks among languages by the user's; one Japanese copy keeps every user on it.
    for (rtype, name), copies in sorted(resources.items(), key=str):
        what = f"resource {rtype}/{name}"
        expect(f"{what} languages", [hex(r.language or 0) for r in copies], [hex(LANG_JAPANESE)])


# --- dialogs --------------------------------------------------------------------------------


def read_control(statement):
    """id, class, style, exstyle, rectangle, text and creation data of one dialog control."""
    v = list(statement.values)
    if statement.word == "CONTROL":
        text, cid, cls, style, rect, v = v[0], v[1], v[2], v[3], tuple(v[4:8]), v[8:]
        cls = CLASS_ORDINALS.get(cls, cls) if isinstance(cls, Num) else cls
    else:
        text = "" if statement.word in NO_TEXT else v.pop(0)
        cid, rect, style, v = v[0], tuple(v[1:5]), v[5] if len(v) > 5 else None, v[6:]
        cls = CLASS_OF_KEYWORD.get(statement.word, statement.word)
    return dict(id=cid, cls=cls, style=style, exstyle=v[0] if v else 0, rect=rect,
                text=int(text) if isinstance(text, Num) else text,
                extra=len(data_bytes(values_of(statement.block))))


def check_dialogs(resources):
    for dlg_id, style, rect, caption, controls in DIALOGS:
        what = f"dialog {dlg_id}"
        dlg = find(resources, "DIALOG", dlg_id, what)
        if not dlg:
            continue
        if dlg.extended:
            failures.append(f"{what}: an extended template, want a plain one")
            continue

        def value(word, default, dlg=dlg):
            s = dlg.statement(word)
            return default if s is None else (s.values[0] if len(s.values) == 1 else tuple(s.values))

        expect(f"{what} style", hex(value("STYLE", 0)), hex(style))
        expect(f"{what} ext style", value("EXSTYLE", 0), 0)
        expect(f"{what} position/size", tuple(dlg.header), rect)
        expect(f"{what} menu", value("MENU", ""), "")
        expect(f"{what} class", value("CLASS", ""), "")
        expect(f"{what} caption", value("CAPTION", ""), caption)
        expect(f"{what} font", value("FONT", None), JAPANESE_FONT)
        items = [read_control(s) for s in dlg.block or [] if s.word]
        expect(f"{what} control count", len(items), len(controls))
        for row, (want, got) in enumerate(zip(controls, items), start=1):
            cid, cls, cstyle, crect, text = want
            where = f"{what} row {row} (id {cid if cid != STATIC_ID else -1})"
            expect(f"{where} id", got["id"], cid)
            # Windows looks class names up without regard to case, and windres upper-cases them.
            expect(f"{where} class", got["cls"].upper(), cls.upper())
            expect(f"{where} style", hex(got["style"] or 0), hex(cstyle))
            expect(f"{where} ext style", got["exstyle"], 0)
            expect(f"{where} position/size", got["rect"], crect)
            expect(f"{where} text", got["text"], text)
            expect(f"{where} creation data", got["extra"], 0)


# --- strings, icon, cursors -----------------------------------------------------------------


def check_strings(resources):
    for sid, text in STRINGS.items():
        found = find(resources, "STRING", sid, f"string {sid}")
        if found:
            expect(f"string {sid}", str(found.block), text)


def binary(resources, rtype, name, what):
    found = find(resources, rtype, name, what)
    return None if found is None else data_bytes(values_of(found.block))


def dib_header(data):
    # biSize, biWidth, biHeight, biPlanes, biBitCount, biCompression
    return struct.unpack_from("<IiiHHI", data, 0)


def check_icon(resources):
    group = binary(resources, RT_GROUP_ICON, 128, "icon 128")
    if not group:
        return
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    expect("icon 128 group type and count", (kind, count), (1, 1))
    width, height, _, _, _, bits, _, image_id = struct.unpack_from("<BBBBHHIH", group, 6)
    expect("icon 128 directory size and depth", (width, height, bits), (32, 32, 24))
    image = binary(resources, RT_ICON, image_id, f"icon 128 image {image_id}")
    if not image:
        return
    expect("icon 128 bitmap header", dib_header(image), (40, 32, 64, 1, 24, 0))
    xor_size, and_size = 32 * 32 * 3, 32 * 4
    expect("icon 128 image size", len(image), 40 + xor_size + and_size)
    expect("icon 128 AND mask all zeros (opaque)", image[40 + xor_size:].count(0), and_size)


def mono_cursor(resources, cid):
    """(hot spot, XOR rows, AND rows) of a 32x32 monochrome cursor, rows top-down, bit 31 = x 0."""
    what = f"cursor {cid}"
    group = binary(resources, RT_GROUP_CURSOR, cid, what)
    if not group:
        return None
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    expect(f"{what} group type and count", (kind, count), (2, 1))
    width, height, planes, bits, _, image_id = struct.unpack_from("<HHHHIH", group, 6)
    expect(f"{what} directory size and depth", (width, height, planes, bits), (32, 64, 1, 1))
    image = binary(resources, RT_CURSOR, image_id, f"{what} image {image_id}")
    if not image:
        return None
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


def check_version(resources):
    # windres itself refuses a block whose root key or fixed-info signature is wrong.
    found = find(resources, "VERSIONINFO", 1, "version resource 1")
    if not found:
        return

    def fixed(word):
        s = found.statement(word)
        return None if s is None else tuple(s.values)

    def numbers(word):
        parts = fixed(word) or (0, 0, 0, 0)
        return parts[0] << 16 | parts[1], parts[2] << 16 | parts[3]

    expect("file version", numbers("FILEVERSION"), VERSION_NUMBERS)
    expect("product version", numbers("PRODUCTVERSION"), VERSION_NUMBERS)
    expect("file OS", fixed("FILEOS"), (VOS__WINDOWS32,))
    expect("file type", fixed("FILETYPE"), (VFT_APP,))
    blocks = {str(s.values[0]): s.block or [] for s in found.block or [] if s.word == "BLOCK"}
    expect("version blocks", sorted(blocks), ["StringFileInfo", "VarFileInfo"])
    tables = {str(s.values[0]): s.block or [] for s in blocks.get("StringFileInfo", []) if s.word == "BLOCK"}
    if "StringFileInfo" in blocks:
        expect("string tables", sorted(tables), [VERSION_BLOCK])
    if VERSION_BLOCK in tables:
        got = {str(s.values[0]): "".join(s.values[1:]) for s in tables[VERSION_BLOCK] if s.word == "VALUE"}
        for name in sorted(set(got) | set(VERSION_STRINGS)):
            expect(f'version "{name}"', got.get(name), VERSION_STRINGS.get(name))
    if "VarFileInfo" in blocks:
        var = {str(s.values[0]): tuple(s.values[1:]) for s in blocks["VarFileInfo"] if s.word == "VALUE"}
        expect("Translation", var.get("Translation"), TRANSLATION)


def local(tag):
    return tag.rsplit("}", 1)[-1]


def check_manifest(resources):
    found = binary(resources, RT_MANIFEST, 1, "manifest 1")
    if not found:
        return
    try:
        root = ET.fromstring(found)
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
    resources = decompile(program, windres)
    for check in (check_languages, check_dialogs, check_strings, check_icon, check_cursors, check_version,
                  check_manifest):
        check(resources)
    for failure in failures:
        print("FAIL", failure)
    print(f"{checked[0]} checks, {len(failures)} mismatches in the resources of {program}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
