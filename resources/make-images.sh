#!/usr/bin/env bash
# Draws the tool's two pictures (run by hand when they change; the results are committed):
#  logo.bmp  bitmap 141: 308 x 87, 1 bit per pixel, "POS Printer" in black sans-serif on white,
#            printed at the top of the driver test page;
#  tool.ico  icon 128: a small receipt printer, 16 x 16 and 32 x 32.
set -euo pipefail
cd "$(dirname "$0")"
IM=/usr/bin/convert
$IM -size 308x87 xc:white -font DejaVu-Sans-Bold -pointsize 44 -fill black -gravity center \
  -annotate +0+0 'POS Printer' -monochrome -type bilevel -colors 2 BMP3:logo.bmp
draw_icon() {  # size -> png on stdout
  local s=$1
  $IM -size "${s}x${s}" xc:none -fill '#3a3f47' \
    -draw "roundrectangle $((s/16)),$((s*5/16)) $((s-1-s/16)),$((s*13/16)) $((s/8)),$((s/8))" \
    -fill white -draw "rectangle $((s/4)),$((s/16)) $((s*3/4)),$((s*7/16))" \
    -fill white -draw "rectangle $((s/4)),$((s*11/16)) $((s*3/4)),$((s-1))" \
    -fill '#888888' -draw "line $((s*5/16)),$((s*13/16)) $((s*11/16)),$((s*13/16))" \
    -fill '#44cc44' -draw "rectangle $((s*3/4)),$((s*7/16)) $((s*13/16)),$((s/2))" PNG32:-
}
draw_icon 16 > /tmp/icon16.png
draw_icon 32 > /tmp/icon32.png
$IM /tmp/icon16.png /tmp/icon32.png tool.ico
rm -f /tmp/icon16.png /tmp/icon32.png
