#!/usr/bin/env python3
"""Writes platform/cp932/table.cpp, the program's CP932 table, from glibc's
iconv "CP932" (called through ctypes). Run once on a glibc system and commit
the result:

    python3 platform/cp932/generate.py

The reference is glibc's "CP932": not Python's cp932 codec, which decodes
373 NEC and IBM duplicates differently, and not "SHIFT_JIS", which maps 0x5C
and 0x7E to the yen sign and the overline.

Five single bytes are characters in Windows' code page 932 but not in glibc:
0x80 (U+0080) and 0xA0, 0xFD, 0xFE, 0xFF (the private-use U+F8F0-U+F8F3).
The table keeps glibc's view and makes them no character, both ways: no
keyboard or input method on Japanese Windows gives them, so in the program's
files they are stray bytes rather than names; Windows itself refuses the last
four when asked to check (MB_ERR_INVALID_CHARS), and 0x80 would come in as a
control character, which the program refuses in what comes in anyway. With
them refused, a path holding one is refused on both systems instead of naming
a file that a CP932 file name on Linux never is, and the transcript shows them
as the same \\xHH escapes everywhere.
"""
import ctypes
import os
import platform
import sys

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = list(range(0x40, 0x7F)) + list(range(0x80, 0xFD))
NONE = 0xFFFF
WINDOWS_ONLY = {0x80: 0x0080, 0xA0: 0xF8F0, 0xFD: 0xF8F1, 0xFE: 0xF8F2, 0xFF: 0xF8F3}

libc = ctypes.CDLL("libc.so.6", use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]
libc.gnu_get_libc_version.restype = ctypes.c_char_p
FAILED = ctypes.c_size_t(-1).value


def opener(to, frm):
    cd = libc.iconv_open(to, frm)
    if cd is None or cd == FAILED:
        sys.exit(f"generate.py: this iconv cannot convert {frm.decode()} to {to.decode()}")
    return cd


def convert(cd, data):
    """The whole of data through iconv: its output, or None when iconv refuses
    any of it or counts a conversion as irreversible."""
    libc.iconv(cd, None, None, None, None)
    buffer = ctypes.create_string_buffer(64)
    src, src_left = ctypes.c_char_p(data), ctypes.c_size_t(len(data))
    dst, dst_left = ctypes.c_char_p(ctypes.addressof(buffer)), ctypes.c_size_t(len(buffer))
    rc = libc.iconv(cd, ctypes.byref(src), ctypes.byref(src_left), ctypes.byref(dst), ctypes.byref(dst_left))
    if rc != 0 or src_left.value != 0:
        return None
    return buffer.raw[:len(buffer) - dst_left.value]


def code_points(utf32):
    return [int.from_bytes(utf32[i:i + 4], "little") for i in range(0, len(utf32), 4)]


def main():
    decoder = opener(b"UTF-32LE", b"CP932")
    encoder = opener(b"CP932", b"UTF-32LE")

    single = []
    for b in range(256):
        out = convert(decoder, bytes([b]))
        single.append(code_points(out)[0] if out else NONE)
    double = {}
    for lead in range(256):
        for trail in range(256):
            out = convert(decoder, bytes([lead, trail]))
            if out is None or single[lead] != NONE:
                continue
            cps = code_points(out)
            assert len(cps) == 1 and lead in LEADS and trail in TRAILS, (lead, trail, cps)
            double[lead << 8 | trail] = cps[0]

    encode = {}
    for cp in range(0x110000):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        out = convert(encoder, cp.to_bytes(4, "little"))
        # Tag characters come out as nothing: no mapping, a name would lose them.
        if out:
            assert len(out) <= 2 and cp <= 0xFFFF, (cp, out)
            encode[cp] = int.from_bytes(out, "big")

    # What the code relies on: ASCII stays itself both ways (it is left out of
    # the encode table), code points fit 16 bits, every character decoded
    # encodes to bytes that decode to it again, and the five bytes are none.
    for c in range(0x80):
        assert single[c] == c and encode[c] == c, c
    decoded = [(b, cp) for b, cp in enumerate(single) if cp != NONE] + list(double.items())
    for code, cp in decoded:
        assert cp < NONE, (code, cp)
        back = encode[cp]
        assert (single[back] if back < 0x100 else double[back]) == cp, (code, cp, back)
    for b, cp in WINDOWS_ONLY.items():
        assert single[b] == NONE and cp not in encode, b

    pairs = sorted((cp, code) for cp, code in encode.items() if cp >= 0x80)
    write(single, double, pairs)
    print(f"generate.py: {sum(c != NONE for c in single)} single bytes, {len(double)} double-byte codes, "
          f"{len(pairs) + 0x80} code points that encode")


def hex_lines(values, per_line):
    for i in range(0, len(values), per_line):
        yield "    " + " ".join(f"0x{v:04X}," for v in values[i:i + per_line])


def write(single, double, pairs):
    rows = [double.get(lead << 8 | trail, NONE) for lead in LEADS for trail in TRAILS]
    lines = [
        f"// Generated by platform/cp932/generate.py from glibc {libc.gnu_get_libc_version().decode()}'s iconv",
        '// "CP932" on ' + platform.machine() + "; do not edit. Why 0x80, 0xA0 and 0xFD-0xFF are no",
        "// character here: see the generator.",
        '#include "platform/cp932.h"',
        "",
        "namespace platform::cp932::table {",
        "",
        "// clang-format off",
        "const std::uint16_t single[256] = {",
        *hex_lines(single, 16),
        "};",
        "",
        f"const std::uint16_t doubles[{len(LEADS)} * {len(TRAILS)}] = {{",
        *hex_lines(rows, 16),
        "};",
        "",
        f"const std::size_t encodeCount = {len(pairs)};",
        f"const std::uint16_t encodeFrom[{len(pairs)}] = {{",
        *hex_lines([cp for cp, _ in pairs], 16),
        "};",
        f"const std::uint16_t encodeTo[{len(pairs)}] = {{",
        *hex_lines([code for _, code in pairs], 16),
        "};",
        "// clang-format on",
        "",
        "}  // namespace platform::cp932::table",
    ]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "table.cpp")
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
