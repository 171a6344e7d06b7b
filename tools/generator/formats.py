# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""Byte-exact writers for the picture formats the game carries.

The GIF, ICO and BMP files are written by hand rather than through Pillow so
that the palette layout, the transparent index, the bit depth and the row order
are exactly what the program expects, whatever the Pillow version.
"""

import io
import struct

import numpy as np


# ---------------------------------------------------------------- GIF89a

def _lzw(indices, min_code_size=8):
    """GIF-flavoured variable-width LZW, returned as packed bytes."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {(-1, i): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = -1
    for value in indices:
        key = (prefix, int(value))
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, width)
        if next_code == 4096:
            # Table full: start over rather than keep a stale dictionary.
            emit(clear, width)
            table, next_code, width = reset()
        else:
            table[key] = next_code
            if next_code == (1 << width) and width < 12:
                width += 1
            next_code += 1
        prefix = int(value)
    emit(prefix, width)
    emit(end, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def _sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def gif89a(indices, palette, transparent=None):
    """One-frame, non-interlaced GIF89a with a 256-entry global colour table.

    indices: 2-D uint8 array of palette indices; palette: up to 256 (r, g, b).
    """
    h, w = indices.shape
    pal = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    out = bytearray(b"GIF89a")
    # Global colour table present, 8 bits of colour resolution, 2^(7+1) entries.
    out += struct.pack("<HHBBB", w, h, 0xF7, 0, 0)
    for r, g, b in pal:
        out += bytes((r, g, b))
    if transparent is not None:
        # Graphic Control Extension: no disposal, transparent colour flag set.
        out += bytes((0x21, 0xF9, 4, 0x01, 0, 0, transparent, 0))
    out += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0x00)
    out.append(8)
    out += _sub_blocks(_lzw(indices.reshape(-1)))
    out.append(0x3B)
    return bytes(out)


# ---------------------------------------------------------------- ICO

def _ico_image_4bpp(indices, palette, opaque):
    """BMP-style 4-bit icon image: header, 16-colour table, XOR and AND masks."""
    h, w = indices.shape
    assert len(palette) == 16
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    xor_stride = ((w * 4 + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    andm = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytearray(xor_stride)
        for x in range(0, w, 2):
            hi = int(indices[y, x]) if opaque[y, x] else 0
            lo = int(indices[y, x + 1]) if opaque[y, x + 1] else 0
            row[x // 2] = (hi << 4) | lo
        xor += row
        mrow = bytearray(and_stride)
        for x in range(w):
            if not opaque[y, x]:
                mrow[x // 8] |= 0x80 >> (x % 8)
        andm += mrow
    return header + table + bytes(xor) + bytes(andm)


def ico(images):
    """images: list of (indices, palette16, opaque mask), largest first."""
    blobs = [_ico_image_4bpp(*img) for img in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for (indices, _, _), blob in zip(images, blobs):
        h, w = indices.shape
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# ---------------------------------------------------------------- BMP

def bmp24(rgb):
    """Uncompressed 24-bit Windows bitmap, rows bottom-up (positive height)."""
    rgb = np.asarray(rgb, dtype=np.uint8)
    h, w, _ = rgb.shape
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    pad = bytes(stride - w * 3)
    for y in range(h - 1, -1, -1):
        pixels += rgb[y, :, ::-1].tobytes() + pad
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return file_header + info + bytes(pixels)


# ---------------------------------------------------------------- JPEG

def jpeg_baseline(rgb, quality=88):
    """Baseline JFIF 1.01 JPEG with three 8-bit components."""
    from PIL import Image

    buf = io.BytesIO()
    Image.fromarray(np.asarray(rgb, dtype=np.uint8), "RGB").save(
        buf, "JPEG", quality=quality, progressive=False, optimize=True,
        subsampling="4:2:0", dpi=(96, 96))
    data = bytearray(buf.getvalue())
    # The APP0 segment follows SOI; its version bytes sit after "JFIF\0".
    assert data[2:4] == b"\xFF\xE0" and data[6:11] == b"JFIF\x00", "no JFIF APP0"
    data[11] = 1
    data[12] = 1
    assert b"\xFF\xC2" not in _markers(data), "progressive JPEG"
    return bytes(data)


def _markers(data):
    """The marker codes of the segments before the scan data."""
    found = []
    i = 2
    while i + 4 <= len(data) and data[i] == 0xFF:
        marker = data[i:i + 2]
        found.append(bytes(marker))
        if marker == b"\xFF\xDA":
            break
        i += 2 + struct.unpack(">H", data[i + 2:i + 4])[0]
    return found
