#!/usr/bin/env bash
# quorvane-cli against libvips on the batch jobs, end to end on strip TIFFs:
# resize 50% with Lanczos3 (vips on one thread and on two), convert TIFF to
# TIFF (vips copy), crop of the top-left quarter (vips crop) and the header
# report (vipsheader). For each picture size (default 8000x6000 and
# 30000x20000, RGB) it prints the median wall time of RUNS runs and the peak
# resident memory (/usr/bin/time) of both tools, and our time over theirs.
#   bench/cli_vs_vips.sh [CLI] [SIZES...]     e.g. bench/cli_vs_vips.sh build/quorvane-cli 8000x6000
# libvips is installed for this comparison only (Debian libvips-tools). The
# files go to $QUORVANE_BENCH_DIR (default /dev/shm when it has room, else
# /tmp): a 30000x20000 picture takes 1.8 GB, its outputs as much again.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(realpath "${1:-build/quorvane-cli}")
shift || true
sizes=("$@")
((${#sizes[@]})) || sizes=(8000x6000 30000x20000)
runs=${RUNS:-3}
dpkg -s libvips-tools >/dev/null 2>&1 || apt-get install -y -qq libvips-tools >/dev/null
dir=${QUORVANE_BENCH_DIR:-/dev/shm/quorvane-cli-bench}
mkdir -p "$dir"
trap 'rm -rf "$dir"' EXIT

# Median seconds and peak resident MB of a command, over $runs runs.
measure() {
  local times=() peak=0 line
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -o "$dir/time" -f '%e %M' "$@" >/dev/null 2>&1
    line=$(tail -1 "$dir/time")
    times+=("${line% *}")
    ((${line#* } > peak)) && peak=${line#* }
  done
  printf '%s %d\n' "$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p")" $((peak / 1024))
}

row() {  # NAME "OUR COMMAND" "THEIR COMMAND" [ENV]
  local ours theirs
  ours=$(measure bash -c "$2")
  theirs=$(measure bash -c "$3")
  awk -v n="$1" -v o="$ours" -v t="$theirs" 'BEGIN {
    split(o, a, " "); split(t, b, " ");
    printf "%-28s %8.2f s %6d MB   %8.2f s %6d MB   %5.2fx\n", n, a[1], a[2], b[1], b[2], a[1] / b[1] }'
}

for size in "${sizes[@]}"; do
  w=${size%x*} h=${size#*x}
  in=$dir/in-$size.tif
  # Uncompressed RGB strips, as scanners and GIS tools write them.
  vips black "$dir/black.v" "$w" "$h" --bands 3
  vips gaussnoise "$dir/noise.v" "$w" "$h" --mean 128 --sigma 60
  vips bandjoin "$dir/noise.v $dir/noise.v $dir/noise.v" "$dir/rgb.v"
  vips cast "$dir/rgb.v" "$in" uchar
  rm -f "$dir"/*.v
  echo "== $size RGB ($(du -h "$in" | cut -f1))   quorvane-cli              libvips          ours/theirs"
  row "resize 50% lanczos3, 1 thr" \
    "'$cli' resize '$in' '$dir/r.tif' --percent 50 --filter lanczos3 --threads 1" \
    "VIPS_CONCURRENCY=1 vips resize '$in' '$dir/v.tif' 0.5 --kernel lanczos3"
  row "resize 50% lanczos3, 2 thr" \
    "'$cli' resize '$in' '$dir/r.tif' --percent 50 --filter lanczos3 --threads 2" \
    "VIPS_CONCURRENCY=2 vips resize '$in' '$dir/v.tif' 0.5 --kernel lanczos3"
  row "convert TIFF to TIFF" "'$cli' convert '$in' '$dir/c.tif'" "vips copy '$in' '$dir/v.tif'"
  row "crop a quarter" "'$cli' crop '$in' '$dir/q.tif' --rect 0,0,$((w / 2)),$((h / 2))" \
    "vips crop '$in' '$dir/v.tif' 0 0 $((w / 2)) $((h / 2))"
  row "info" "'$cli' info '$in'" "vipsheader '$in'"
  rm -f "$dir"/*.tif
done
