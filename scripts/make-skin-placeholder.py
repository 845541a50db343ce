#!/usr/bin/env python3
"""Writes a minimal valid SWF (one empty frame of the given size) for a player skin name.

usage: make-skin-placeholder.py OUT.swf WIDTH HEIGHT
"""
import struct
import sys


def rect(width_px: int, height_px: int) -> bytes:
    values = [0, width_px * 20, 0, height_px * 20]  # twips
    nbits = max(v.bit_length() for v in values) + 1
    bits = format(nbits, "05b") + "".join(format(v, f"0{nbits}b") for v in values)
    bits += "0" * (-len(bits) % 8)
    return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))


def swf(width_px: int, height_px: int) -> bytes:
    body = rect(width_px, height_px) + struct.pack("<HH", 24 << 8, 1)
    body += struct.pack("<H", (1 << 6) | 0)  # ShowFrame
    body += struct.pack("<H", 0)  # End
    return b"FWS" + bytes([10]) + struct.pack("<I", 8 + len(body)) + body


if __name__ == "__main__":
    out, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with open(out, "wb") as f:
        f.write(swf(w, h))
