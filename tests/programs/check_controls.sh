#!/usr/bin/env bash
# Checks that the README's Controls section says what the programs say:  check_controls.sh SOURCE_DIR
# Each program folder's about.h holds its controls block once (the raw string R"controls(...)controls"), which
# --help prints and the manual page is built from; the README shows each block under a "### `program`" heading
# in a fenced block. No build is needed.
set -uo pipefail
src=$1
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

declare -A folder_of
while read -r name folder _; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  folder_of[$name]=$folder
done <"$src/programs.txt"

# The lines between `R"controls(` and `)controls"` of a folder's about.h.
about_block() { awk '/^\)controls"/ { inside = 0 } inside { print } /R"controls\($/ { inside = 1 }' "$src/$1/about.h"; }

# The README's Controls section as "program<TAB>line" records, one per line of each heading's first fenced block.
readme_blocks() {
  awk '
    /^## / { section = ($0 == "## Controls") }
    !section { next }
    /^### / { match($0, /`[^`]+`/); program = substr($0, RSTART + 1, RLENGTH - 2); state = "heading"; next }
    /^```/ && state == "heading" { state = "block"; print program "\t"; next }
    /^```/ && state == "block" { state = "done"; next }
    state == "block" { print program "\t" $0 }
  ' "$src/README.md"
}

declare -A readme_text
declare -A seen_folder
while IFS=$'\t' read -r program line; do
  if [[ -z "${readme_text[$program]+set}" ]]; then readme_text[$program]=""; continue; fi
  readme_text[$program]+="$line"$'\n'
done < <(readme_blocks)

for program in "${!readme_text[@]}"; do
  folder=${folder_of[$program]:-}
  if [[ -z "$folder" ]]; then
    fail "the README's Controls name \`$program\`, which programs.txt does not list"
    continue
  fi
  [[ -f "$src/$folder/about.h" ]] || continue
  seen_folder[$folder]=1
  want=$(about_block "$folder")
  [[ -n "$want" ]] || fail "$folder/about.h has no R\"controls( block"
  got=${readme_text[$program]%$'\n'}
  if [[ "$got" != "$want" ]]; then
    fail "the README's controls of \`$program\` differ from $folder/about.h (< README, > about.h):"
    diff <(printf '%s\n' "$got") <(printf '%s\n' "$want")
  fi
done
for folder in $(printf '%s\n' "${folder_of[@]}" | sort -u); do
  [[ -f "$src/$folder/about.h" && -z "${seen_folder[$folder]:-}" ]] &&
    fail "the README's Controls have no block for $folder/ (a \`### \` heading naming one of its programs)"
done

[[ $failures -eq 0 ]] && echo "controls: the README says what each program's --help says"
exit $((failures > 0))
