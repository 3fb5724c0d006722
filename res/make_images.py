#!/usr/bin/env python3
"""Writes the binary resources beside this script, byte-identical on every run:
saver.cur, a 32x32 monochrome cursor that is fully transparent (AND mask all ones, XOR all zeros)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def mono_cursor(xor_rows, and_rows, hotspot):
    # A 1-bpp DIB: header, two-colour palette, XOR mask then AND mask, rows bottom-up.
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    bits = b"".join(struct.pack(">I", r) for r in reversed(xor_rows))
    bits += b"".join(struct.pack(">I", r) for r in reversed(and_rows))
    image = header + palette + bits
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


def main():
    with open(os.path.join(HERE, "saver.cur"), "wb") as f:
        f.write(mono_cursor([0] * 32, [0xFFFFFFFF] * 32, (0, 0)))


if __name__ == "__main__":
    main()
