#!/usr/bin/env bash
# Installs what is missing, builds, and reports the bundled sample GeoTIFF.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
build/quorvane-cli info samples/sample.tif
