#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer over the whole core) and runs each one for
# SECONDS seconds:
#   scripts/fuzz.sh SECONDS [TARGET...]
# TARGET is the key of a format of the format table (src/io/format_table.cpp:
# tiff bmp pcx tga iff jpeg png gif ico ..., run by fuzz_format), any_tiff,
# or any_tiff_threads (the extended reader with threads, its peak memory held
# against the picture and reported as "memory: ..." lines) (default: all). Each target starts from the seeds our
# writers make, the sample corpus beside the repository when present, and
# what earlier runs found (build-fuzz/corpus/TARGET); the decoders run under a
# 16 MiB picture cap (fuzz/fuzz_check.h). QUORVANE_CORPUS_DIR names
# another place for the sample corpus. Exits non-zero on any
# finding; the input that triggered it is kept in build-fuzz/findings/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVANE_BUILD_FUZZ=ON -DQUORVANE_BUILD_TESTS=OFF -DQUORVANE_BUILD_GUI=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)"

read -r -a built <<<"$("$dir/fuzz/fuzz_format_list" | tr '\n' ' ') any_tiff any_tiff_threads"
targets=("$@")
((${#targets[@]})) || targets=("${built[@]}")

rm -rf "$dir/seeds"
"$dir/fuzz/fuzz_make_seeds" "$dir/seeds"
samples=${QUORVANE_CORPUS_DIR:-../shared/corpus}
# A format's samples are in the corpus folder of its key, TIFF's also in geotiff.
declare -A sample_dirs=([tiff]="tiff geotiff" [any_tiff]="tiff geotiff"
  [any_tiff_threads]="tiff geotiff")
# Seeds made for one target that also suit another.
declare -A shared_seeds=([any_tiff]=tiff [any_tiff_threads]=tiff)

failed=()
for t in "${targets[@]}"; do
  if [[ ! " ${built[*]} " == *" $t "* ]]; then
    echo "fuzz_$t: no such target (not a format of the table)" >&2
    failed+=("$t")
    continue
  fi
  work="$dir/corpus/$t" findings="$dir/findings/$t"
  mkdir -p "$work" "$findings"
  inputs=("$work")
  [ -d "$dir/seeds/$t" ] && inputs+=("$dir/seeds/$t")
  s=${shared_seeds[$t]:-}
  [ -n "$s" ] && [ -d "$dir/seeds/$s" ] && inputs+=("$dir/seeds/$s")
  for s in ${sample_dirs[$t]:-$t}; do [ -d "$samples/$s" ] && inputs+=("$samples/$s"); done
  echo "== fuzz_$t for ${seconds}s"
  case "$t" in any_tiff*) program="$dir/fuzz/fuzz_$t" ;; *) program="$dir/fuzz/fuzz_format" ;; esac
  if ! QUORVANE_FUZZ_FORMAT=$t ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
    UBSAN_OPTIONS=print_stacktrace=1 "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "${inputs[@]}" \
    >"$dir/fuzz_$t.log" 2>&1; then
    tail -n 60 "$dir/fuzz_$t.log" >&2
    failed+=("$t")
  fi
  grep -E "stat::number_of_executed_units|cov:" "$dir/fuzz_$t.log" | tail -n 2 || true
  grep -E "^memory: " "$dir/fuzz_$t.log" | tail -n 1 || true
done
if ((${#failed[@]})); then
  echo "fuzzing failed: ${failed[*]} (inputs in $dir/findings/)" >&2
  exit 1
fi
