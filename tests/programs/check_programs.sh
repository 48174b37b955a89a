#!/usr/bin/env bash
# Checks that the README and run.sh follow programs.txt:  check_programs.sh SOURCE_DIR
# run.sh runs for real in a scratch copy of the tree whose build steps are stand-ins, so picking the program is
# tested without building anything.
set -uo pipefail
src=$1
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

mapfile -t programs < <(grep -v '^#' "$src/programs.txt" | awk 'NF { print $1 }')
mapfile -t folders < <(grep -v '^#' "$src/programs.txt" | awk 'NF { print $2 }')
[[ ${#programs[@]} -eq 7 ]] || fail "programs.txt lists ${#programs[@]} programs, not the seven"
for p in "${programs[@]}"; do
  grep -q "\`$p\`" "$src/README.md" || fail "the README does not name \`$p\`"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# A tree holding the given program folders; `cmake` does nothing and each built program prints its name.
make_tree() {
  rm -rf "$scratch/tree" && mkdir -p "$scratch/tree/scripts" "$scratch/tree/build/bin" "$scratch/stubs"
  cp "$src/run.sh" "$src/programs.txt" "$scratch/tree/"
  printf '#!/bin/sh\nexit 0\n' >"$scratch/tree/scripts/install-deps.sh"
  printf '#!/bin/sh\nexit 0\n' >"$scratch/stubs/cmake"
  chmod +x "$scratch/tree/scripts/install-deps.sh" "$scratch/stubs/cmake"
  for dir in "$@"; do mkdir -p "$scratch/tree/$dir" && touch "$scratch/tree/$dir/CMakeLists.txt"; done
  for p in "${programs[@]}"; do printf '#!/bin/sh\necho %s\n' "$p" >"$scratch/tree/build/bin/$p"; chmod +x "$scratch/tree/build/bin/$p"; done
}
run() { PATH="$scratch/stubs:$PATH" bash "$scratch/tree/run.sh" "$@" 2>&1; }

# name: folders in the tree | arguments | exit status | what the output must contain
cases=(
  "every folder|${folders[*]}||0|cube3d"
  "no cube3d yet|cuboid pentagir||0|cuboid-a"
  "only pentagir|pentagir||0|pentagir"
  "a named program|cuboid pentagir|cuboid-c|0|cuboid-c"
  "an unknown name|cuboid|rubik|2|${programs[*]}"
  "a program not in the tree|cuboid|tetragir|2|not part of this tree"
)
for c in "${cases[@]}"; do
  IFS='|' read -r name dirs args status want <<<"$c"
  # shellcheck disable=SC2086  # the folders and arguments are word lists
  make_tree $dirs
  # shellcheck disable=SC2086
  out=$(run $args)
  got=$?
  [[ $got -eq $status ]] || fail "run.sh with $name: exit status $got, not $status: $out"
  [[ "$out" == *"$want"* ]] || fail "run.sh with $name: output lacks '$want': $out"
done

[[ $failures -eq 0 ]] && echo "programs list: README and run.sh follow programs.txt"
exit $((failures > 0))
