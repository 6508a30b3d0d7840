"""The list of quorvane-cli invocations both binaries run.

A case id reads COMMAND/VARIANT/SUBJECT, for example
`convert/.lbm--packbits/corpus/iff/x.iff` or `usage/resize/size-missing-value`;
allow lists match them with shell-style patterns.
"""

from __future__ import annotations

import dataclasses
from pathlib import Path

# Categories, as the report groups them.
CORPUS = "corpus"
SAMPLES = "samples"
FIXTURES = "fixtures"
COORDINATES = "coordinates"
ERRORS = "errors"
USAGE = "usage (lenient)"

# The output extensions (and their options) every input is converted to.
CONVERT_VARIANTS = [
    (".tif", []),
    (".tif", ["--packbits"]),
    (".tif", ["--no-geotiff"]),
    (".bmp", []),
    (".png", []),
    (".jpg", []),
    (".gif", []),
    (".pcx", []),
    (".lbm", []),
    (".lbm", ["--packbits"]),
]
# Spellings only worth trying on the bundled sample: other case, long
# extensions, and names that fall back to a Windows bitmap.
EXTRA_CONVERT_VARIANTS = [
    (".TIF", []),
    (".tiff", ["--packbits", "--no-geotiff"]),
    (".jpeg", []),
    (".PNG", []),
    (".tga", []),
    (".ico", []),
    (".xyz", []),
]

RESIZE_VARIANTS = [
    ("size-64x48", ["--size", "64x48"], ".tif"),
    ("size-33x17-box", ["--size", "33x17", "--filter", "box"], ".tif"),
    ("size-1x1-hermite", ["--size", "1x1", "--filter", "2"], ".bmp"),
    ("percent-50-mitchell", ["--percent", "50", "--filter", "mitchell"], ".tif"),
    ("percent-150-triangle-24bit", ["--percent", "150", "--filter", "triangle", "--force-24bit"],
     ".tif"),
    ("percent-75-bell", ["--percent", "75", "--filter", "bell"], ".bmp"),
    ("size-40x90-soft-24bit-1thread",
     ["--size", "40x90", "--filter", "soft", "--force-24bit", "--threads", "1"], ".png"),
]
TONE_VARIANTS = [
    ("brightness-70", ["--brightness", "70"], ".tif"),
    ("contrast-30-gamma-65", ["--contrast", "30", "--gamma", "65"], ".tif"),
    ("all-extremes", ["--brightness", "0", "--contrast", "100", "--gamma", "100"], ".bmp"),
    ("neutral", [], ".png"),
]
CROP_VARIANTS = [
    ("inside", ["--rect", "2,3,50,40"], ".tif"),
    ("reversed-corners", ["--rect", "50,40,2,3"], ".tif"),
    ("beyond-edges", ["--rect", "-10,-10,5,5"], ".bmp"),
    ("nothing-inside", ["--rect", "5000,5000,6000,6000"], ".tif"),
]
GEOREF_VARIANTS = [
    ("utm18n-30m", ["--base", "500000,4649776", "--scale", "30,30", "--zone", "18"], ".tif"),
    ("utm33s-fractions-packbits",
     ["--base", "1.5,-2.25", "--scale", "0.5,0.25", "--zone", "33", "--south", "--packbits"], ".tif"),
    ("utm60n-to-bitmap", ["--base", "0,0", "--scale", "1,1", "--zone", "60"], ".bmp"),
]
MEASURE_VARIANTS = [
    ("square-m-hectares",
     ["--points", "0,0 100,0 100,100 0,100", "--length-units", "Meters", "--area-units", "Hectres"]),
    ("segment-feet-acres", ["--points", "5,5 20,30", "--length-units", "3", "--area-units", "6"]),
    ("triangle-km-sqkm", ["--points", "0,0 10,0 10,10", "--length-units", "kM", "--area-units", "3"]),
    ("one-point-default-units", ["--points", "7,7"]),
    ("polyline-miles", ["--points", " -5,-5  400,30 12,900 ", "--length-units", "miles",
                        "--area-units", "Mi^2"]),
]

