#!/usr/bin/env bash
# Resizes one 8000 x 6000 24-bit picture to 50% and to 150% with Lanczos3,
# Mitchell and B-spline, here and with libvips, ImageMagick and Pillow, on one
# thread and on two, and prints our time over the fastest other tool of the
# same kernel family:
#   in memory:  our resampler alone (bench/resample_bench) against each tool's
#               resize with its input already in memory (vips: a memory-mapped
#               .v file, output to tmpfs; ImageMagick: a memory-mapped .mpc
#               file, output discarded; Pillow: Image.resize timed in process);
#   end to end: `quorvane-cli resize` on uncompressed TIFF files (or writing
#               a Windows bitmap where TIFF output is not available) against
#               each tool's own command line on the same files.
# libvips enlarges with its bicubic interpolator whatever kernel it is given,
# so it is no anchor for 150%. Pillow always runs on one thread.
# The other tools are installed here only (Debian packages); the product and
# its tests never need them. Files live in /dev/shm so that no disk is timed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# Debian's interpreter, the one python3-pil installs into.
py=/usr/bin/python3
need=()
# Asked of dpkg, not of PATH: a command of the same name may be something else.
dpkg -s libvips-tools >/dev/null 2>&1 || need+=(libvips-tools)
dpkg -s imagemagick >/dev/null 2>&1 || need+=(imagemagick)
$py -c 'import PIL' 2>/dev/null || need+=(python3-pil)
if ((${#need[@]})); then
  echo "installing ${need[*]}" >&2
  apt-get install -y -qq "${need[@]}" >/dev/null
fi

scripts/build.sh release >/dev/null
scripts/build.sh bench >/dev/null

work=$(mktemp -d /dev/shm/quorvane-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT
# Debian's ImageMagick policy caps memory at 256 MiB and pictures at 16K
# pixels a side, which sends a picture of this size to a disk cache (or
# refuses it); these limits let it work in memory, as the others do.
mkdir -p "$work/magick"
cat >"$work/magick/policy.xml" <<'XML'
<policymap>
  <policy domain="resource" name="memory" value="8GiB"/>
  <policy domain="resource" name="map" value="16GiB"/>
  <policy domain="resource" name="disk" value="16GiB"/>
  <policy domain="resource" name="area" value="4GP"/>
  <policy domain="resource" name="width" value="64KP"/>
  <policy domain="resource" name="height" value="64KP"/>
</policymap>
XML
export MAGICK_CONFIGURE_PATH="$work/magick"
echo "load before: $(uptime)"

export MAGICK_CONVERT=/usr/bin/convert VIPS=/usr/bin/vips
$py - "$root" "$work" <<'EOF'
import json, os, statistics, subprocess, sys, time
from PIL import Image

root, work = sys.argv[1], sys.argv[2]
convert, vips = os.environ["MAGICK_CONVERT"], os.environ["VIPS"]
W, H = 8000, 6000
cli = os.path.join(root, "build/quorvane-cli")
bench = os.path.join(root, "build-bench/bench/resample_bench")
tif = os.path.join(work, "in.tif")
raw = os.path.join(work, "in.bgr")

# A picture with smooth gradients, fine noise and hard edges.
size = (W, H)
red = Image.linear_gradient("L").resize(size)
green = Image.effect_noise(size, 60)
blue = Image.radial_gradient("L").resize(size).point(lambda v: 255 if v % 64 < 32 else v)
picture = Image.merge("RGB", (red, green, blue))
picture.save(tif, compression=None)
with open(raw, "wb") as f:
    f.write(Image.merge("RGB", (blue, green, red)).tobytes())
subprocess.run([vips, "copy", tif, os.path.join(work, "in.v")], check=True)
subprocess.run([convert, tif, os.path.join(work, "in.mpc")], check=True)

def wall(command, env=None, runs=3):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        result = subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        times.append(time.perf_counter() - start)
        if result.returncode != 0:
            return None
    return statistics.median(times)

def env_with(**extra):
    env = dict(os.environ)
    env.update({k: str(v) for k, v in extra.items()})
    return env

# Ours in memory: every case in one run of the benchmark.
env = env_with(QUORVANE_BENCH_PICTURE=raw)
out = subprocess.run([bench, "--benchmark_filter=BM_Resample", "--benchmark_repetitions=3",
                      "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
                     env=env, check=True, capture_output=True, text=True).stdout
ours_memory = {}
for b in json.loads(out)["benchmarks"]:
    if b.get("aggregate_name") == "median":
        parts = b["run_name"].split("/")
        ours_memory[(int(parts[1]), int(parts[2]), int(parts[3]))] = b["real_time"] / 1000.0

pillow_memory = {}
def pillow_resize(percent):
    if percent not in pillow_memory:
        image = Image.open(tif)
        image.load()
        target = (W * percent // 100, H * percent // 100)
        times = []
        for _ in range(3):
            start = time.perf_counter()
            image.resize(target, Image.LANCZOS)
            times.append(time.perf_counter() - start)
        pillow_memory[percent] = statistics.median(times)
    return pillow_memory[percent]

families = [("lanczos3", 6, "lanczos3", "Lanczos", True),
            ("mitchell", 5, "mitchell", "Mitchell", False),
            ("bspline", 4, None, "Spline", False)]
rows = []
for percent in (50, 150):
    w, h = W * percent // 100, H * percent // 100
    scale = percent / 100.0
    for name, index, vips_kernel, magick_filter, pillow in families:
        for threads in (1, 2):
            memory, e2e = {}, {}
            out_tif = os.path.join(work, "out.tif")
            vips_env = env_with(VIPS_CONCURRENCY=threads)
            magick = [convert, "-limit", "thread", str(threads)]
            if vips_kernel and percent < 100:
                memory["vips"] = wall([vips, "resize", os.path.join(work, "in.v"),
                                       os.path.join(work, "out.v"), str(scale), "--kernel",
                                       vips_kernel], vips_env)
                e2e["vips"] = wall([vips, "resize", tif, out_tif, str(scale), "--kernel",
                                    vips_kernel], vips_env)
            memory["magick"] = wall(magick + [os.path.join(work, "in.mpc"), "-filter",
                                              magick_filter, "-resize", f"{w}x{h}!", "null:"])
            e2e["magick"] = wall(magick + [tif, "-filter", magick_filter, "-resize", f"{w}x{h}!",
                                           out_tif])
            if pillow:
                memory["pillow"] = pillow_resize(percent)
                e2e["pillow"] = wall([sys.executable, "-c",
                    "import sys; from PIL import Image; "
                    f"Image.open(sys.argv[1]).resize(({w}, {h}), Image.LANCZOS).save(sys.argv[2])",
                    tif, out_tif])
            ours_e2e = None
            for ours_out in (out_tif, os.path.join(work, "out.bmp")):
                ours_e2e = wall([cli, "resize", tif, ours_out, "--size", f"{w}x{h}", "--filter",
                                 str(index), "--threads", str(threads)])
                if ours_e2e is not None:
                    break
            rows.append((percent, name, threads, ours_memory.get((percent, index, threads)),
                         memory, ours_e2e, e2e))

def best(times):
    known = {k: v for k, v in times.items() if v is not None}
    if not known:
        return None, None
    tool = min(known, key=known.get)
    return tool, known[tool]

def fmt(v):
    return "   n/a" if v is None else f"{v:6.3f}"

print(f"{'case':<22}{'ours':>7}{'anchor':>16}{'ratio':>7}   |{'ours':>7}{'anchor':>16}{'ratio':>7}")
print(f"{'':<22}{'in memory (s)':>30}   |{'end to end (s)':>30}")
for percent, name, threads, ours_m, memory, ours_e, e2e in rows:
    tool_m, anchor_m = best(memory)
    tool_e, anchor_e = best(e2e)
    ratio_m = ours_m / anchor_m if ours_m and anchor_m else None
    ratio_e = ours_e / anchor_e if ours_e and anchor_e else None
    label = f"{percent}% {name} {threads}t"
    print(f"{label:<22}{fmt(ours_m):>7}{(tool_m or '-') + ' ' + fmt(anchor_m):>16}"
          f"{fmt(ratio_m):>7}   |{fmt(ours_e):>7}{(tool_e or '-') + ' ' + fmt(anchor_e):>16}"
          f"{fmt(ratio_e):>7}")
EOF
echo "load after: $(uptime)"
