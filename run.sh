#!/usr/bin/env bash
# Builds the puzzles in Release and starts one:  ./run.sh [program]
# With no name it starts the first program of programs.txt whose folder is in the tree (cube3d heads the list).
set -euo pipefail
cd "$(dirname "$0")"

# programs.txt: one "name folder" line per program; '#' lines are comments.
programs=() folders=()
while read -r name folder _; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  programs+=("$name")
  folders+=("$folder")
done <programs.txt
folder() { for i in "${!programs[@]}"; do [[ ${programs[$i]} == "$1" ]] && echo "${folders[$i]}"; done; }
built() { [[ -f "$(folder "$1")/CMakeLists.txt" ]]; }

if [[ $# -eq 0 ]]; then
  program=
  for p in "${programs[@]}"; do built "$p" && { program=$p; break; }; done
  [[ -n "$program" ]] || { echo "run.sh: no program folder is in this tree" >&2; exit 2; }
else
  program=$1
  if [[ ! " ${programs[*]} " == *" $program "* ]]; then
    echo "unknown program '$program'; the puzzles are: ${programs[*]}" >&2
    exit 2
  fi
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
