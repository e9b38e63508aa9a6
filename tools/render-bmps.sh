#!/bin/sh
# Renders the pictures under bmps/ from their SVG sources in bmps/src/ (needs rsvg-convert from
# librsvg2-bin). The PNGs are committed, so a build never needs this; run it after editing a source.
set -e
cd "$(dirname "$0")/../bmps"
render() { # source size output
    rsvg-convert --width="$2" --height="$2" --keep-aspect-ratio --format=png --output="$3" "src/$1.svg"
}
for tool in connect open save print exit yellowleftarr yellowrightarr blueleftarr bluerightarr \
            greencheck redcross con_com con_irda con_modem; do
    render "$tool" 32 "$tool.32.png"
done
for ball in blueball greenball redball grayball; do
    render "$ball" 16 "$ball.16.png"
done
render connect 160 Connect.160.png
for picture in con_com con_irda con_modem exit; do
    render "$picture" 160 "$picture.160.png"
done
rsvg-convert --width=200 --keep-aspect-ratio --format=png --output=logo.200.png src/logo.svg
# The program's icon in the sizes desktops use (installed with the SVG as the scalable one).
for size in 16 32 48 64 128 256; do
    render brennix "$size" "brennix.$size.png"
done
# The Windows program's icon, from the same sizes (ImageMagick).
convert brennix.16.png brennix.32.png brennix.48.png brennix.64.png brennix.128.png brennix.256.png \
    ../desktop/windows/brennix.ico
