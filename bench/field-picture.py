#!/usr/bin/env python3
"""Writes the benchmarks' photo-like picture of a full default working field as a 24-bit BMP.

The same gradients, noise and xorshift sequence as fieldPicture() in bench/ImageBench.cpp,
stored bottom-up as paint programs write it.
"""
import argparse
import struct
import sys


def field_rows(width, height):
    state = 2463534242
    for y in range(height):
        row = bytearray(width * 3)
        for x in range(width):
            state ^= (state << 13) & 0xFFFFFFFF
            state ^= state >> 17
            state ^= (state << 5) & 0xFFFFFFFF
            base = (x * 255 // width + y * 255 // height) // 2
            gray = min(max(base + state % 41 - 20, 0), 255)
            row[3 * x : 3 * x + 3] = bytes((gray, gray, gray))
        yield bytes(row)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out", help="the BMP file to write")
    parser.add_argument("--size", nargs=2, type=int, default=(1930, 2330), metavar=("W", "H"))
    args = parser.parse_args()
    width, height = args.size
    if width <= 0 or height <= 0:
        parser.error("the size must be positive")
    stride = (width * 3 + 3) // 4 * 4
    padding = bytes(stride - width * 3)
    rows = [row + padding for row in field_rows(width, height)]
    data_offset = 14 + 40
    header = b"BM" + struct.pack("<IHHI", data_offset + stride * height, 0, 0, data_offset)
    info = struct.pack("<iiiHHIIiiII", 40, width, height, 1, 24, 0, stride * height, 2835, 2835,
                       0, 0)
    try:
        with open(args.out, "wb") as out:
            out.write(header + info)
            out.writelines(reversed(rows))  # the bottom row first
    except OSError as error:
        print(f"field-picture.py: cannot write {args.out}: {error.strerror}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
