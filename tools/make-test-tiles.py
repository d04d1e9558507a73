#!/usr/bin/env python3
"""Makes a small set of map tiles of a plain pattern, for trying the map without real tiles:
a z/x/y.png folder and the same tiles as an MBTiles file. Standard library only; nothing is
fetched from anywhere.

Usage: tools/make-test-tiles.py [--folder DIR] [--mbtiles FILE] [--around LAT LON]
                                [--radius-km R] [--zooms LO-HI]

Each tile is a pale colour that tells its column and row: red 214 + 5 (x mod 8), green
226 + 3 (y mod 8), blue 200; white roads cross it at 64 and 192 pixels, and its last row and
column are a shade darker, so tile edges show. The MBTiles file numbers rows from the bottom,
as the format does.
"""
import argparse
import json
import math
import os
import sqlite3
import struct
import zlib

SIDE = 256
ROADS = (64, 192)
ROAD_WIDTH = 4
ATTRIBUTION = "Test pattern made by make-test-tiles.py"


def colour(x, y):
    return (214 + 5 * (x % 8), 226 + 3 * (y % 8), 200)


def png(x, y):
    base = bytes(colour(x, y))
    edge = bytes(c - 30 for c in base)
    white = b"\xff\xff\xff"
    row = bytearray(base * SIDE)
    for r in ROADS:
        row[3 * r:3 * (r + ROAD_WIDTH)] = white * ROAD_WIDTH
    row[-3:] = edge
    road_row = bytearray(white * SIDE)
    road_row[-3:] = edge
    rows = []
    for i in range(SIDE):
        if i == SIDE - 1:
            rows.append(bytes(edge * SIDE))
        elif any(r <= i < r + ROAD_WIDTH for r in ROADS):
            rows.append(bytes(road_row))
        else:
            rows.append(bytes(row))
    raw = b"".join(b"\x00" + r for r in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIDE, SIDE, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 6))
            + chunk(b"IEND", b""))


def tile_of(lat, lon, z):
    n = 2 ** z
    x = int((lon + 180) / 360 * n)
    phi = math.radians(lat)
    y = int((1 - math.asinh(math.tan(phi)) / math.pi) / 2 * n)
    return min(max(x, 0), n - 1), min(max(y, 0), n - 1)


def tiles(lat, lon, radius_km, zooms):
    dlat = radius_km / 111.32
    dlon = radius_km / (111.32 * max(math.cos(math.radians(lat)), 0.01))
    for z in zooms:
        x0, y0 = tile_of(lat + dlat, lon - dlon, z)
        x1, y1 = tile_of(lat - dlat, lon + dlon, z)
        for x in range(x0, x1 + 1):
            for y in range(y0, y1 + 1):
                yield z, x, y


def main():
    a = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    a.add_argument("--folder")
    a.add_argument("--mbtiles")
    a.add_argument("--around", nargs=2, type=float, default=(52.0, 5.0), metavar=("LAT", "LON"))
    a.add_argument("--radius-km", type=float, default=8.0)
    a.add_argument("--zooms", default="8-14")
    args = a.parse_args()
    lo, hi = (int(z) for z in args.zooms.split("-"))
    db = None
    if args.mbtiles:
        os.makedirs(os.path.dirname(os.path.abspath(args.mbtiles)), exist_ok=True)
        if os.path.exists(args.mbtiles):
            os.remove(args.mbtiles)
        db = sqlite3.connect(args.mbtiles)
        db.execute("CREATE TABLE metadata (name TEXT, value TEXT)")
        db.execute("CREATE TABLE tiles (zoom_level INTEGER, tile_column INTEGER, "
                   "tile_row INTEGER, tile_data BLOB)")
        db.execute("CREATE UNIQUE INDEX tile_index ON tiles (zoom_level, tile_column, tile_row)")
        db.executemany("INSERT INTO metadata VALUES (?, ?)", [
            ("name", "test pattern"), ("format", "png"), ("minzoom", str(lo)),
            ("maxzoom", str(hi)), ("attribution", ATTRIBUTION)])
    count = 0
    for z, x, y in tiles(*args.around, args.radius_km, range(lo, hi + 1)):
        data = png(x, y)
        if args.folder:
            os.makedirs(os.path.join(args.folder, str(z), str(x)), exist_ok=True)
            with open(os.path.join(args.folder, str(z), str(x), f"{y}.png"), "wb") as f:
                f.write(data)
        if db:
            db.execute("INSERT INTO tiles VALUES (?, ?, ?, ?)", (z, x, 2 ** z - 1 - y, data))
        count += 1
    if args.folder:
        with open(os.path.join(args.folder, "metadata.json"), "w") as f:
            json.dump({"name": "test pattern", "attribution": ATTRIBUTION}, f)
    if db:
        db.commit()
        db.close()
    print(f"{count} tiles")


if __name__ == "__main__":
    main()
