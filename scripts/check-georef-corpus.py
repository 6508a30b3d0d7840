#!/usr/bin/env python3
"""Checks quorvane-cli's georeferences against GDAL's command-line tools, over
every GeoTIFF of the corpus and a few files GDAL makes itself:
- convert, crop, resize and tone keep the coordinate system GDAL reads from
  the input and its geotransform (or ground control points), moved by the
  crop and scaled by the resize;
- `locate` gives the map position gdaltransform gives, and the longitude and
  latitude within 1e-7 degrees for systems on WGS 84 (or ETRS89, which PROJ
  takes as the same without a grid).

usage: scripts/check-georef-corpus.py [--cli PATH] [--corpus DIR] [--verbose]
Prints one line per file and check that differs and a closing count line;
exit status 1 when any does."""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def gdal_info(path):
    run = subprocess.run(["gdalinfo", "-json", path], capture_output=True, text=True)
    if run.returncode != 0:
        return None
    info = json.loads(run.stdout)
    gcps = info.get("gcps", {})
    return {
        "size": info["size"],
        "wkt": info.get("coordinateSystem", {}).get("wkt", ""),
        "gt": info.get("geoTransform"),
        "gcp_wkt": gcps.get("coordinateSystem", {}).get("wkt", ""),
        "gcps": [(g["pixel"], g["line"], g["x"], g["y"]) for g in gcps.get("gcpList", [])],
    }


def near(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))


def expected_after(info, left, top, fx, fy):
    """The input's georeference after a crop at (left, top) and a resize that
    makes a pixel fx by fy of the input's."""
    out = dict(info)
    if info["gt"]:
        g = info["gt"]
        ox = g[0] + left * g[1] + top * g[2]
        oy = g[3] + left * g[4] + top * g[5]
        out["gt"] = [ox, g[1] * fx, g[2] * fy, oy, g[4] * fx, g[5] * fy]
    out["gcps"] = [((p - left) / fx, (l - top) / fy, x, y) for p, l, x, y in info["gcps"]]
    return out


def same_system(a, b):
    """The same WKT, or the same EPSG system written two ways (a file with
    only the projected system's code gets the database's own datum
    ensemble)."""
    if a == b:
        return True
    code = re.compile(r'ID\["EPSG",(\d+)\]\]\s*$')
    ma, mb = code.search(a), code.search(b)
    return bool(ma and mb and ma.group(1) == mb.group(1))


def differences(want, got):
    found = []
    if not same_system(want["wkt"], got["wkt"]) or not same_system(want["gcp_wkt"], got["gcp_wkt"]):
        found.append("coordinate system")
    if (want["gt"] is None) != (got["gt"] is None) or (
        want["gt"] and not all(near(a, b) for a, b in zip(want["gt"], got["gt"]))
    ):
        found.append("geotransform %s != %s" % (got["gt"], want["gt"]))
    if len(want["gcps"]) != len(got["gcps"]) or not all(
        near(a, b) for p, q in zip(want["gcps"], got["gcps"]) for a, b in zip(p, q)
    ):
        found.append("ground control points")
    return found