# (zone, south, east, north, datum or None)
UTM_POINTS = [
    (18, False, "500000", "4649776", "WGS 1984"),
    (18, False, "500000", "4649776", None),
    (33, True, "412345.5", "6543210.25", "22"),
    (1, False, "166021.44", "0", "wgs 1984"),
    (60, True, "833978.56", "1116915.04", "North American 1927"),
    (0, False, "500000", "5000000", "7"),
    (31, False, "160000", "9300000", "Adindan"),
    (12, True, "840000", "100", "99"),
    (12, False, "500000", "4000000", "-1"),
    (45, False, "nan", "4000000", "22"),
    (45, True, "500000", "inf", "22"),
    (45, False, "-inf", "+1e6", "3"),
]
UTM_DATUM_COUNT = 23

# (name, source under the corpus or None for samples/sample.tif, output
# extension, command and options). Each is made once by the baseline binary.
FIXTURE_SOURCES = {
    "sample": None,
    "palette-8bit": "gif/hopper.gif",
    "pal1-1bit": "bmp/pal1.bmp",
    "pal4-4bit": "bmp/pal4.bmp",
    "rgb555-15bit": "bmp/rgb16.bmp",
    "rgb565-16bit": "bmp/rgb16-565.bmp",
    "rgba-32bit": "png/basn6a08.png",
}


@dataclasses.dataclass
class Fixture:
    name: str
    source: str  # a FIXTURE_SOURCES key
    args: list[str]  # after "convert SOURCE name" or the command line with IN/OUT placeholders


@dataclasses.dataclass
class Case:
    id: str
    command: str  # as the report groups it, e.g. "info --json"
    category: str
    args: list[str]  # argv after the program name; outputs are relative to the case folder
    json_output: bool = False


def variant_token(extension: str, options: list[str]) -> str:
    return extension + "".join(options)


def fixture_list() -> list[Fixture]:
    fixtures = []
    for source in ("sample", "palette-8bit"):
        for extension, options in CONVERT_VARIANTS:
            suffix = "".join("-" + o.lstrip("-") for o in options)
            fixtures.append(Fixture(f"{source}{suffix}{extension}", source,
                                    ["convert", "IN", "OUT"] + options))
    for source in ("pal1-1bit", "pal4-4bit", "rgb555-15bit", "rgb565-16bit", "rgba-32bit"):
        for extension in (".bmp", ".tif"):
            fixtures.append(Fixture(f"{source}{extension}", source, ["convert", "IN", "OUT"]))
    fixtures.append(Fixture("palette-8bit-georef-south.tif", "palette-8bit",
                            ["georef", "IN", "OUT", "--base", "612345.5,7654321", "--scale",
                             "2.5,2.5", "--zone", "35", "--south"]))
    fixtures.append(Fixture("palette-8bit-small.bmp", "palette-8bit",
                            ["resize", "IN", "OUT", "--size", "40x30", "--filter", "box"]))
    return fixtures


class CaseBuilder:
    def __init__(self):
        self.cases: list[Case] = []

    def add(self, command, variant, subject, category, args, json_output=False):
        self.cases.append(Case(f"{command.split()[0]}/{variant}/{subject}", command, category,
                               [str(a) for a in args], json_output))

    def info(self, label, path, category):
        self.add("info", "text", label, category, ["info", path])
        self.add("info --json", "json", label, category, ["info", path, "--json"], True)

    def convert(self, label, path, category, variants=CONVERT_VARIANTS):
        for extension, options in variants:
            self.add("convert", variant_token(extension, options), label, category,
                     ["convert", path, "out" + extension] + options)

    def picture_operations(self, label, path, category):
        for command, variants in (("resize", RESIZE_VARIANTS), ("tone", TONE_VARIANTS),
                                  ("crop", CROP_VARIANTS)):
            for variant, options, extension in variants:
                self.add(command, variant, label, category,
                         [command, path, "out" + extension] + options)

    def geo_operations(self, label, path, category):
        for variant, options, extension in GEOREF_VARIANTS:
            self.add("georef", variant, label, category,
                     ["georef", path, "out" + extension] + options)
        for variant, options in MEASURE_VARIANTS:
            self.add("measure", variant, label, category, ["measure", path] + options)
            self.add("measure --json", variant + "-json", label, category,
                     ["measure", path] + options + ["--json"], True)


