#!/usr/bin/env python3
"""Generates realistic benchmark data for Quillet.

  generate.py tree DIR [--files N] [--folders M]   a Favorites tree of shortcut files
  generate.py html FILE [--links N]                bookmark HTML in the style of a browser export
  generate.py gif FILE [--size N] [--noise]        an N x N GIF (default 1000): a photo-like picture
                                                   dithered to 256 colours, as the web has them; or
                                                   random pixels, the worst case for LZW

The data is the same on every run (fixed seed).
"""
import argparse
import math
import os
import random
import sys

WORDS = """news weather sport football science nature space travel recipes cooking
baking garden music jazz radio podcast video films reviews books library
python linux debian kernel compiler rust java docs manual reference wiki
bank insurance taxes shopping deals hardware laptops phones cameras photo
maps trains flights hotels museums history art design fonts icons colour
health running cycling climbing chess puzzles games forum blog journal
university courses maths physics chemistry biology economics law council
""".split()
SITES = """bbc.co.uk nytimes.com theguardian.com wikipedia.org github.com gitlab.com
stackoverflow.com debian.org kernel.org python.org cppreference.com qt.io
arxiv.org nature.com metoffice.gov.uk openstreetmap.org gutenberg.org lwn.net
archive.org imdb.com allrecipes.com seriouseats.com bbcgoodfood.com nasa.gov
""".split()
FORBIDDEN = '"*/:<>?\\|'
MAX_DEPTH = 6
DEEPER = [1, 0.5, 0.25, 0.12, 0.06, 0.03]


def title(rng, words=None):
    n = words or rng.randint(1, 6)
    t = " ".join(rng.choice(WORDS) for _ in range(n))
    t = t[0].upper() + t[1:]
    r = rng.random()
    if r < 0.05:
        t += " & more"
    elif r < 0.08:
        t += " - " + str(rng.randint(1990, 2026))
    elif r < 0.10:
        t = "\u00c9t\u00e9 " + t  # a non-ASCII name, UTF-8 as Linux file names are
    return t


def address(rng):
    site = rng.choice(SITES)
    path = "/".join(rng.choice(WORDS) for _ in range(rng.randint(0, 4)))
    url = "https://%s%s/%s" % (rng.choice(["", "www.", "en.", "m."]), site, path)
    if rng.random() < 0.3:
        url += "?id=%d&ref=%s" % (rng.randint(1, 10**6), rng.choice(WORDS))
    return url


def shortcut(rng, url):
    lines = []
    if rng.random() < 0.4:
        lines += ["[DEFAULT]", "BASEURL=" + url]
    lines += ["[InternetShortcut]", "URL=" + url]
    if rng.random() < 0.5:
        lines += ["IDList=", "HotKey=0", "IconFile=" + url.split("/")[0] + "//" + url.split("/")[2] + "/favicon.ico", "IconIndex=1"]
    if rng.random() < 0.4:
        lines += ["[{000214A0-0000-0000-C000-000000000046}]", "Prop3=19,%d" % rng.randint(0, 11)]
    return "\r\n".join(lines) + "\r\n"


def tree(root, files, folders):
    rng = random.Random(1)
    os.makedirs(root, exist_ok=True)
    # Real Favorites trees are wide and shallow: a folder is added less
    # often the deeper its parent lies (most land three or four levels
    # down) and never below MAX_DEPTH.
    dirs = [root]
    depth = {root: 0}
    while len(dirs) < folders:
        parent = rng.choice(dirs)
        d = depth[parent]
        if d >= MAX_DEPTH or rng.random() > DEEPER[d]:
            continue
        name = title(rng, rng.randint(1, 3))
        path = os.path.join(parent, name)
        if os.path.exists(path):
            continue
        os.mkdir(path)
        dirs.append(path)
        depth[path] = depth[parent] + 1
    made = 0
    while made < files:
        d = rng.choice(dirs)
        name = title(rng) + ".url"
        path = os.path.join(d, name)
        if os.path.exists(path):
            continue
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(shortcut(rng, address(rng)))
        made += 1
    print("%s: %d shortcut files in %d folders" % (root, made, len(dirs)))


