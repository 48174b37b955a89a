#!/usr/bin/env bash
# Captures every program in play with xdrive in a private Xvfb, and makes of each capture the README's screenshot
# (docs/PROGRAM.png) and the program's icons for the hicolor theme (dist/icons/SIZE/PROGRAM.png), which the
# install puts in place. Rerun it when a program's picture changes, then look at the pictures and commit them:
#   scripts/capture-pictures.sh [BUILD_DIR]        (default: build; the programs and xdrive are built first)
# Needs ImageMagick's convert and identify (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
icon_sizes=(48 128 256)

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target xdrive programs >/dev/null

# A drag in ten steps, each position held for some frames. The OpenGL programs turn the view by the pointer's
# motion between frames and take the sticker a drag reaches in the frame that sees it, so a drag whose steps go
# by faster than the frames would end differently as the frames fall.
held_drag() {
  local button=$1 x1=$2 y1=$3 x2=$4 y2=$5 i actions
  actions="move $x1 $y1|press $button|wait 60"
  for i in $(seq 1 10); do
    actions+="|move $((x1 + (x2 - x1) * i / 10)) $((y1 + (y2 - y1) * i / 10))|wait 60"
  done
  echo "$actions|release $button|wait 60"
}

# What brings each program into play, up to the capture ("shot"): a size or view a player might choose, a turn or
# two, and what sets the program apart (cuboid-a's dice, cuboid-b's pressed sticker). The waits outlast the
# animations (the OpenGL programs' turns are unpaced: they last as long as 2500 frames take); a picture still
# moving a second after the capture stops the script, so every rerun captures the same pictures.
cube_turns='key s|key s|wait 300|drag left 420 210 200 210|wait 1500|drag left 380 330 380 180|wait 1500'
declare -A play=(
  [cube3d]="$cube_turns|shot"
  [cuboid-a]="$cube_turns|key d|wait 300|shot"
  [cuboid-b]="$cube_turns|move 300 120|press left|wait 300|shot|release left"
  [cuboid-c]="$cube_turns|shot"
  [cubesolve]='drag left 410 190 250 190|wait 1000|shot'
  [pentagir]="$(held_drag right 320 240 320 300)|$(held_drag right 320 240 360 240)|
              $(held_drag left 330 348 275 320)|wait 10000|shot"
  [tetragir]="$(held_drag right 320 240 320 190)|$(held_drag right 320 240 270 240)|
              $(held_drag left 420 225 430 258)|wait 10000|shot"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The icon: the puzzle alone on a transparent square. The mask is the puzzle's silhouette: every pixel that is
# not the black background, closed over the black lines between stickers, its holes filled, and one pixel wider
# so the outline stays.
make_icons() {
  local shot=$1 program=$2
  convert "$shot" -fuzz 2% -fill black -opaque black -fill white +opaque black \
    -morphology Close Disk:6 -fill red -draw 'color 0,0 floodfill' -fill white +opaque red -fill black -opaque red \
    -morphology Dilate Disk:1 "$work/mask.png"
  convert "$shot" "$work/mask.png" -alpha off -compose CopyOpacity -composite -trim +repage "$work/puzzle.png"
  local w h side
  read -r w h < <(identify -format '%w %h\n' "$work/puzzle.png")
  side=$(((w > h ? w : h) * 104 / 100))
  convert "$work/puzzle.png" -background none -gravity center -extent "${side}x${side}" "$work/square.png"
  for size in "${icon_sizes[@]}"; do
    mkdir -p "dist/icons/$size"
    convert "$work/square.png" -filter Lanczos -resize "${size}x${size}" -strip "dist/icons/$size/$program.png"
  done
}

mkdir -p docs
while read -r program _; do
  [[ -z "$program" || "$program" == \#* ]] && continue
  [[ -n "${play[$program]:-}" ]] || { echo "capture-pictures: no play for $program" >&2; exit 1; }
  shot="$work/$program.png"
  tr '|' '\n' <<<"wait 500|${play[$program]/shot/shot $shot|wait 1000|shot $work/again.png}" | sed 's/^ *//' |
    scripts/with-xvfb.sh "$build/bin/xdrive" --workdir "$work" "$build/bin/$program"
  if ! cmp -s "$shot" "$work/again.png"; then
    echo "capture-pictures: $program was still moving when captured; rerun on a quieter machine" >&2
    exit 1
  fi
  convert "$shot" -strip "docs/$program.png"
  make_icons "$shot" "$program"
  echo "$program: docs/$program.png, dist/icons/{$(IFS=,; echo "${icon_sizes[*]}")}/$program.png"
done <programs.txt
