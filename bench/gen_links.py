#!/usr/bin/env python3
"""Writes a bookmark HTML file of about N lines for timing the clean-ups.

Usage: gen_links.py OUTPUT [--lines N] [--folder-size K] [--dupes PERCENT] [--seed S]

Links come in folders of K links (K = 0: one folder holding every link), a
share of them repeating an earlier address, with mixed-case, accented (UTF-8)
and plain descriptions.
"""
import argparse
import random

WORDS = ["alpha", "Beta", "gamma", "Delta", "\u00e9cole", "Zebra", "\u00d6l", "news",
         "Weather", "radar", "cpp", "Qt", "docs", "Wiki", "science", "arXiv"]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("output")
    ap.add_argument("--lines", type=int, default=1_000_000)
    ap.add_argument("--folder-size", type=int, default=200)
    ap.add_argument("--dupes", type=int, default=10)
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    rng = random.Random(a.seed)
    out = ["<!DOCTYPE NETSCAPE-Bookmark-file-1>", "<TITLE>Bookmarks</TITLE>",
           "<H1>Bookmarks</H1>", "<DL><p>"]
    addresses = []
    folder = 0
    in_folder = a.folder_size  # forces a heading first
    while len(out) < a.lines - 1:
        if a.folder_size and in_folder >= a.folder_size:
            if folder:
                out.append("</DL><p>")
            folder += 1
            out += ["<DT><H3>Folder %d</H3>" % folder, "<DL><p>"]
            in_folder = 0
        if addresses and rng.randrange(100) < a.dupes:
            address = rng.choice(addresses)
        else:
            address = "https://www.example%d.org/page/%d" % (rng.randrange(1000), len(addresses))
            addresses.append(address)
        description = " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 4)))
        out.append('<DT><A HREF="%s">%s</A>' % (address, description))
        in_folder += 1
    if folder:
        out.append("</DL><p>")
    out.append("</DL><p>")
    with open(a.output, "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(out) + "\r\n")


if __name__ == "__main__":
    main()
