#!/bin/sh
# Renders the PNG sizes of the application icon from form2audit.svg (Debian package
# librsvg2-bin). The PNGs are kept in the repository so the build needs no renderer.
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" form2audit.svg -o "form2audit-$size.png"
done
