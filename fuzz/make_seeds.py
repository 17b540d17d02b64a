#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz targets into fuzz/corpus/<target>/.

The seeds are committed; run this only to change them. Inputs the fuzzer found
(crashes turned regression tests, or new coverage worth keeping) are added to
the same folders under their own names and are never rewritten by this script.
The byte layouts follow the decoders in fuzz_<target>.cpp.
"""
import pathlib
import struct

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"


def i32(v):
    return struct.pack("<i", v)


def u16(v):
    return struct.pack("<H", v & 0xFFFF)


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / f"seed-{name}").write_bytes(data)


# ---- definitions: block flag, gate type, block count, address --------------

DEFINITIONS = [
    ("bool", 0, 6, 0, b"R1000"), ("bool-lower-bit", 0, 6, 0, b"r10017"), ("s16", 0, 1, 0, b"S3010"),
    ("u16-bit", 0, 6, 0, b"R6012F"), ("s32", 0, 4, 0, b"R4008"), ("float", 0, 3, 0, b"S8004"),
    ("u32", 0, 5, 0, b"R7004"), ("string", 0, 7, 0, b"SS01012"), ("string-80", 0, 7, 0, b"SS01080"),
    ("diag", 0, 0, 0, b"D00310"), ("diag-bit", 0, 6, 0, b"D003107"), ("ext-bit", 0, 6, 0, b"S6X1000B0F"),
    ("ext-string", 0, 7, 0, b"SSX100L40"), ("ext-u32", 0, 5, 0, b"R7X1000"), ("ext-wrap", 0, 6, 0, b"R1X70000"),
    ("ext-bad", 0, 6, 0, b"R1X10B0X5"), ("bad-type", 0, 0, 0, b"R9000"), ("too-long", 0, 6, 0, b"R100012345"),
    ("block-bytes", 1, 0, 512, b"R1000"), ("block-words", 1, 0, 256, b"R3000"), ("block-longs", 1, 0, 128, b"R4000"),
    ("block-diag", 1, 0, 9, b"D00390"), ("block-bits", 1, 0, 16, b"R30001"), ("block-zero", 1, 0, 0, b"R5000"),
    ("block-negative", 1, 0, -1, b"S6000"), ("block-string", 1, 0, 1, b"SS01012"), ("block-ext", 1, 0, 100, b"S8X400"),
]
for name, block, gate_type, count, text in DEFINITIONS:
    write("definitions", name, bytes([block]) + i32(gate_type) + i32(count) + text)

# ---- init_file: no-file flag, instance, time-out ticks, content ------------

INIT_FILES = [
    ("all-keys", 0, 1, 0, b"CARD = 2\nSWAP = 1\nCONVERT = 1\n"),
    ("crlf", 0, 1, 0, b"CARD = 1\r\nSWAP = 0\r\nCONVERT = 0\r\n"),
    ("wrong-values", 0, 1, 0, b"; comment\n\nCARD=5\nSWAP=2\nCONVERT=-1\nXYZ\n"),
    ("odd-spacing", 0, 7, 500, b"CARD=+3 trailing\nSWAP    =    1\nCONVERT=1"),
    ("lower-case", 0, 1, 1, b"card = 1\n swap = 1\nCONVERT = 257\n"),
    ("empty", 0, 1, 0, b""),
    ("long-line", 0, 2, 0, b"X" * 300 + b"\nCARD = 1\n" + b"SWAP = 1" + b" " * 260 + b"\n"),
    ("nul-bytes", 0, 1, 0, b"CARD = 1\x00\nSWAP\x00= 1\n\x00\n"),
    ("no-file", 1, 1, 0, b""),
    ("big-instance", 0, 123, 0xFFFFFFFF, b"CARD = 0\n"),
    ("negative-instance", 0, -2147483648, 0, b"CONVERT = 1\n"),
]
for name, flag, instance, ticks, content in INIT_FILES:
    write("init_file", name, bytes([flag]) + i32(instance) + struct.pack("<I", ticks) + content)

# ---- requests --------------------------------------------------------------

COMMON = [5, 6, 7, 10, 17, 18, 2, 3, 4, 5, 7, 3, 4, 1, 11, 14]


def header(card=0, swap=0, convert=0, comm=0, loopback=1, seed=7):
    return bytes([card, swap, convert, comm, loopback, seed])


def function(f):
    return bytes([0, COMMON.index(f)])  # command 0: a request


def define(text, gate_type=0, count=1, block=False):
    return function(4 if block else 3) + bytes([gate_type]) + u16(count) + bytes([len(text)]) + text


def use(f, gate, value=b"", host_string=None):
    data = function(f) + bytes([0, gate])
    if f == 7:
        s = host_string or b""
        data += bytes([len(s)]) + s
    return data + u16(len(value)) + value


def raw(f, selector, offset, count, value=b""):
    return function(f) + bytes([0, selector]) + u16(offset) + i32(8) + u16(count) + u16(len(value)) + value


def fault(call, code=-5, nth=1, times=0):
    return bytes([4, call]) + u16(code) + bytes([nth - 1, times])


def answer(number_ahead=0, data_count=32, diag=bytes(range(32))):
    # command 6, templated answer: l 40, number ahead, a 66, f 0, DataCnt, data
    return bytes([6, 0, 2, number_ahead, 1, 1, data_count, len(diag)]) + diag


GATES = [
    (b"R1000", 6), (b"S10017", 6), (b"R2004", 1), (b"S3010", 1), (b"S6012F", 6),
    (b"S4008", 4), (b"R7004", 5), (b"S8004", 3),
]
session = header()
for text, gate_type in GATES:
    session += define(text, gate_type)
for i in range(len(GATES)):
    session += use(7, i, b"\x00\x00\x34\x12") + use(5, i, b"\x00" * 4)
write("requests", "every-memory-type", session)

session = header(swap=1, convert=1)
for text, count in [(b"S3000", 256), (b"S8000", 128), (b"R1000", 512), (b"S30001", 16)]:
    session += define(text, 0, count, block=True)
for i in range(4):
    session += use(10, i, bytes(range(256)) * 2) + use(6, i, bytes(512))
write("requests", "blocks-swap-convert", session)

session = header(swap=2, convert=2)
session += raw(18, 1, 0, 512, bytes(range(256)) * 2) + raw(17, 0, 0, 512) + raw(17, 2, 100, 10)
session += raw(18, 0, 4000, 200, bytes(200)) + raw(18, 1, 0, 600, bytes(600)) + raw(17, 3, 0, 0xFFFF)
write("requests", "raw-images", session)

session = header() + define(b"SS01012", 7) + define(b"RSX10L20", 7)
session += use(7, 0, host_string=b"HELLO") + use(5, 0) + use(5, 1) + use(7, 0, host_string=b"TOO LONG STRING")
write("requests", "strings", session)

session = header() + define(b"D00310", 0) + define(b"D003107", 6) + define(b"D00300", 0, 8, block=True)
session += answer() + use(5, 0) + answer(1) + use(5, 1) + use(6, 2, bytes(8)) + use(5, 0)
write("requests", "diagnostics", session)

session = header() + define(b"R6010", 0)
for call in range(11):
    session += fault(call) + use(5, 0, bytes(4)) + bytes([0, COMMON.index(2)]) + use(5, 0, bytes(4))
write("requests", "faults", session)

# DP master misbehaving: late, stale, faulty, short, dropped, refused; a slave with a long diagnosis.
session = header() + define(b"D00310", 0) + define(b"D00590", 0, 9, block=True) + define(b"D007000", 6)
session += bytes([7, 4, 7, 60]) + bytes(range(60))
EXTRA = {0: b"", 1: b"\x03", 2: b"\x11", 3: b"\x05", 4: b"\x27", 5: b"\x08", 6: b"", 7: u16(-7)}
for kind, extra in EXTRA.items():
    session += bytes([7, 3, 0, kind]) + extra + use(5, 0, bytes(4)) + use(6, 1, bytes(9)) + use(5, 2, bytes(4))
write("requests", "dp-master-faults", session)

session = header(comm=2) + define(b"S6010", 0) + use(5, 0) + bytes([7, 1, 1]) + use(7, 0, bytes(4))
session += bytes([0, COMMON.index(11)]) + use(5, 0) + use(7, 0, bytes(4)) + bytes([0, COMMON.index(1)])
session += use(5, 0) + bytes([0, COMMON.index(14)]) + bytes([0, 228]) + bytes([0, 232]) + bytes([0, 255]) + i32(-1)
write("requests", "lifecycle", session)
