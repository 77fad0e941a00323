#!/usr/bin/env bash
# Renders the icon's PNG sizes from packaging/icons/yomibon.svg (Debian: librsvg2-bin).
# Run after editing the SVG; the PNGs are kept in the repository so a build needs no SVG tool.
set -euo pipefail
icons=$(cd "$(dirname "$0")/../packaging/icons" && pwd)
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/yomibon.svg" -o "$icons/yomibon-$size.png"
done