def commands(info):
    w, h = info["size"]
    left, top = w // 4, h // 4
    right, bottom = max(left + 1, w - w // 4), max(top + 1, h - h // 4)
    dw, dh = max(1, w // 2), max(1, h // 2)
    return [
        ("convert", [], (0, 0, 1, 1)),
        ("crop", ["--rect", "%d,%d,%d,%d" % (left, top, right, bottom)], (left, top, 1, 1)),
        ("resize", ["--size", "%dx%d" % (dw, dh)], (0, 0, w / dw, h / dh)),
        ("tone", ["--brightness", "10"], (0, 0, 1, 1)),
    ]


# Files GDAL makes with a system given by code: (name, code, upper-left x and
# y, lower-right x and y).
MADE = [
    ("swiss_2056", 2056, 2600000, 1200000, 2602000, 1199000),
    ("british_27700", 27700, 530000, 180000, 532000, 179000),
    ("lambert93_2154", 2154, 650000, 6860000, 652000, 6859000),
    ("polar_3413", 3413, -1000000, -1000000, -998000, -1001000),
    ("geographic_4326", 4326, 5.5, 46.5, 7.5, 45.5),
]


def made_files(folder):
    for name, code, ulx, uly, lrx, lry in MADE:
        path = os.path.join(folder, name + ".tif")
        subprocess.run(["gdal_create", "-q", "-of", "GTiff", "-outsize", "20", "10", "-bands",
                        "1", "-ot", "Byte", "-a_srs", "EPSG:%d" % code, "-a_ullr", str(ulx),
                        str(uly), str(lrx), str(lry), path], check=True)
        yield path, False


def transform(path, x, y, to=None):
    line = ["gdaltransform", "-output_xy"] + (["-t_srs", to] if to else []) + [path]
    run = subprocess.run(line, input="%r %r\n" % (x, y), capture_output=True, text=True)
    values = run.stdout.split()
    return tuple(map(float, values[:2])) if len(values) >= 2 else None


def on_wgs84(wkt):
    datum = re.search(r'(DATUM|ENSEMBLE)\["([^"]*)"', wkt)
    return bool(datum and re.search("World Geodetic System 1984|ETRS89|European Terrestrial",
                                    datum.group(2)))


def location_differences(cli, path, any_tiff, info):
    """Our readout at a third of the picture against gdaltransform's."""
    if info["gt"] is None:
        return []
    w, h = info["size"]
    x, y = w // 3, h // 3
    run = subprocess.run([cli, "locate", path, "--pixel", "%d,%d" % (x, y), "--datum",
                          "WGS 1984", "--json"] + (["--any-tiff"] if any_tiff else []),
                         capture_output=True, text=True)
    if run.returncode != 0:
        return ["locate failed: " + run.stderr.strip()]
    ours = json.loads(run.stdout)
    if ours["crs"] is None or ours["zone"] != "":
        return []  # no system PROJ knows, or a UTM zone of the table
    found = []
    grid = transform(path, x, y)
    if not grid or not near(grid[0], ours["x"]) or not near(grid[1], ours["y"]):
        found.append("map position %s != %s" % ((ours["x"], ours["y"]), grid))
    if on_wgs84(info["wkt"]):
        geo = transform(path, x, y, "+proj=longlat +datum=WGS84")
        if not geo or abs(geo[0] - ours["longitude"]) > 1e-7 or abs(
                geo[1] - ours["latitude"]) > 1e-7:
            found.append("longitude/latitude %s != %s" % (
                (ours["longitude"], ours["latitude"]), geo))
    return found


def corpus_files(corpus):
    folder = os.path.join(corpus, "geotiff")
    for sub, any_tiff in (("", False), ("derived", False), ("unsupported", True)):
        here = os.path.join(folder, sub)
        for name in sorted(os.listdir(here)):
            if name.lower().endswith((".tif", ".tiff")):
                yield os.path.join(here, name), any_tiff


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default=os.path.join(REPO, "build", "quorvane-cli"))
    parser.add_argument("--corpus", default=os.environ.get(
        "QUORVANE_CORPUS_DIR", os.path.join(REPO, "..", "shared", "corpus")))
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    kept = failed = skipped = 0
    with tempfile.TemporaryDirectory() as temp:
        out = os.path.join(temp, "out.tif")
        files = list(corpus_files(args.corpus)) if os.path.isdir(args.corpus) else []
        if not files:
            print("corpus not found: %s (only the files GDAL makes are checked)" % args.corpus)
            if os.environ.get("QUORVANE_REQUIRE_CORPUS") == "1":
                return 1
        for path, any_tiff in files + list(made_files(temp)):
            name = os.path.relpath(path, args.corpus) if path in dict(files) else os.path.basename(path)
            source = gdal_info(path)
            if source is None:
                skipped += 1
                continue
            ok = True
            for command, extra, (left, top, fx, fy) in commands(source):
                line = [args.cli, command, path, out] + extra + (["--any-tiff"] if any_tiff else [])
                run = subprocess.run(line, capture_output=True, text=True)
                if run.returncode != 0:
                    # A file our readers refuse is no georeference lost.
                    print("%s %s: not opened: %s" % (name, command, run.stderr.strip()))
                    skipped += 1
                    ok = None
                    break
                found = differences(expected_after(source, left, top, fx, fy), gdal_info(out))
                if found:
                    ok = False
                    print("%s %s: %s" % (name, command, "; ".join(found)))
            if ok is not None:
                for found in location_differences(args.cli, path, any_tiff, source):
                    ok = False
                    print("%s locate: %s" % (name, found))
            if ok:
                kept += 1
                if args.verbose:
                    print("%s: kept" % name)
            elif ok is False:
                failed += 1
    print("georef: %d passed, %d failed, %d skipped" % (kept, failed, skipped))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
