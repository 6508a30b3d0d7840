#!/usr/bin/env bash
# Renders the program's icon, desktop/quorvane.svg, to the PNG sizes the
# desktop's icon theme needs (48 and 256 pixels), beside it. The PNGs are
# kept in the repository, so only whoever changes the drawing runs this;
# it needs rsvg-convert (Debian package librsvg2-bin). The output carries no
# time stamp: the same drawing gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/../desktop"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert missing: apt-get install librsvg2-bin" >&2; exit 1; }
for size in 48 256; do
  rsvg-convert --width "$size" --height "$size" --format png quorvane.svg -o "quorvane-$size.png"
done
