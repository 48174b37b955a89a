#!/usr/bin/env bash
# Builds the puzzles in Release and starts one:  ./run.sh [program]   (cube3d when none is named)
set -euo pipefail
cd "$(dirname "$0")"

programs=(pentagir tetragir cube3d cuboid-a cuboid-b cuboid-c cubesolve)
program=${1:-cube3d}
if [[ ! " ${programs[*]} " == *" $program "* ]]; then
  echo "unknown program '$program'; the puzzles are: ${programs[*]}" >&2
  exit 2
fi

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target "$program"
exec "build/bin/$program"
