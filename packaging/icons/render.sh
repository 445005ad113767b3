#!/bin/sh
# Renders the icon's PNG sizes from kelmorin.svg (needs rsvg-convert, Debian
# package librsvg2-bin). The PNGs are kept in the repository.
set -e
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w $size -h $size kelmorin.svg -o kelmorin-$size.png
done
