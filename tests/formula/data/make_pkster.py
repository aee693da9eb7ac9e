#!/usr/bin/env python3
"""Writes PKSTER.DBF and PKSTER.DBT, the small dBASE III table the
kestrel-tool eval tests open. Run in this folder after changing it."""
import struct

fields = [("ROK_", "N", 4, 0), ("MC_", "N", 2, 0), ("MIN_WYN", "N", 9, 2),
          ("OPIS_Z1", "C", 20, 0), ("AKT_ZUS", "L", 1, 0), ("DATA_", "D", 8, 0),
          ("UWAGI", "M", 10, 0)]
records = [
    (" ", [2024, 1, 4242.0, "Styczeń", "T", "20240131", 1]),
    ("*", [2024, 2, 4242.0, "Luty", "F", "20240229", 0]),
]

def cell(f, v):
    name, t, n, d = f
    if t == "N":
        return (("%*.*f" % (n, d, v)) if d else ("%*d" % (n, v))).encode()
    if t == "C":
        return v.encode("cp852").ljust(n, b" ")
    if t == "M":
        return (b"%10d" % v) if v else b" " * 10
    return v.encode()

reclen = 1 + sum(f[2] for f in fields)
header = 32 + 32 * len(fields) + 1
out = struct.pack("<B3BIHH20x", 0x83, 124, 12, 8, len(records), header, reclen)
for name, t, n, d in fields:
    out += name.encode().ljust(11, b"\0") + t.encode() + b"\0" * 4 + bytes([n, d]) + b"\0" * 14
out += b"\r"
for flag, values in records:
    out += flag.encode() + b"".join(cell(f, v) for f, v in zip(fields, values))
out += b"\x1a"
open("PKSTER.DBF", "wb").write(out)

dbt = struct.pack("<I508x", 2) + "Uwaga: płace\r\nminimalne".encode("cp852") + b"\x1a\x1a"
open("PKSTER.DBT", "wb").write(dbt.ljust(1024, b"\0"))
