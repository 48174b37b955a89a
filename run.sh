#!/usr/bin/env bash
# Builds the puzzles in Release and starts one:  ./run.sh [program]   (cube3d when none is named)
set -euo pipefail
cd "$(dirname "$0")"

programs=(pentagir tetragir cube3d cuboid-a cuboid-b cuboid-c cubesolve)
folder() { [[ $1 == cuboid-* ]] && echo cuboid || echo "$1"; }
built() { [[ -f "$(folder "$1")/CMakeLists.txt" ]]; }

program=${1:-cube3d}
if [[ ! " ${programs[*]} " == *" $program "* ]]; then
  echo "unknown program '$program'; the puzzles are: ${programs[*]}" >&2
  exit 2
fi
# Until cube3d is part of the tree, the default is the first puzzle that is.
if [[ $# -eq 0 ]] && ! built cube3d; then
  for p in cuboid-a "${programs[@]}"; do built "$p" && { program=$p; break; }; done
fi
if ! built "$program"; then
  ready=(); for p in "${programs[@]}"; do built "$p" && ready+=("$p"); done
  echo "$program is not part of this tree yet; ready to run: ${ready[*]:-none}" >&2
  exit 2
fi

scripts/install-deps.sh
# The build speaks only when it fails, so what the program says is what the player reads.
log=build/run-build.log
mkdir -p build
if ! { cmake -S . -B build -DCMAKE_BUILD_TYPE=Release && cmake --build build -j"$(nproc)" --target "$program"; } \
    >"$log" 2>&1; then
  cat "$log" >&2
  echo "run.sh: the build failed (log: $log)" >&2
  exit 1
fi
exec "build/bin/$program"
