#!/usr/bin/env python3
"""Writes the seed corpus: host sessions encoded the way HostSession reads its bytes.

Usage: fuzz/make_seeds.py [corpus folder]  (default: fuzz/corpus next to this file)
"""
import os
import struct
import sys

# Step opcodes, as HostSession::Step reads them (one byte, modulo 9).
RAW, INSTANTIATE, DEINSTANTIATE, SET_PARAMETER, FRAME, QUERY, TWEAK, TIME = 0, 1, 2, 3, 4, 6, 7, 8
LIVE0 = 16  # a PickId byte that picks the first live identifier; below 16 picks 0
NO_ID = 0


def word(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def small(value):
    """A Size() read: the small form, two bytes below the limit."""
    return bytes([0]) + struct.pack("<H", value)


def boundary(index):
    """A Size() read: entry of the boundary table."""
    return bytes([200, index])


def instantiate(width=64, height=64):
    return bytes([INSTANTIATE, 1, 0, 0]) + small(width) + small(height) + bytes([NO_ID])


def instantiate_raw(width_bytes, height_bytes):
    return bytes([INSTANTIATE, 1, 0, 0]) + width_bytes + height_bytes + bytes([NO_ID])


def deinstantiate(pick=LIVE0):
    return bytes([DEINSTANTIATE, pick])


def set_float(index, special=None, slider=None, pick=LIVE0):
    """special: index into FuzzedInput's table; slider: 0..255 as a fraction."""
    out = bytes([SET_PARAMETER, pick, 1, index, 1])
    if special is not None:
        out += bytes([special])
    else:
        out += bytes([128, slider])
    return out + bytes([1])


def set_text(index, text, pick=LIVE0):
    raw = text.encode()
    return bytes([SET_PARAMETER, pick, 1, index, 0, len(raw)]) + raw + bytes([1])


def texture(width, height, hardware_kind=0, extra=b"", handle=32):
    """hardware_kind: 0 same, 1 larger (extra: 2 bytes), 2 smaller (extra: 2 bytes), 3 zero side
    (extra: 2 flag bytes)."""
    return bytes([1]) + small(width) + small(height) + bytes([hardware_kind]) + extra + \
        bytes([handle])


def frame(entries=(), pick=LIVE0, null_array=False, host_fb=b"\x01"):
    """host_fb: one byte; 1 names framebuffer 0 in both targets, 64 the context's own."""
    out = bytes([FRAME, pick, 1, len(entries)])
    for entry in entries:
        out += entry if entry is not None else bytes([0])
    if entries:
        out += bytes([0 if null_array else 1])
    return out + host_fb


def query(code_index, value=0, pick=LIVE0):
    if value < 16:
        return bytes([QUERY, code_index, 0, value, pick])
    return bytes([QUERY, code_index, 1]) + word(value) + bytes([pick])


# What each routed code reads after its identifier byte: no record for 17, 8 and 20.
RAW_TAIL = {17: bytes([0]), 19: b"", 8: bytes([1, 0, 1, 12, 0]), 20: bytes(8) + bytes([0])}


def raw(code, value=0, pick=NO_ID):
    return bytes([RAW, 1]) + word(code) + bytes([pick]) + RAW_TAIL.get(code, word(value))


def uniform(name_index, location):
    """A location below 24; the tweak reads it as (byte % 24) for bytes 64 to 223."""
    return bytes([TWEAK, 4, name_index, 72 + location])


def advance_clock(ticks):
    return bytes([TWEAK, 7]) + word(ticks) + bytes([0])


def reprepare(source, pick=LIVE0):
    return bytes([TWEAK, 0, pick, source])


def host_viewport(x, y, width, height):
    return bytes([TWEAK, 1, x, y, width, height])


QUERY_CODES = [0, 1, 2, 4, 5, 6, 7, 9, 10, 13, 15, 16]


def q(code, value=0, pick=LIVE0):
    return query(QUERY_CODES.index(code), value, pick)


def common_seeds():
    seeds = {}
    seeds["lifecycle"] = (q(0) + q(13) + q(1) + q(4) + q(5, 2) + q(6, 0) + q(15, 9) + q(10, 4) +
                          instantiate() + frame() + frame() + set_float(0, slider=255) +
                          q(7, 0) + q(9, 0) + q(16, 1) + frame() + deinstantiate() + q(2))
    seeds["bad_values"] = (instantiate() + set_float(0, special=0) + set_float(1, special=3) +
                           set_float(9, special=4) + set_float(10, special=8) +
                           set_float(2, special=5) + set_text(3, "not a number") +
                           set_float(11, special=12) + q(7, 0) + q(7, 9) + q(7, 12) +
                           frame() + frame() + deinstantiate())
    seeds["misuse"] = (raw(3, 0) + raw(11, 0) + raw(21, 0) + raw(0xFFFFFFFF, 0) + raw(17, 0) +
                       raw(19, 0) + raw(8, 0) + raw(20, 0) + q(7, 0, NO_ID) +
                       q(16, 0, NO_ID) + q(5, 200) + q(6, 200) + q(15, 200) + q(10, 99))
    seeds["odd_viewports"] = (instantiate(0, 0) + frame() + deinstantiate() +
                              instantiate_raw(boundary(7), boundary(10)) + frame() +
                              deinstantiate() + instantiate(1, 4095) + frame() + deinstantiate())
    seeds["deinitialise_between"] = (instantiate() + q(2) + set_float(5, slider=10) + frame() +
                                     q(9, 5) + q(2) + deinstantiate())
    return seeds


def recording_seeds():
    seeds = common_seeds()
    inputs = (uniform(1, 0) + uniform(2, 1) + uniform(9, 2) + instantiate() +
              frame([texture(64, 64), texture(256, 192, 1, bytes([192, 16]))]) +
              frame([texture(64, 64), texture(256, 192, 1, bytes([192, 16]))]) +
              frame([texture(32, 64), None]) +
              frame([texture(16, 16, 2, bytes([3, 3])), texture(8, 8, 3, bytes([1, 0]))]) +
              frame([texture(5, 5)], null_array=True) + frame([]) + deinstantiate())
    seeds["inputs_changing"] = inputs
    seeds["mainimage_names"] = (uniform(5, 0) + uniform(6, 1) + uniform(11, 2) +
                                uniform(14, 3) + uniform(20, 4) + uniform(21, 5) +
                                uniform(22, 6) + instantiate() + advance_clock(10000000) +
                                frame([texture(10, 10), texture(20, 20)]) +
                                advance_clock(1 << 31) + frame([None, texture(20, 21)]) +
                                deinstantiate())
    seeds["failing_gl"] = (bytes([TWEAK, 0]) + word(40) + bytes([1]) + instantiate() +
                           bytes([TWEAK, 0]) + word(40) + bytes([0]) + bytes([TWEAK, 1, 0, 0]) +
                           instantiate() + frame() + bytes([TWEAK, 2, 0]) + instantiate() +
                           frame() + bytes([TWEAK, 3, 0]) + instantiate() + frame() +
                           deinstantiate() + deinstantiate() + deinstantiate())
    seeds["viewport_answers"] = (instantiate() + bytes([TWEAK, 5]) + boundary(7) + small(64) +
                                 frame() + bytes([TWEAK, 6, 0, 3, 3, 3]) + frame() +
                                 bytes([TWEAK, 5]) + small(0) + small(0) + frame() +
                                 deinstantiate())
    return seeds


def context_seeds():
    seeds = common_seeds()
    own = b"\x40"  # the host target's framebuffer
    seeds["sampling_inputs"] = (instantiate() + reprepare(0) +
                                frame([texture(64, 64, handle=33),
                                       texture(128, 32, 0, handle=34)], host_fb=own) +
                                frame([texture(64, 64, 1, bytes([192, 16])), None]) +
                                frame([texture(32, 16, 2, bytes([2, 2])),
                                       texture(3, 3, 3, bytes([1, 1]))]) +
                                host_viewport(0, 0, 0, 0) + frame([texture(64, 64)]) +
                                host_viewport(3, 5, 40, 20) + frame([texture(64, 64)]) +
                                deinstantiate())
    seeds["mainimage_inputs"] = (instantiate() + reprepare(1) + frame([texture(64, 64)]) +
                                 frame([None, texture(2, 2, handle=35)], host_fb=own) + reprepare(2) +
                                 frame([texture(64, 64)]) + deinstantiate())
    # A picture no texture can hold: Mesa crashes on a side of 2^25 unless it is skipped.
    huge = bytes([1]) + small(32) + bytes([240]) + word(1 << 25) + bytes([0, 33])
    seeds["huge_picture"] = (instantiate() + reprepare(0) + frame([huge, texture(64, 64)]) +
                             deinstantiate())
    seeds["resized_host"] = (instantiate() + bytes([TWEAK, 2, 10, 90]) + frame() +
                             bytes([TWEAK, 2, 0, 0]) + frame() + deinstantiate())
    return seeds


def write(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    write(os.path.join(root, "plugmain"), recording_seeds())
    write(os.path.join(root, "frame"), context_seeds())


if __name__ == "__main__":
    main()
