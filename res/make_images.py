#!/usr/bin/env python3
"""Writes the binary resources beside this script, byte-identical on every run:
saver.cur, a 32x32 monochrome cursor that is fully transparent (AND mask all ones, XOR all zeros);
link.cur, a 32x32 monochrome pointing hand with its hot spot on the fingertip;
kestrovin.ico, the 32x32 24-bit program icon, fully opaque.
Only integer arithmetic is used, so the output never depends on the host's floating point."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The pointing hand: B black outline, W white, . transparent. Row 0 is the top; the fingertip's
# outline is at x 6, y 0, which is the hot spot.
HAND = [
    ".....BBB........................",
    "....BWWWB.......................",
    "....BWWWB.......................",
    "....BWWWB.......................",
    "....BWWWB.......................",
    "....BWWWB.......................",
    "....BWWWBBB.....................",
    "....BWWWBWWBBB..................",
    "....BWWWBWWBWWBBB...............",
    "....BWWWBWWBWWBWWB..............",
    ".BB.BWWWBWWBWWBWWB..............",
    "BWWBBWWWWWWWWWWWWB..............",
    "BWWWBWWWWWWWWWWWWB..............",
    ".BWWBWWWWWWWWWWWWB..............",
    ".BWWWWWWWWWWWWWWWB..............",
    "..BWWWWWWWWWWWWWWB..............",
    "..BWWWWWWWWWWWWWWB..............",
    "...BWWWWWWWWWWWWB...............",
    "...BWWWWWWWWWWWWB...............",
    "....BWWWWWWWWWWB................",
    "....BWWWWWWWWWWB................",
    "....BBBBBBBBBBBB................",
] + ["." * 32] * 10
HAND_HOTSPOT = (6, 0)

RED = (0xD0, 0x10, 0x18)
BLUE = (0x10, 0x30, 0xC0)
YELLOW = (0xF8, 0xD8, 0x10)


def mono_cursor(xor_rows, and_rows, hotspot):
    # A 1-bpp DIB: header, two-colour palette, XOR mask then AND mask, rows bottom-up.
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    bits = b"".join(struct.pack(">I", r) for r in reversed(xor_rows))
    bits += b"".join(struct.pack(">I", r) for r in reversed(and_rows))
    image = header + palette + bits
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


def picture_masks(rows):
    # XOR 1 paints white (palette entry 1); AND 1 lets the screen through.
    def bits(row, chars):
        value = 0
        for ch in row:
            value = (value << 1) | (ch in chars)
        return value

    return [bits(r, "W") for r in rows], [bits(r, ".") for r in rows]


def icon_pixel(x, y):
    # A blue disc low in the middle, two yellow arcs over it, all on red.
    dx, dy = 2 * x + 1 - 32, 2 * y + 1 - 40  # doubled offsets from the disc's centre (16, 20)
    d2 = dx * dx + dy * dy
    if d2 <= 17 * 17:
        return BLUE
    if dy < -4:  # the arcs only span the upper half around the disc
        for radius in (23, 30):
            if (radius - 2) ** 2 <= d2 <= (radius + 2) ** 2:
                return YELLOW
    return RED


def colour_icon():
    # A 24-bit DIB with rows bottom-up, BGR order; the AND mask is all zeros, so nothing shows through.
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 24, 0, 0, 0, 0, 0, 0)
    pixels = b""
    for y in reversed(range(32)):
        for x in range(32):
            r, g, b = icon_pixel(x, y)
            pixels += bytes((b, g, r))
    image = header + pixels + bytes(4 * 32)
    entry = struct.pack("<BBBBHHII", 32, 32, 0, 0, 1, 24, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def main():
    outputs = {
        "saver.cur": mono_cursor([0] * 32, [0xFFFFFFFF] * 32, (0, 0)),
        "link.cur": mono_cursor(*picture_masks(HAND), HAND_HOTSPOT),
        "kestrovin.ico": colour_icon(),
    }
    for name, data in outputs.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