def html(path, links):
    rng = random.Random(2)
    out = ["<!DOCTYPE NETSCAPE-Bookmark-file-1>",
           "<!-- This is an automatically generated file.",
           "     It will be read and overwritten.",
           "     DO NOT EDIT! -->",
           '<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">',
           "<TITLE>Bookmarks</TITLE>", "<H1>Bookmarks</H1>", "<DL><p>"]
    depth = 1
    made = 0
    seen = []
    stamp = 1600000000
    while made < links:
        r = rng.random()
        ind = "    " * depth
        if r < 0.02 and depth < 8:
            stamp += rng.randint(1, 5000)
            out.append('%s<DT><H3 ADD_DATE="%d" LAST_MODIFIED="%d">%s</H3>' % (ind, stamp, stamp + 7, title(rng, 2)))
            out.append("%s<DL><p>" % ind)
            depth += 1
        elif r < 0.04 and depth > 1:
            depth -= 1
            out.append("%s</DL><p>" % ("    " * depth))
        else:
            # Browser exports carry duplicates: re-bookmarked pages.
            url = rng.choice(seen) if seen and rng.random() < 0.1 else address(rng)
            if len(seen) < 50000:
                seen.append(url)
            stamp += rng.randint(1, 500)
            out.append('%s<DT><A HREF="%s" ADD_DATE="%d" LAST_VISIT="%d" LAST_MODIFIED="%d">%s</A>'
                       % (ind, url.replace("&", "&amp;"), stamp, stamp + 99, stamp, title(rng)))
            if rng.random() < 0.03:
                out.append("%s<DD>%s" % (ind, title(rng, 8)))
            made += 1
    while depth > 1:
        depth -= 1
        out.append("%s</DL><p>" % ("    " * depth))
    out.append("</DL><p>")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(out) + "\r\n")
    print("%s: %d links, %d lines" % (path, made, len(out)))


def gif(path, size, noise=False):
    # The GIF writer and LZW encoder of the picture tests.
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "viewer", "data"))
    import make_pictures
    levels = [0, 51, 102, 153, 204, 255]
    pal = [(r, g, b) for r in levels for g in levels for b in levels] + [(v, v, v) for v in range(0, 256, 7)][:40]
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    rng = random.Random(3)
    idx = []
    for y in range(size):
        for x in range(size):
            # Soft colour waves, ordered dithering to the 6 x 6 x 6 cube.
            u, v = x / size, y / size
            r = 0.5 + 0.5 * math.sin(6.0 * u + 2.0 * math.sin(5.0 * v))
            g = 0.5 + 0.5 * math.sin(7.0 * v + 3.0 * u * v)
            b = 0.5 + 0.5 * math.cos(4.0 * (u - v) + 1.5)
            d = (bayer[y % 4][x % 4] + 0.5) / 16
            q = [min(5, int(c * 5 + d)) for c in (r, g, b)]
            idx.append(rng.randrange(256) if noise else 36 * q[0] + 6 * q[1] + q[2])
    make_pictures.gif(path, size, size, [dict(w=size, h=size, idx=idx)], pal=pal)
    print("%s: %d x %d, %d bytes" % (path, size, size, os.path.getsize(path)))


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = p.add_subparsers(dest="what", required=True)
    t = sub.add_parser("tree")
    t.add_argument("dir")
    t.add_argument("--files", type=int, default=100000)
    t.add_argument("--folders", type=int, default=5000)
    h = sub.add_parser("html")
    h.add_argument("file")
    h.add_argument("--links", type=int, default=1000000)
    g = sub.add_parser("gif")
    g.add_argument("file")
    g.add_argument("--size", type=int, default=1000)
    g.add_argument("--noise", action="store_true")
    a = p.parse_args()
    if a.what == "tree":
        tree(a.dir, a.files, a.folders)
    elif a.what == "gif":
        gif(a.file, a.size, a.noise)
    else:
        html(a.file, a.links)


if __name__ == "__main__":
    main()
