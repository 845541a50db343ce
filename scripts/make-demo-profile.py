#!/usr/bin/env python3
"""Writes support/demo/demo.epe, the profile scripts/run generates its demo project from.

Each value is scrambled as profiles store it: every character's Windows-1252 code plus the code of
a character of the key "morvelquist" (text position i uses key position (i mod 11) + 1, counted from
1), modulo 256; one value a line, CR LF.
"""
import pathlib

KEY = b"morvelquist"


def scramble(text: str) -> bytes:
    data = text.encode("cp1252")
    return bytes((c + KEY[(i % len(KEY))]) & 255 for i, c in enumerate(data, start=1))


values = [
    "SIN1", "0", "0", "0", "0",
    str(0x63 + 256 * 0x0E + 65536 * 0x0E), "630E0E",
    "0", "0", "50", "1", "", "", "", "",
    "http://127.0.0.1:8000/", "", "",
    "0", "", "", "", "0", "0", "", "",
]
out = pathlib.Path(__file__).resolve().parent.parent / "support" / "demo" / "demo.epe"
out.write_bytes(b"".join(scramble(v) + b"\r\n" for v in values))
print(out)
