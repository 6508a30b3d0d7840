#!/usr/bin/env bash
# "scripts/build.sh bench" builds every benchmark the README tells users to
# run that way, the window's included: configured into a scratch folder, the
# build tree must hold their targets.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QUORVANE_BUILD_DIR="$work/bench" QUORVANE_CONFIGURE_ONLY=1 bash "$source_dir/scripts/build.sh" bench
targets=$(cmake --build "$work/bench" --target help)
for target in window_bench resize_page_window_bench tiff_decode_bench; do
  if ! grep -qw "$target" <<<"$targets"; then
    echo "scripts/build.sh bench does not build $target"
    exit 1
  fi
done