def corpus_files(corpus: Path, quick: bool) -> list[Path]:
    """Every file of the corpus; with `quick`, the first two of each folder."""
    if not corpus.is_dir():
        return []
    files = sorted(p for p in corpus.rglob("*") if p.is_file())
    if not quick:
        return files
    chosen, per_folder = [], {}
    for path in files:
        count = per_folder.get(path.parent, 0)
        if count < 2:
            chosen.append(path)
        per_folder[path.parent] = count + 1
    return chosen


def is_geotiff_input(relative: str) -> bool:
    return relative.startswith("geotiff/")


def build_cases(corpus: Path, samples: Path, fixtures: dict[str, Path], quick: bool) -> list[Case]:
    """All cases; `fixtures` maps fixture names to the files the baseline made.
    With `quick`, two files per corpus folder, and only the TIFF fixtures go
    through resize, tone and crop."""
    b = CaseBuilder()
    for path in corpus_files(corpus, quick):
        relative = path.relative_to(corpus).as_posix()
        label = "corpus/" + relative
        b.info(label, path, CORPUS)
        b.convert(label, path, CORPUS)
        if is_geotiff_input(relative):
            b.picture_operations(label, path, CORPUS)
            b.geo_operations(label, path, CORPUS)
    for path in sorted(p for p in samples.rglob("*") if p.is_file()):
        label = "samples/" + path.relative_to(samples).as_posix()
        b.info(label, path, SAMPLES)
        b.convert(label, path, SAMPLES, CONVERT_VARIANTS + EXTRA_CONVERT_VARIANTS)
        b.picture_operations(label, path, SAMPLES)
        b.geo_operations(label, path, SAMPLES)
    for name, path in sorted(fixtures.items()):
        label = "fixtures/" + name
        b.info(label, path, FIXTURES)
        b.convert(label, path, FIXTURES)
        if path.suffix == ".tif":
            b.picture_operations(label, path, FIXTURES)
            b.geo_operations(label, path, FIXTURES)
        elif not quick:
            b.picture_operations(label, path, FIXTURES)
    add_utm_cases(b)
    sample = samples / "sample.tif"
    add_error_cases(b, sample)
    add_usage_cases(b, sample)
    return b.cases


def add_utm_cases(b: CaseBuilder):
    for zone, south, east, north, datum in UTM_POINTS:
        args = ["utm", "--zone", zone] + (["--south"] if south else [])
        args += ["--east", east, "--north", north]
        if datum is not None:
            args += ["--datum", datum]
        subject = f"z{zone}{'S' if south else 'N'}-e{east}-n{north}-d{datum or 'default'}"
        subject = subject.replace(" ", "_")
        b.add("utm", "text", subject, COORDINATES, args)
        b.add("utm --json", "json", subject, COORDINATES, args + ["--json"], True)
    for datum in range(UTM_DATUM_COUNT):
        for south in (False, True):
            args = ["utm", "--zone", "32", "--east", "345678.9", "--north", "5432109.8",
                    "--datum", datum] + (["--south"] if south else [])
            b.add("utm --json", "json", f"datum{datum}-{'S' if south else 'N'}", COORDINATES,
                  args + ["--json"], True)


