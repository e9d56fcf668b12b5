#!/usr/bin/env bash
# Draws the player's skin images with ImageMagick into this folder:
#   player_<name>.png / player_<name>_hover.png  32 x 32 button icons (normal,
#                                                 pointed at and pressed); "sound"
#                                                 and "mute" show the sound on and off
#   seek_before.png / seek_after.png             7680 x 12 channel strips of the
#                                                 seek bar (played / still to play)
#   seek_thumb.png                               36 x 12: three 12 x 12 thumb frames,
#                                                 normal, pointed at, pressed
# The PNGs are committed; run this again only to change the pictures.
set -euo pipefail
cd "$(dirname "$0")"

normal='#C8C8C8'
hover='#38B0FF'
back='#1E1E1E'

speaker='rectangle 4,12 8,20 polygon 8,12 15,6 15,26 8,20'

declare -A glyphs=(
  [play]='polygon 11,7 25,16 11,25'
  [pause]='rectangle 9,8 13,24 rectangle 19,8 23,24'
  [stop]='rectangle 9,9 23,23'
  [previous]='rectangle 7,8 10,24 polygon 24,8 24,24 11,16'
  [next]='rectangle 22,8 25,24 polygon 8,8 8,24 21,16'
  [skip]='polygon 5,9 5,23 16,16 polygon 16,9 16,23 27,16'
  [open]='polygon 16,7 26,18 6,18 rectangle 6,21 26,24'
  [volumeup]="$speaker rectangle 18,15 28,17 rectangle 22,11 24,21"
  [volumedown]="$speaker rectangle 18,15 28,17"
  [download]='polygon 16,22 8,13 12,13 12,5 20,5 20,13 24,13 rectangle 6,24 26,27'
)

# Shapes that are strokes rather than fills.
declare -A strokes=(
  [mute]='line 19,12 27,20 line 27,12 19,20'
  [sound]='polyline 18,12 20,14 20,18 18,20 polyline 22,8 25,12 25,20 22,24'
  [reset]='ellipse 16,16 9,9 300,210'
  [fullscreen]='polyline 6,12 6,6 12,6 polyline 20,6 26,6 26,12 polyline 26,20 26,26 20,26 polyline 12,26 6,26 6,20'
  [state]='circle 16,16 16,5'
  [progress]='circle 16,16 16,5 polyline 16,9 16,16 21,19'
)
# Fills drawn together with the strokes.
declare -A extras=(
  [mute]="$speaker"
  [sound]="$speaker"
  [reset]='polygon 16,4 23,8 17,12'
  [fullscreen]=''
  [state]='polygon 13,10 22,16 13,22'
  [progress]=''
)

draw_icon() { # name colour output
  local name=$1 colour=$2 out=$3
  if [[ -n ${glyphs[$name]+x} ]]; then
    convert -size 32x32 xc:none -fill "$colour" -stroke none -draw "${glyphs[$name]}" "PNG32:$out"
  else
    local fills=${extras[$name]}
    convert -size 32x32 xc:none \
      -fill none -stroke "$colour" -strokewidth 2.6 -draw "${strokes[$name]}" \
      ${fills:+-fill "$colour" -stroke none -draw "$fills"} "PNG32:$out"
  fi
}

for name in open play pause stop previous next reset mute sound volumeup volumedown skip fullscreen state download progress; do
  draw_icon "$name" "$normal" "player_${name}.png"
  draw_icon "$name" "$hover" "player_${name}_hover.png"
done

# Channel strips: a 4-pixel groove across the middle of a 12-pixel band.
convert -size 7680x12 "xc:$back" -fill "$hover" -draw 'rectangle 0,4 7679,7' "PNG24:seek_before.png"
convert -size 7680x12 "xc:$back" -fill '#5A5A5A' -draw 'rectangle 0,4 7679,7' "PNG24:seek_after.png"

# Thumb: normal, pointed at (brighter, with a ring), pressed (accent colour).
convert -size 36x12 "xc:$back" \
  -fill "$normal" -draw 'circle 5.5,5.5 5.5,1' \
  -fill '#FFFFFF' -stroke "$hover" -strokewidth 1 -draw 'circle 17.5,5.5 17.5,0.5' \
  -fill "$hover" -stroke none -draw 'circle 29.5,5.5 29.5,1' \
  "PNG24:seek_thumb.png"
