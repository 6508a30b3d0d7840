#!/usr/bin/env python3
"""scripts/check-layers.py fails where it must: on a copy of the repository's
layer declarations and README, a test that includes a header of a layer above
its own and a layout table that misses a link are each reported."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

repo = pathlib.Path(__file__).resolve().parents[2]
check = repo / "scripts" / "check-layers.py"


def run(prepare):
    """Runs the check on a tree of empty layer folders changed by `prepare`."""
    with tempfile.TemporaryDirectory() as folder:
        root = pathlib.Path(folder)
        shutil.copy(repo / "CMakeLists.txt", root)
        shutil.copy(repo / "README.md", root)
        for layer in (repo / "src").iterdir():
            if layer.is_dir():
                (root / "src" / layer.name).mkdir(parents=True)
        (root / "tests" / "raster").mkdir(parents=True)
        prepare(root)
        done = subprocess.run([sys.executable, check, root], capture_output=True, text=True)
        return done.returncode, done.stderr


def upward_test_include(root):
    (root / "tests/raster/probe_test.cpp").write_text('#include "geo/geo_reference.h"\n')


def stale_table(root):
    readme = root / "README.md"
    readme.write_text(readme.read_text().replace("| `tiff`, `formats`, `anytiff`, `imaging` |",
                                                 "| `tiff`, `formats`, `raster` |"))


cases = [
    ("nothing changed", lambda root: None, 0, ""),
    ("a raster test includes geo/", upward_test_include, 1,
     "tests/raster/probe_test.cpp includes geo/"),
    ("the table misses io's links", stale_table, 1, "src/io/ may include formats, raster, tiff"),
]
failed = 0
for name, prepare, status, message in cases:
    got_status, stderr = run(prepare)
    if got_status != status or message not in stderr:
        print(f"{name}: exit {got_status} (wanted {status}), stderr: {stderr!r}", file=sys.stderr)
        failed += 1
sys.exit(1 if failed else 0)
