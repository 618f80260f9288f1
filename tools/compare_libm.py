#!/usr/bin/env python3
"""Compares two outputs of libm_agreement: how many results differ, by how
many units in the last place, and how many would print differently as the
phase in degrees ("%14.4e" of atan2 * 180 / pi)."""
import math
import struct
import sys

NAMES = ["atan2", "sqrt", "pow(x, 2.0)"]


def ulps(a, b):
    ia = struct.unpack("<q", struct.pack("<d", a))[0]
    ib = struct.unpack("<q", struct.pack("<d", b))[0]
    ia = ia if ia >= 0 else -(ia & 0x7FFFFFFFFFFFFFFF)
    ib = ib if ib >= 0 else -(ib & 0x7FFFFFFFFFFFFFFF)
    return abs(ia - ib)


def main(first, second):
    a = open(first, "rb").read()
    b = open(second, "rb").read()
    if len(a) != len(b) or len(a) % 40:
        sys.exit("outputs of different length")
    records = len(a) // 40
    corners = 64
    random_pairs = records - corners
    groups = [
        ("random quotient parts", range(0, random_pairs, 2)),
        ("random bit patterns", range(1, random_pairs, 2)),
        ("signed zeros, ones, infinities, NaNs", range(random_pairs, records)),
    ]
    for title, indices in groups:
        compare(title, a, b, indices)


def compare(title, a, b, indices):
    differ = [0, 0, 0]
    worst = [0, 0, 0]
    printed = 0
    examples = []
    pi = math.atan2(0.0, -1.0)
    for r in indices:
        va = struct.unpack_from("<5d", a, 40 * r)
        vb = struct.unpack_from("<5d", b, 40 * r)
        for k in range(3):
            ba = struct.pack("<d", va[2 + k])
            bb = struct.pack("<d", vb[2 + k])
            if ba != bb:
                differ[k] += 1
                both_nan = math.isnan(va[2 + k]) and math.isnan(vb[2 + k])
                worst[k] = max(worst[k], 0 if both_nan else ulps(va[2 + k], vb[2 + k]))
                if len(examples) < 10:
                    examples.append((NAMES[k], va[0], va[1], va[2 + k], vb[2 + k]))
                if k == 0 and "%14.4e" % (va[2] * 180.0 / pi) != "%14.4e" % (vb[2] * 180.0 / pi):
                    printed += 1
    print(f"{title}: {len(indices)} input pairs")
    for k in range(3):
        print(f"  {NAMES[k]}: {differ[k]} results differ, at most {worst[k]} ulp apart")
    print(f"  phase printed as %14.4e in degrees: {printed} differ")
    for e in examples[:4]:
        print("    %s(%r, %r): %r against %r" % e)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