def add_error_cases(b: CaseBuilder, sample: Path):
    """Failures with exit status 1: their messages must stay the same."""
    b.add("info", "missing-file", "-", ERRORS, ["info", "no-such-file.tif"])
    b.add("info", "unknown-extension", "-", ERRORS, ["info", "picture.xyz"])
    b.add("convert", "missing-input", "-", ERRORS, ["convert", "no-such-file.png", "out.tif"])
    b.add("convert", "missing-output-folder", "-", ERRORS,
          ["convert", sample, "no-such-folder/out.tif"])
    b.add("measure", "missing-file", "-", ERRORS, ["measure", "no-such-file.tif", "--points", "1,1"])
    b.add("georef", "missing-file", "-", ERRORS,
          ["georef", "no-such-file.tif", "out.tif", "--base", "0,0", "--scale", "1,1", "--zone", "1"])
    for command, options in (("resize", ["--size", "10x10"]), ("tone", []),
                             ("crop", ["--rect", "0,0,5,5"])):
        b.add(command, "missing-file", "-", ERRORS, [command, "no-such-file.bmp", "out.bmp"] + options)


# Usage errors per command: (command, what, args after the command name).
# "IN" stands for the bundled sample; outputs never appear.
USAGE_CASES = [
    ("info", "no-file", []),
    ("info", "two-files", ["IN", "IN"]),
    ("info", "unknown-option", ["IN", "--bogus"]),
    ("info", "unknown-short-option", ["-x", "IN"]),
    ("convert", "no-files", []),
    ("convert", "one-file", ["IN"]),
    ("convert", "three-files", ["IN", "out.tif", "extra.tif"]),
    ("convert", "unknown-option", ["IN", "out.tif", "--bogus"]),
    ("resize", "no-files", ["--size", "10x10"]),
    ("resize", "no-size", ["IN", "out.tif"]),
    ("resize", "size-and-percent", ["IN", "out.tif", "--size", "10x10", "--percent", "50"]),
    ("resize", "size-missing-value", ["IN", "out.tif", "--size"]),
    ("resize", "size-one-number", ["IN", "out.tif", "--size", "10"]),
    ("resize", "size-not-numbers", ["IN", "out.tif", "--size", "axb"]),
    ("resize", "size-zero", ["IN", "out.tif", "--size", "0x10"]),
    ("resize", "size-negative", ["IN", "out.tif", "--size", "-5x10"]),
    ("resize", "size-too-large", ["IN", "out.tif", "--size", "99999999999x1"]),
    ("resize", "percent-not-number", ["IN", "out.tif", "--percent", "abc"]),
    ("resize", "percent-zero", ["IN", "out.tif", "--percent", "0"]),
    ("resize", "percent-negative", ["IN", "out.tif", "--percent", "-20"]),
    ("resize", "filter-index-out-of-range", ["IN", "out.tif", "--size", "10x10", "--filter", "9"]),
    ("resize", "filter-unknown-name", ["IN", "out.tif", "--size", "10x10", "--filter", "foo"]),
    ("resize", "threads-negative", ["IN", "out.tif", "--size", "10x10", "--threads", "-1"]),
    ("resize", "threads-not-number", ["IN", "out.tif", "--size", "10x10", "--threads", "x"]),
    ("resize", "unknown-option", ["IN", "out.tif", "--size", "10x10", "--bogus"]),
    ("tone", "no-files", []),
    ("tone", "brightness-too-high", ["IN", "out.tif", "--brightness", "101"]),
    ("tone", "contrast-negative", ["IN", "out.tif", "--contrast", "-1"]),
    ("tone", "gamma-not-number", ["IN", "out.tif", "--gamma", "x"]),
    ("tone", "gamma-fraction", ["IN", "out.tif", "--gamma", "50.5"]),
    ("tone", "gamma-missing-value", ["IN", "out.tif", "--gamma"]),
    ("tone", "unknown-option", ["IN", "out.tif", "--bogus"]),
    ("crop", "no-rect", ["IN", "out.tif"]),
    ("crop", "rect-three-numbers", ["IN", "out.tif", "--rect", "1,2,3"]),
    ("crop", "rect-not-numbers", ["IN", "out.tif", "--rect", "a,b,c,d"]),
    ("crop", "rect-fraction", ["IN", "out.tif", "--rect", "0,0,1.5,2"]),
    ("crop", "rect-missing-value", ["IN", "out.tif", "--rect"]),
    ("crop", "unknown-option", ["IN", "out.tif", "--rect", "0,0,5,5", "--bogus"]),
    ("utm", "no-options", []),
    ("utm", "no-zone", ["--east", "500000", "--north", "0"]),
    ("utm", "zone-61", ["--zone", "61", "--east", "500000", "--north", "0"]),
    ("utm", "zone-negative", ["--zone", "-1", "--east", "500000", "--north", "0"]),
    ("utm", "zone-not-number", ["--zone", "x", "--east", "500000", "--north", "0"]),
    ("utm", "east-not-number", ["--zone", "18", "--east", "abc", "--north", "0"]),
    ("utm", "east-missing-value", ["--zone", "18", "--north", "0", "--east"]),
    ("utm", "north-out-of-range", ["--zone", "18", "--east", "500000", "--north", "1e999"]),
    ("utm", "datum-unknown", ["--zone", "18", "--east", "500000", "--north", "0", "--datum", "foo"]),
    ("utm", "positional", ["--zone", "18", "--east", "500000", "--north", "0", "extra"]),
    ("utm", "unknown-option", ["--zone", "18", "--east", "500000", "--north", "0", "--bogus"]),
    ("measure", "no-file", ["--points", "1,1"]),
    ("measure", "no-points", ["IN"]),
    ("measure", "points-odd", ["IN", "--points", "1,2 3"]),
    ("measure", "points-not-numbers", ["IN", "--points", "a,b"]),
    ("measure", "length-units-out-of-range", ["IN", "--points", "1,1", "--length-units", "9"]),
    ("measure", "area-units-unknown", ["IN", "--points", "1,1", "--area-units", "foo"]),
    ("measure", "points-missing-value", ["IN", "--points"]),
    ("measure", "unknown-option", ["IN", "--points", "1,1", "--bogus"]),
    ("georef", "no-files", ["--base", "0,0", "--scale", "1,1", "--zone", "1"]),
    ("georef", "no-base", ["IN", "out.tif", "--scale", "1,1", "--zone", "1"]),
    ("georef", "base-one-number", ["IN", "out.tif", "--base", "1", "--scale", "1,1", "--zone", "1"]),
    ("georef", "scale-not-numbers",
     ["IN", "out.tif", "--base", "0,0", "--scale", "a,b", "--zone", "1"]),
    ("georef", "zone-0", ["IN", "out.tif", "--base", "0,0", "--scale", "1,1", "--zone", "0"]),
    ("georef", "zone-61", ["IN", "out.tif", "--base", "0,0", "--scale", "1,1", "--zone", "61"]),
    ("georef", "zone-missing-value", ["IN", "out.tif", "--base", "0,0", "--scale", "1,1", "--zone"]),
    ("georef", "unknown-option",
     ["IN", "out.tif", "--base", "0,0", "--scale", "1,1", "--zone", "1", "--bogus"]),
]


def add_usage_cases(b: CaseBuilder, sample: Path):
    for what, args in (("no-arguments", []), ("unknown-command", ["bogus"]), ("help", ["--help"]),
                       ("help-short", ["-h"])):
        b.cases.append(Case(f"usage/quorvane-cli/{what}", "quorvane-cli", USAGE, args))
    for command, what, args in USAGE_CASES:
        b.cases.append(Case(f"usage/{command}/{what}", command, USAGE,
                            [command] + [str(sample) if a == "IN" else a for a in args]))
