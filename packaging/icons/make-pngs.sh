#!/usr/bin/env bash
# Makes the hicolor PNG sizes of the application icon from its SVG. Run by hand after changing the
# SVG, then commit the pictures: the build and the package only copy them, so building needs no
# SVG renderer. Needs rsvg-convert (Debian: apt-get install librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert --width "$size" --height "$size" ir.velmorasoft.Velmora.svg \
        --output "hicolor/${size}x${size}/apps/ir.velmorasoft.Velmora.png"
done
