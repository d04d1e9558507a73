#!/usr/bin/env python3
"""Makes and shows the recordings the golden tests replay (tests/golden/*.rec).

  tools/golden-rec.py make TEXT REC   one chunk a line: "MS BYTES", the bytes with Python
                                      escapes (\\r \\n \\x07); "#" lines and blank lines skipped
  tools/golden-rec.py show REC        the chunks in that form, to edit and make again

The recording format is the program's own (output/Recording.h).
"""
import ast
import sys

MAGIC = b"KESTROVA-REC 1"


def make(text_path, rec_path):
    out = bytearray(MAGIC + b" golden\n")
    for n, line in enumerate(open(text_path, encoding="latin-1"), 1):
        line = line.rstrip("\n")
        if not line.strip() or line.startswith("#"):
            continue
        ms, _, body = line.partition(" ")
        data = ast.literal_eval('"' + body.replace('"', '\\"') + '"').encode("latin-1")
        out += b"%d %d\n" % (int(ms), len(data)) + data + b"\n"
    open(rec_path, "wb").write(out)


def show(rec_path):
    data = open(rec_path, "rb").read()
    at = data.index(b"\n") + 1
    while at < len(data):
        lf = data.index(b"\n", at)
        ms, length = (int(x) for x in data[at:lf].split())
        body = data[lf + 1:lf + 1 + length]
        text = "".join(chr(b) if 32 <= b < 127 and b != 92 else "\\x%02x" % b for b in body)
        print(ms, text.replace("\\x0d", "\\r").replace("\\x0a", "\\n"))
        at = lf + 1 + length + 1


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "make":
        make(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 3 and sys.argv[1] == "show":
        show(sys.argv[2])
    else:
        sys.exit(__doc__)
