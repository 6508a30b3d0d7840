#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh [release|sanitize|bench]
# QUORVANE_BUILD_DIR names another tree; QUORVANE_CONFIGURE_ONLY=1 stops
# after configuring (the tests check what each kind builds that way).
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-release}
case "$kind" in
  release) dir=build; flags=(-DCMAKE_BUILD_TYPE=Release) ;;
  sanitize) dir=build-sanitize; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_SANITIZE=ON) ;;
  # The window stays in: its benchmarks are among those built.
  bench) dir=build-bench; flags=(-DCMAKE_BUILD_TYPE=Release -DQUORVANE_BUILD_BENCH=ON -DQUORVANE_BUILD_TESTS=OFF) ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac
dir=${QUORVANE_BUILD_DIR:-$dir}
cmake -S . -B "$dir" "${flags[@]}" >/dev/null
if [ "${QUORVANE_CONFIGURE_ONLY:-0}" = 1 ]; then exit 0; fi
cmake --build "$dir" -j"$(nproc)"
