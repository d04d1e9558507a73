#!/usr/bin/env python3
"""kestrova-fix on a bearing log written by the program: its exit statuses, and its GeoJSON, KML
and GPX exports read back with GDAL's ogrinfo. The GeoJSON's coordinates are held to the log
and to the printed fix; KML and GPX must hold the same shapes.

Usage: tools/fix-export-test.py BIN_DIR LOG.csv"""
import json, math, os, re, subprocess, sys, tempfile

bin_dir, log = sys.argv[1], sys.argv[2]
fix_tool = os.path.join(bin_dir, "kestrova-fix")
problems = []


def check(ok, what):
    if not ok:
        problems.append(what)


def run(*args):
    return subprocess.run([fix_tool, *args], capture_output=True, text=True)


def shapes(path, *layers):
    """Every feature ogrinfo reads from path: its name and its points (longitude, latitude)."""
    out = subprocess.run(["ogrinfo", "-ro", "-al", "-q", path, *layers], capture_output=True,
                         text=True, check=True).stdout
    found = []
    for block in out.split("OGRFeature(")[1:]:
        name = re.search(r"^\s*[Nn]ame \(String\) = (.*)$", block, re.M)
        geometry = re.search(r"^\s*(?:POINT|LINESTRING|POLYGON|MULTILINESTRING)[^(]*\((.*)\)\s*$",
                             block, re.M)
        pairs = re.findall(r"(-?[\d.]+) (-?[\d.]+)", geometry.group(1))
        found.append((name.group(1) if name else "", [(float(a), float(b)) for a, b in pairs]))
    return found


def metres(a, b):
    """East and north from a to b, flat near a: good to a part in ten thousand within a few km."""
    r = 6371008.8
    return (math.radians(b[0] - a[0]) * r * math.cos(math.radians(a[1])),
            math.radians(b[1] - a[1]) * r)


with tempfile.TemporaryDirectory() as work:
    files = {ext: os.path.join(work, "out." + ext) for ext in ("geojson", "kml", "gpx")}
    done = run("--json", log, "--geojson", files["geojson"], "--kml", files["kml"],
               "--gpx", files["gpx"])
    check(done.returncode == 0, f"a fix exits 0, not {done.returncode}: {done.stderr}")
    result = json.loads(done.stdout)
    fix = (result["fix"]["longitude"], result["fix"]["latitude"])

    rows = [r.split(",") for r in open(log, encoding="utf-8").read().splitlines()[1:]]
    stations = [(float(r[6]), float(r[5])) for r in rows if r[5] and r[2] == "ABS"]
    geo = shapes(files["geojson"])
    named = {}
    for name, p in geo:
        named.setdefault(name.split(" ")[0], []).append(p)
    lines = named.get("bearing", [])
    check(sorted(p[0] for p in lines) == sorted(stations) and
          len(lines) == result["bearings"]["given"],
          f"{len(lines)} lines drawn from other places than the {len(stations)} positioned ABS rows")
    check(named.get("fix") == [[fix]], f"the fix point {named.get('fix')} is not the printed {fix}")
    check(named.get("track") == [[(float(r[6]), float(r[5])) for r in rows if r[5]]],
          "the track is not the log's positions")
    for name, p in geo:
        if name.endswith("ellipse"):
            radii = [math.hypot(*metres(fix, q)) for q in p]
            want = result["ellipse" + name.split(" ")[0]]
            check(abs(max(radii) - want["semi_major_m"]) < 0.01 * want["semi_major_m"] + 0.2 and
                  abs(min(radii) - want["semi_minor_m"]) < 0.01 * want["semi_major_m"] + 0.2,
                  f"{name} outline spans {min(radii):.1f} to {max(radii):.1f} m, not {want}")
    check(sum(1 for name, _ in geo if name.endswith("ellipse")) == 2, "two ellipses")
    # Each line runs past the fix, and those used pass within a few of the bearing's sigmas.
    sigma = math.radians(result["sigma_deg"])
    misses = 0
    for p in lines:
        e1, n1 = metres(p[0], p[-1])
        e2, n2 = metres(p[0], fix)
        check(math.hypot(e1, n1) > math.hypot(e2, n2), f"the line from {p[0]} stops short")
        misses += abs(math.atan2(e1 * n2 - n1 * e2, e1 * e2 + n1 * n2)) > 4 * sigma
    unused = result["bearings"]["given"] - result["bearings"]["used"]
    check(misses <= unused, f"{misses} lines miss the fix, but only {unused} were not used")

    def flat(found):
        return sorted(tuple((round(x, 6), round(y, 6)) for x, y in p) for _, p in found)

    check(flat(shapes(files["kml"])) == flat(geo), "the KML holds other shapes than the GeoJSON")
    check(flat(shapes(files["gpx"], "waypoints", "routes", "tracks")) == flat(geo),
          "the GPX holds other shapes than the GeoJSON")

    rel_only = os.path.join(work, "rel.csv")
    with open(rel_only, "w") as f:
        f.write("time,bearing,mode,signal,band,latitude,longitude\n"
                "2024-05-01 14:03:07.123,123.,REL,57,x,52.3,4.8\n")
    for args, status, what in (((), 2, "no log"), (("--bogus", log), 2, "an unknown option"),
                               (("--sigma", "abc", log), 2, "a sigma that is no number"),
                               (("--since", "yesterday", log), 2, "a time that is none"),
                               ((os.path.join(work, "missing.csv"),), 1, "a missing log"),
                               ((log, "--kml", os.path.join(work, "no", "x.kml")), 1,
                                "an export that cannot be written"),
                               ((rel_only,), 3, "a log without a usable bearing")):
        got = run(*args).returncode
        check(got == status, f"{what}: exit {got}, not {status}")

for p in problems:
    print("fix export test:", p)
print("fix export test:", "FAILED" if problems else "the exports read back as written")
sys.exit(1 if problems else 0)
