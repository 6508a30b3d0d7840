#!/usr/bin/env bash
# Installs what is missing, builds, and opens the bundled sample GeoTIFF in
# the window when a display is available; reports it with the batch tool
# when none is.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec build/quorvane samples/sample.tif
fi
build/quorvane-cli info samples/sample.tif
