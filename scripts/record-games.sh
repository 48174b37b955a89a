#!/usr/bin/env bash
# Records one game of each program, played with xdrive in a private Xvfb, into tests/recordings/PROGRAM.rec: the
# recordings ctest replays headless to their digests. Rerun it when a program's behaviour changes on purpose, look
# at the shots, and commit the recordings:
#   scripts/record-games.sh [BUILD_DIR [PROGRAM...]]    (default: build, every program)
# The programs and xdrive are built first. The shots taken during play go to BUILD_DIR/recording-shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build}")
shift || true
out=$PWD/tests/recordings
shots=$build/recording-shots

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j2 --target xdrive programs >/dev/null

# A drag in ten steps, each position held for some frames: the OpenGL programs take the pointer's motion between
# frames, and a drag that outran the frames would skip the stickers it crosses.
held_drag() {
  local button=$1 x1=$2 y1=$3 x2=$4 y2=$5 i actions
  actions="move $x1 $y1|press $button|wait 60"
  for i in $(seq 1 10); do
    actions+="|move $((x1 + (x2 - x1) * i / 10)) $((y1 + (y2 - y1) * i / 10))|wait 60"
  done
  echo "$actions|release $button|wait 60"
}

# "settled NAME": a shot, and another a second later that must be the same picture. Put after the wait for a turn,
# a scramble, a pattern or a solve: when the two differ, the animation had not ended and the script stops. The waits
# are kept short, since a headless replay draws every frame of the game.
# A replay's digest is the state at the end, and a rebuild (size, shape, reset) or a load (it takes the recorded
# bytes) sets the state whatever came before. So each game does those first and most of its play after them.
# The cube programs: a load before any save (the file is missing: nothing changes), the three thinner shapes, the
# 3-cube, a turn, a save, a turn the load then undoes, a view drag, a third turn, a scramble.
cube_game() {
  local turn_ms=$1 scramble_ms=$2 extra=${3:-}
  echo "wait 500|key l|key x|wait 200|shot thin-x|key z|wait 200|shot thin-z|key c|wait 200|shot thin-c|
        key s|key s|wait 200|shot size3|drag left 420 210 200 210|wait $turn_ms|shot turned|key k|wait 200|
        drag left 380 330 380 180|wait $turn_ms|settled turned2|key l|wait 200|shot loaded|
        $(held_drag right 320 240 350 270)|wait 200|shot view|drag left 300 200 300 330|wait $turn_ms|
        settled turned3|$extra key a|wait $scramble_ms|settled scrambled"
}

# pentagir and tetragir: two view drags, a scramble, a reset and a scramble again (A and S act while held), a turn
# (2500 unpaced frames: slow on a busy machine), every view key held. They look at Escape once a frame, so it is
# held rather than tapped as xdrive does at the end.
gir_game() {
  echo "wait 500|$(held_drag right 320 240 "$1" "$2")|$(held_drag right 320 240 "$3" "$4")|hold a 100|wait 300|
        shot scrambled|hold s 100|wait 300|shot reset|hold a 50|wait 300|shot scrambled2|
        $(held_drag left "$5" "$6" "$7" "$8")|wait 30000|settled turned|hold Left 300|hold Right 200|
        hold Up 300|hold Down 200|hold x 300|hold z 200|shot view|hold Escape 3000"
}

# cubesolve: a pattern on the 4-cube (at most 28 quarter turns), Ctrl+Left and s round to the 3-cube, a turn solved
# by r (a 3-cube a turn away from solved takes some 500 frames), a view drag, a scramble of thirty quarter turns.
declare -A play=(
  [cube3d]="$(cube_game 1200 25000)"
  [cuboid-a]="$(cube_game 500 12000 'key d|wait 200|shot dice|')"
  [cuboid-b]="$(cube_game 500 12000)"
  [cuboid-c]="$(cube_game 500 12000)"
  [cubesolve]="wait 500|key s|wait 200|key m|wait 11000|settled pattern|key ctrl+Left|key s|key s|wait 200|
               shot size3|drag left 410 190 250 190|wait 500|shot turned|key r|wait 11000|settled solved|
               $(held_drag right 320 240 360 260)|wait 200|shot view|key a|wait 14000|settled scrambled"
  [pentagir]="$(gir_game 320 300 360 240 330 348 275 320)"
  [tetragir]="$(gir_game 320 190 270 240 420 225 430 258)"
)

programs=("$@")
[[ ${#programs[@]} -gt 0 ]] || mapfile -t programs < <(grep -v '^#' programs.txt | awk 'NF { print $1 }')
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$shots"
for program in "${programs[@]}"; do
  [[ -n "${play[$program]:-}" ]] || { echo "record-games: no game for $program" >&2; exit 1; }
  rm -rf "${work:?}"/* "$shots/$program"-*.png
  # One action a line; shot names become files in the shots folder; each settled gives a pair to compare.
  tr '|' '\n' <<<"${play[$program]}" | sed -e 's/^ *//' -e '/^$/d' \
    -e "s#^settled \(.*\)#shot $shots/$program-\1.png\nwait 1000\nshot $work/\1-again.png#" \
    -e "s#^shot \([^/]*\)\$#shot $shots/$program-\1.png#" >"$work/script"
  # xdrive ends the game with Escape after the script's last action.
  scripts/with-xvfb.sh "$build/bin/xdrive" --workdir "$work" --script "$work/script" "$build/bin/$program" \
    --record "$work/game.rec"
  for again in "$work"/*-again.png; do
    [[ -e "$again" ]] || continue
    name=$(basename "$again" -again.png)
    if ! cmp -s "$again" "$shots/$program-$name.png"; then
      echo "record-games: $program was still moving at \"$name\"; rerun on a quieter machine" >&2
      exit 1
    fi
  done
  "$build/bin/$program" --replay "$work/game.rec" --headless
  mv "$work/game.rec" "$out/$program.rec"
  echo "$program: $(stat -c %s "$out/$program.rec") bytes"
done
