#!/usr/bin/env bash
# Frames per second of each program's recorded game (--timedemo) at scale 1, 2 and 3, taken in turns round after
# round so that load from elsewhere falls on all three alike, and the ratio of each scale to scale 1 in the same
# round; the median of the rounds is the figure to quote. Needs a screen with room for scale 3:
#   XVFB_SCREEN=2688x1536x24 scripts/with-xvfb.sh scripts/scale-speed.sh [BINDIR] [ROUNDS] [PROGRAM...]
set -uo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin}
rounds=${2:-3}
shift $(( $# > 2 ? 2 : $# ))
programs=("$@")
[[ ${#programs[@]} -gt 0 ]] || mapfile -t programs < <(sed -n 's/^\([a-z][a-z0-9-]*\) .*/\1/p' programs.txt)
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

fps() {  # PROGRAM SCALE: the frame rate the replay reports
  (cd "$folder" && "$OLDPWD/$bin/$1" --scale "$2" --timedemo "$OLDPWD/tests/recordings/$1.rec" 2>/dev/null) |
    sed -n 's/.*: \([0-9.]*\) frames per second$/\1/p'
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

printf '%-10s %9s %9s %9s %11s %11s\n' program "N=1 fps" "N=2 fps" "N=3 fps" "N=2 / N=1" "N=3 / N=1"
for p in "${programs[@]}"; do
  one=() two=() three=() r2=() r3=()
  for _ in $(seq "$rounds"); do
    a=$(fps "$p" 1) b=$(fps "$p" 2) c=$(fps "$p" 3)
    [[ -n "$a" && -n "$b" && -n "$c" ]] || { echo "$p: a replay gave no frame rate" >&2; exit 1; }
    one+=("$a") two+=("$b") three+=("$c")
    r2+=("$(awk -v x="$b" -v y="$a" 'BEGIN { print x / y }')")
    r3+=("$(awk -v x="$c" -v y="$a" 'BEGIN { print x / y }')")
  done
  printf '%-10s %9.1f %9.1f %9.1f %11.2f %11.2f\n' "$p" \
    "$(printf '%s\n' "${one[@]}" | median)" "$(printf '%s\n' "${two[@]}" | median)" \
    "$(printf '%s\n' "${three[@]}" | median)" "$(printf '%s\n' "${r2[@]}" | median)" \
    "$(printf '%s\n' "${r3[@]}" | median)"
done
