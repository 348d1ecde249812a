#!/usr/bin/env python3
"""Makes the test pictures of the picture readers, and their references.

  tests/viewer/data/make_pictures.py          every reader's pictures
  tests/viewer/data/make_pictures.py pages    only the pictures of the golden
                                              pages (tests/viewer/pages/pictures)

Run by hand when a picture is added; the files are committed, so neither the
build nor the tests need ImageMagick. Pictures come from small writers of our
own below (every BMP variant, GIF with the LZW encoder here, PNG) and from
ImageMagick's `convert` (other writers' BMP, GIF, PNG and JPEG files). Every
reference (NAME.pam beside NAME) is ImageMagick's decoding of the file, an
independent decoder: RGBA in the PAM format, and for a GIF every frame
composed with -coalesce, one PAM image after another.

Needs python3 and ImageMagick (apt-get install imagemagick), only here.
"""
import os
import random
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def out(*parts):
    path = os.path.join(HERE, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def reference(path, coalesce=False):
    """ImageMagick's RGBA decoding of a picture, as NAME.pam beside it."""
    args = [path] + (["-coalesce"] if coalesce else []) + ["-alpha", "set", "-type", "TrueColorAlpha", "-depth", "8", path + ".pam"]
    convert(*args)


def write_pam(path, w, h, rgba):
    with open(path, "wb") as f:
        f.write(b"P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n" % (w, h))
        f.write(bytes(c for p in rgba for c in p))


# ---------------------------------------------------------------- sources

def photo(w, h):
    """Smooth colours with a few hard edges: a picture JPEG keeps well."""
    px = []
    for y in range(h):
        for x in range(w):
            r, g, b = 255 * x // (w - 1), 255 * y // (h - 1), 255 - 255 * (x + y) // (w + h - 2)
            if w // 4 <= x < w // 2 and h // 4 <= y < h // 2:
                r, g, b = 250, 220, 30
            px.append((r, g, b, 255))
    return px


def palette(n, seed):
    rnd = random.Random(seed)
    return [(rnd.randrange(256), rnd.randrange(256), rnd.randrange(256)) for _ in range(n)]


def indexed(w, h, colours):
    return [(x + 3 * y + (x * y) // 5) % colours for y in range(h) for x in range(w)]


# ---------------------------------------------------------------- BMP

def bmp(path, w, h, bits, rows_bytes, *, pal=None, header="info", compression=0, topdown=False,
        masks=None, masks_after=False, colours_used=0):
    """rows_bytes: the pixel data exactly as stored (already padded, in file order)."""
    if pal and bits <= 8 and len(pal) < (1 << bits) and not colours_used:
        colours_used = len(pal)
    if header == "core":
        table = b"".join(bytes([b, g, r]) for r, g, b in pal or [])
        dib = struct.pack("<IHHHH", 12, w, h, 1, bits)
    else:
        table = b"".join(bytes([b, g, r, 0]) for r, g, b in pal or [])
        size = {"info": 40, "v4": 108, "v5": 124}[header]
        dib = struct.pack("<IiiHHIIiiII", size, w, -h if topdown else h, 1, bits, compression,
                          len(rows_bytes), 2835, 2835, colours_used, 0)
        m = list(masks or [0, 0, 0, 0]) + [0] * (4 - len(masks or []))
        if size >= 108:
            dib += struct.pack("<IIII", *m) + b"sRGB" + bytes(36) + bytes(12)
            if size == 124:
                dib += struct.pack("<IIII", 4, 0, 0, 0)
        if masks_after:
            dib += struct.pack("<" + "I" * len(masks), *masks)
    offset = 14 + len(dib) + len(table)
    data = struct.pack("<2sIHHI", b"BM", offset + len(rows_bytes), 0, 0, offset) + dib + table + rows_bytes
    with open(path, "wb") as f:
        f.write(data)


def pack_rows(w, h, bits, pixel_bytes, topdown=False):
    """pixel_bytes(x, y) -> bytes of one pixel for 16/24/32; for <= 8 bits an index."""
    stride = (w * bits + 31) // 32 * 4
    rows = []
    order = range(h) if topdown else range(h - 1, -1, -1)
    for y in order:
        if bits >= 16:
            row = b"".join(pixel_bytes(x, y) for x in range(w))
        else:
            acc, n, row = 0, 0, bytearray()
            for x in range(w):
                acc = (acc << bits) | pixel_bytes(x, y)
                n += bits
                if n == 8:
                    row.append(acc)
                    acc, n = 0, 0
            if n:
                row.append(acc << (8 - n))
            row = bytes(row)
        rows.append(row.ljust(stride, b"\0"))
    return b"".join(rows)


def rle8(w, h, idx, skips):
    """RLE8 of an index picture, bottom-up: runs, absolute runs, a delta over
    `skips` = (x, y_file, dx, dy) where the stream jumps, end of lines, end."""
    out = bytearray()
    y = 0
    while y < h:
        row = [idx[(h - 1 - y) * w + x] for x in range(w)]
        x = 0
        while x < w:
            jump = [s for s in skips if s[0] == x and s[1] == y]
            if jump:
                _, _, dx, dy = jump[0]
                out += bytes([0, 2, dx, dy])
                x += dx
                y += dy
                row = [idx[(h - 1 - y) * w + i] for i in range(w)]
                continue
            # Runs stop where the stream is to jump.
            limit = min([w] + [s[0] for s in skips if s[1] == y and s[0] > x])
            run = 1
            while x + run < limit and row[x + run] == row[x] and run < 255:
                run += 1
            if run >= 2 or limit - x < 3:
                out += bytes([run, row[x]])
                x += run
            else:
                n = min(limit - x, 5)
                out += bytes([0, n]) + bytes(row[x:x + n]) + (b"\0" if n % 2 else b"")
                x += n
        out += b"\0\0"
        y += 1
    return bytes(out[:-2]) + b"\0\1"


def rle4(w, h, idx, end_line_early=None):
    """RLE4: alternating pairs as runs, some absolute runs of odd length, and
    one line left early by an end-of-line escape: end_line_early = (x, y_file)."""
    out = bytearray()
    for y in range(h):
        row = [idx[(h - 1 - y) * w + x] for x in range(w)]
        limit = end_line_early[0] if end_line_early and end_line_early[1] == y else w
        x = 0
        while x < limit:
            if (x // 4) % 2 == 1 and limit - x >= 3:
                n = 3
                nib = row[x:x + n] + [0]
                data = bytes((nib[i] << 4) | nib[i + 1] for i in range(0, n + 1, 2))
                out += bytes([0, n]) + data + (b"\0" if len(data) % 2 else b"")
                x += n
                continue
            a = row[x]
            b = row[x + 1] if x + 1 < limit else 0
            run = 1
            while x + run < limit and row[x + run] == (a if run % 2 == 0 else b) and run < 255:
                run += 1
            out += bytes([run, (a << 4) | b])
            x += run
        out += b"\0\0"
    return bytes(out) + b"\0\1"


def make_bmp():
    w, h = 13, 7
    src = photo(w, h)
    rgb = [(r, g, b) for r, g, b, _ in src]

    def made(name, *args, **kw):
        path = out("bmp", name)
        bmp(path, *args, **kw)
        reference(path)

    for bits, n in ((1, 2), (4, 16), (8, 200)):
        pal = palette(n, bits)
        idx = indexed(w, h, n)
        made("%dbit.bmp" % bits, w, h, bits, pack_rows(w, h, bits, lambda x, y: idx[y * w + x]), pal=pal,
             colours_used=n if bits == 8 else 0)
    pal = palette(64, 8)
    idx = indexed(w, h, 64)
    made("os2-8bit.bmp", w, h, 8, pack_rows(w, h, 8, lambda x, y: idx[y * w + x]), pal=pal + [(0, 0, 0)] * 192,
         header="core")

    # RLE: index 0 is magenta, used by no pixel, so the pixels a delta or an
    # early end of line skips show up in the reference as magenta.
    pal = [(255, 0, 255)] + palette(15, 40)
    idx = [1 + i % 15 for i in indexed(w, h, 15)]
    made("rle4.bmp", w, h, 4, rle4(w, h, idx, end_line_early=(9, 2)), pal=pal, compression=2)
    pal = [(255, 0, 255)] + palette(99, 41)
    idx = [1 + (i // 2) % 99 for i in indexed(w, h, 198)]
    made("rle8.bmp", w, h, 8, rle8(w, h, idx, skips=[(4, 1, 3, 2)]), pal=pal, compression=1)

    px555 = lambda x, y: struct.pack("<H", ((rgb[y * w + x][0] >> 3) << 10) | ((rgb[y * w + x][1] >> 3) << 5)
                                     | (rgb[y * w + x][2] >> 3))
    made("16bit-555.bmp", w, h, 16, pack_rows(w, h, 16, px555))
    px565 = lambda x, y: struct.pack("<H", ((rgb[y * w + x][0] >> 3) << 11) | ((rgb[y * w + x][1] >> 2) << 5)
                                     | (rgb[y * w + x][2] >> 3))
    made("16bit-565.bmp", w, h, 16, pack_rows(w, h, 16, px565), compression=3,
         masks=[0xF800, 0x07E0, 0x001F], masks_after=True)
    px24 = lambda x, y: bytes(reversed(rgb[y * w + x]))
    made("24bit.bmp", w, h, 24, pack_rows(w, h, 24, px24))
    made("24bit-topdown.bmp", w, h, 24, pack_rows(w, h, 24, px24, topdown=True), topdown=True)
    made("32bit.bmp", w, h, 32, pack_rows(w, h, 32, lambda x, y: px24(x, y) + b"\0"))
    alpha = lambda x, y: 255 if x < 4 else (0 if x > 9 else 40 * (x - 3))
    made("32bit-v4-alpha.bmp", w, h, 32, pack_rows(w, h, 32, lambda x, y: px24(x, y) + bytes([alpha(x, y)])),
         header="v4", compression=3, masks=[0xFF0000, 0xFF00, 0xFF, 0xFF000000])

    # Other writers: ImageMagick's own BMP files.
    source = out("bmp", "source.pam")
    write_pam(source, w, h, [(r, g, b, alpha(x, y)) for y in range(h) for x in range(w) for r, g, b in [rgb[y * w + x]]])
    for name, args in (("im-v5-argb.bmp", ["-define", "bmp:subtype=ARGB8888", "BMP:"]),
                       ("im-os2-24bit.bmp", ["-alpha", "off", "-type", "truecolor", "BMP2:"]),
                       ("im-rle8.bmp", ["-alpha", "off", "-colors", "60", "-type", "palette", "-compress", "RLE", "BMP3:"])):
        path = out("bmp", name)
        convert(source, *args[:-1], args[-1] + path)
        reference(path)
    os.remove(source)


# ---------------------------------------------------------------- PNG

def png(path, w, h, colour_type, depth, rows, *, pal=None, trns=None, interlace=False):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    assert not interlace
    raw = b"".join(b"\0" + r for r in rows)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, colour_type, 0, 0, 0))
    if pal:
        data += chunk(b"PLTE", b"".join(bytes(c) for c in pal))
    if trns is not None:
        data += chunk(b"tRNS", trns)
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def make_png():
    w, h = 11, 6
    src = photo(w, h)
    rgba = [(r, g, b, (x * 255) // (w - 1)) for (r, g, b, _), (x, y) in
            zip(src, [(x, y) for y in range(h) for x in range(w)])]
    source = out("png", "source.pam")
    write_pam(source, w, h, rgba)
    for name, args in (("rgba.png", ["PNG32:"]),
                       ("rgba16.png", ["PNG64:"]),
                       ("rgb16.png", ["-alpha", "off", "PNG48:"]),
                       ("gray.png", ["-alpha", "off", "-colorspace", "gray", "-depth", "4", "PNG:"]),
                       ("interlaced.png", ["-interlace", "PNG", "PNG32:"])):
        path = out("png", name)
        convert(source, "-strip", *args[:-1], args[-1] + path)
        reference(path)
    os.remove(source)

    # A palette with tRNS: entry 0 clear, 1 half, the rest (beyond tRNS) opaque.
    pal = [(10, 20, 30), (200, 0, 0), (0, 200, 0), (0, 0, 200), (250, 250, 250)]
    idx = [(x + y) % 5 for y in range(h) for x in range(w)]
    rows = [bytes(idx[y * w:(y + 1) * w]) for y in range(h)]
    path = out("png", "palette-trns.png")
    png(path, w, h, 3, 8, rows, pal=pal, trns=bytes([0, 128]))
    reference(path)
    # Grey with one transparent grey level (tRNS of colour type 0).
    rows = [bytes((x * 40) % 256 for x in range(w)) for y in range(h)]
    path = out("png", "gray-trns.png")
    png(path, w, h, 0, 8, rows, trns=struct.pack(">H", 80))
    reference(path)


# ---------------------------------------------------------------- JPEG

def make_jpeg():
    w, h = 41, 29
    source = out("jpeg", "photo.pam")
    write_pam(source, w, h, photo(w, h))
    # The grey one from grey pixels of our own (Rec. 601 luma), so the test
    # knows what grey to expect.
    grey = out("jpeg", "grey.pam")
    write_pam(grey, w, h, [(v, v, v, 255) for r, g, b, _ in photo(w, h) for v in [(299 * r + 587 * g + 114 * b) // 1000]])
    convert(grey, "-strip", "-alpha", "off", "-colorspace", "gray", "-quality", "92", out("jpeg", "gray.jpg"))
    os.remove(grey)
    for name, args in (("photo.jpg", ["-quality", "92"]),
                       ("cmyk.jpg", ["-colorspace", "CMYK", "-quality", "92"]),
                       ("progressive.jpg", ["-interlace", "JPEG", "-quality", "92"])):
        convert(source, "-strip", "-alpha", "off", *args, out("jpeg", name))
    # photo.pam stays: the colours every JPEG should roughly show.


# ---------------------------------------------------------------- GIF

def lzw(indices, min_size, clear_when_full=True):
    """GIF LZW codes for the indices, packed least significant bit first. The
    code size follows the decoder's table, so both grow at the same code."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    codes = []
    table = {}
    next_code = end + 1
    size = min_size + 1          # the decoder's code size
    dec_free = end + 1           # the decoder's next free code
    first = True                 # the decoder adds no entry for the first code after a clear

    def emit(code):
        nonlocal size, dec_free, first
        codes.append((code, size))
        if code == clear:
            size, dec_free, first = min_size + 1, end + 1, True
            return
        if first:
            first = False
            return
        if dec_free < 4096:
            dec_free += 1
            if dec_free == 1 << size and size < 12:
                size += 1

    emit(clear)
    prefix = None
    for px in indices:
        if prefix is None:
            prefix = px
            continue
        key = (prefix, px)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
        elif clear_when_full:
            emit(clear)
            table, next_code = {}, end + 1
        prefix = px
    if prefix is not None:
        emit(prefix)
    emit(end)
    acc, n, data = 0, 0, bytearray()
    for code, s in codes:
        acc |= code << n
        n += s
        while n >= 8:
            data.append(acc & 255)
            acc >>= 8
            n -= 8
    if n:
        data.append(acc & 255)
    return bytes(data)


def table_bits(pal):
    bits = 1
    while (1 << bits) < len(pal):
        bits += 1
    return bits


def colour_table(pal):
    bits = table_bits(pal)
    return b"".join(bytes(c) for c in pal) + b"\0" * (3 * ((1 << bits) - len(pal)))


def interlace_rows(h):
    return list(range(0, h, 8)) + list(range(4, h, 8)) + list(range(2, h, 4)) + list(range(1, h, 2))


def gif(path, sw, sh, frames, *, pal=None, version=b"89a", loop=None, comment=None):
    data = bytearray(b"GIF" + version)
    packed = 0
    if pal:
        packed = 0x80 | ((table_bits(pal) - 1) << 4) | (table_bits(pal) - 1)
    data += struct.pack("<HHBBB", sw, sh, packed, 0, 0)
    if pal:
        data += colour_table(pal)
    if loop is not None:
        data += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", loop) + b"\0"
    if comment:
        data += b"\x21\xfe" + bytes([len(comment)]) + comment + b"\0"
    for f in frames:
        if version == b"89a":
            t = f.get("transparent")
            data += b"\x21\xf9\x04" + bytes([(f.get("disposal", 0) << 2) | (1 if t is not None else 0)])
            data += struct.pack("<H", f.get("delay", 0)) + bytes([t or 0]) + b"\0"
        w, h = f["w"], f["h"]
        local = f.get("pal")
        packed = 0
        if local:
            packed |= 0x80 | (table_bits(local) - 1)
        if f.get("interlace"):
            packed |= 0x40
        data += b"\x2c" + struct.pack("<HHHHB", f.get("x", 0), f.get("y", 0), w, h, packed)
        if local:
            data += colour_table(local)
        idx = f["idx"]
        if f.get("interlace"):
            idx = [idx[y * w + x] for y in interlace_rows(h) for x in range(w)]
        min_size = max(2, table_bits(local or pal))
        codes = lzw(idx, min_size, f.get("clear_when_full", True))
        block = f.get("block", 255)
        data.append(min_size)
        for i in range(0, len(codes), block):
            part = codes[i:i + block]
            data += bytes([len(part)]) + part
        data += b"\0"
    data += b"\x3b"
    with open(path, "wb") as f:
        f.write(data)


def fill(w, h, v):
    return [v] * (w * h)


def make_gif():
    rgb4 = [(255, 0, 0), (0, 0, 255), (0, 200, 0), (255, 255, 0)]

    def made(name, *args, ref=True, **kw):
        path = out("gif", name)
        gif(path, *args, **kw)
        if ref:
            reference(path, coalesce=True)
        return path

    pal16 = palette(16, 87)
    idx = indexed(9, 7, 16)
    made("gif87a.gif", 9, 7, [dict(w=9, h=7, idx=idx)], pal=pal16, version=b"87a")

    two = [dict(w=6, h=5, idx=fill(6, 5, 0), delay=10), dict(w=6, h=5, idx=fill(6, 5, 1), delay=20)]
    made("anim-loop0.gif", 6, 5, two, pal=rgb4, loop=0)
    made("anim-loop2.gif", 6, 5, two, pal=rgb4, loop=2)
    three = two + [dict(w=6, h=5, idx=fill(6, 5, 2), delay=10)]
    made("anim-once.gif", 6, 5, three, pal=rgb4)
    zero = [dict(w=6, h=5, idx=fill(6, 5, 0), delay=0), dict(w=6, h=5, idx=fill(6, 5, 1), delay=0)]
    made("delay0.gif", 6, 5, zero, pal=rgb4, loop=0)

    pal = palette(32, 5)
    w, h = 21, 19
    idx = [(x * y + x // 3 + 2 * y) % 32 for y in range(h) for x in range(w)]
    made("interlaced.gif", w, h, [dict(w=w, h=h, idx=idx, interlace=True)], pal=pal)
    made("interlaced-twin.gif", w, h, [dict(w=w, h=h, idx=idx)], pal=pal)

    # Disposal 2: the second frame's area becomes a hole when it goes.
    frames = [dict(w=8, h=8, idx=fill(8, 8, 0), disposal=1, delay=10),
              dict(x=2, y=2, w=4, h=4, idx=fill(4, 4, 1), disposal=2, delay=10),
              dict(w=2, h=2, idx=fill(2, 2, 2), disposal=1, delay=10, transparent=3)]
    made("disposal2.gif", 8, 8, frames, pal=rgb4, loop=0)
    # Disposal 3: what lay under the second frame comes back.
    frames = [dict(w=8, h=8, idx=[(x // 2 + y) % 2 for y in range(8) for x in range(8)], disposal=1, delay=10),
              dict(x=2, y=2, w=4, h=4, idx=fill(4, 4, 2), disposal=3, delay=10),
              dict(x=6, y=6, w=2, h=2, idx=[3, 0, 0, 3], disposal=1, delay=10, transparent=0)]
    made("disposal3.gif", 8, 8, frames, pal=rgb4, loop=0)

    # A local colour table, a transparent frame over another, a comment.
    frames = [dict(w=7, h=6, idx=indexed(7, 6, 4), delay=5, disposal=1),
              dict(x=1, y=1, w=5, h=4, idx=[(x + y) % 3 for y in range(4) for x in range(5)],
                   pal=[(9, 9, 9), (250, 128, 0), (128, 0, 250)], transparent=0, delay=5)]
    made("local-table.gif", 7, 6, frames, pal=rgb4, loop=0, comment=b"made by make_pictures.py")

    # 256 colours of noise: the string table fills and is cleared again;
    # sub-blocks of 7 bytes so that codes span them.
    rnd = random.Random(256)
    pal = palette(256, 256)
    w, h = 96, 80
    idx = [rnd.randrange(256) if rnd.random() < 0.6 else (x // 8 + y // 8) % 256 for y in range(h) for x in range(w)]
    made("noise256.gif", w, h, [dict(w=w, h=h, idx=idx, block=7)], pal=pal)
    # The same without clear codes: the full table goes on being used.
    made("noise256-full-table.gif", w, h, [dict(w=w, h=h, idx=idx, clear_when_full=False)], pal=pal)

    # Frames past the logical screen: no reference, ImageMagick clips them.
    frames = [dict(w=4, h=4, idx=fill(4, 4, 0), delay=10),
              dict(x=2, y=3, w=5, h=3, idx=fill(5, 3, 1), delay=10)]
    made("beyond-screen.gif", 4, 4, frames, pal=rgb4, loop=0, ref=False)

    # Other writers: ImageMagick's animation, optimised into partial frames
    # with transparency, and its interlaced GIF.
    path = out("gif", "im-optimized.gif")
    convert("-size", "24x18", "-delay", "10", "xc:white", "-fill", "red", "-draw", "circle 6,9 6,3",
            "(", "+clone", "-fill", "blue", "-draw", "rectangle 12,2 20,8", ")",
            "(", "+clone", "-fill", "green", "-draw", "rectangle 3,12 10,16", ")",
            "-loop", "0", "-layers", "optimize", path)
    reference(path, coalesce=True)
    path = out("gif", "im-interlaced.gif")
    convert("-size", "30x22", "gradient:yellow-navy", "-colors", "64", "-interlace", "GIF", path)
    reference(path, coalesce=True)


# ---------------------------------------------------------------- pages

def make_page_pictures():
    """Pictures the golden pages show: a background tile, a badge with soft
    alpha edges and a photo. No references: the golden pictures hold what
    they look like."""
    pages = os.path.join(HERE, "..", "pages", "pictures")
    os.makedirs(pages, exist_ok=True)

    # A pale 8-bit tile with a diagonal of dots.
    w = h = 24
    pal = [(250, 246, 232), (232, 224, 200), (214, 226, 240)]
    idx = [1 if (x + y) % 12 == 0 else (2 if (x - y) % 12 == 6 and x % 2 == 0 else 0)
           for y in range(h) for x in range(w)]
    bmp(os.path.join(pages, "tile.bmp"), w, h, 8, pack_rows(w, h, 8, lambda x, y: idx[y * w + x]), pal=pal)

    # A round badge: opaque inside, alpha falling off over its last pixels,
    # a light spot up left; clear outside.
    w = h = 48
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            d = ((x - 23.5) ** 2 + (y - 23.5) ** 2) ** 0.5
            a = max(0, min(255, int((22 - d) * 64)))
            spot = max(0.0, 1 - (((x - 16) ** 2 + (y - 15) ** 2) ** 0.5) / 14)
            r, g, b = int(200 + 55 * spot), int(40 + 160 * spot), int(60 + 140 * spot)
            row += bytes([r, g, b, a])
        rows.append(bytes(row))
    png(os.path.join(pages, "badge.png"), w, h, 6, 8, rows)

    w, h = 96, 64
    source = os.path.join(pages, "photo.pam")
    write_pam(source, w, h, photo(w, h))
    convert(source, "-strip", "-alpha", "off", "-quality", "90", os.path.join(pages, "photo.jpg"))
    os.remove(source)
    make_page_gifs()


def make_page_gifs():
    """The golden GIF page's pictures: a star with a transparent surround,
    and an animation whose first frame the page shows."""
    pages = os.path.join(HERE, "..", "pages", "pictures")
    os.makedirs(pages, exist_ok=True)

    # A five-pointed star, gold with a dark rim, transparent around it.
    import math
    w = h = 40
    cx, cy = 19.5, 20.5

    def inside(x, y, scale):
        a = math.atan2(y - cy, x - cx) + math.pi / 2
        r = math.hypot(x - cx, y - cy)
        k = (a % (2 * math.pi / 5)) / (2 * math.pi / 5)
        edge = 19 * scale * (1 - 0.62 * (1 - abs(2 * k - 1)))
        return r <= edge

    idx = [2 if inside(x, y, 0.8) else (1 if inside(x, y, 1.0) else 0) for y in range(h) for x in range(w)]
    pal = [(255, 0, 255), (110, 60, 10), (250, 200, 40), (255, 255, 255)]
    gif(os.path.join(pages, "star.gif"), w, h, [dict(w=w, h=h, idx=idx, transparent=0)], pal=pal)

    # Three frames: a green disc, then a red square over it, then a blue bar;
    # disposal 2 leaves a hole where the square was.
    w = h = 32
    disc = [1 if (x - 15.5) ** 2 + (y - 15.5) ** 2 <= 14 ** 2 else 0 for y in range(h) for x in range(w)]
    pal = [(255, 255, 255), (30, 160, 60), (200, 30, 30), (40, 70, 200)]
    frames = [dict(w=w, h=h, idx=disc, transparent=0, delay=50, disposal=1),
              dict(x=8, y=8, w=16, h=16, idx=fill(16, 16, 2), delay=50, disposal=2),
              dict(x=4, y=14, w=24, h=4, idx=fill(24, 4, 3), delay=50, disposal=1)]
    gif(os.path.join(pages, "blink.gif"), w, h, frames, pal=pal, loop=0)


if __name__ == "__main__":
    import sys
    if sys.argv[1:] == ["pages"]:
        make_page_pictures()
    else:
        make_bmp()
        make_png()
        make_jpeg()
        make_gif()
        make_page_pictures()
