#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal
# build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
python3 scripts/check-layers.py
scripts/build.sh release
ctest --test-dir build --output-on-failure -j"$(nproc)"
scripts/build.sh sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)"
# Every fuzz target briefly (clang, AddressSanitizer + UBSan); fails on any finding.
scripts/fuzz.sh 20
