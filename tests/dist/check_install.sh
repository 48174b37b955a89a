#!/usr/bin/env bash
# What a player's system gets, checked as it gets it:  tests/dist/check_install.sh BUILD_DIR
# Installs a built tree into a staging folder and checks that the seven programs, and nothing else, are there with
# their manual pages, desktop entries, icons and metadata, each valid under its validator; that each installed
# program answers --help and --version with status 0 and an unknown option with status 2 (with no display, so a
# window it tried to open would fail it); that the README's uninstall removes every file; and that the Debian
# package builds, holds the same files and lists dependencies found from the binaries. Prints what the validators
# said.
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
id_prefix=$(cache PUZZLES_APP_ID_PREFIX)
version=$(cache CMAKE_PROJECT_VERSION)
mapfile -t programs < <(grep -v '^#' "$src/programs.txt" | awk 'NF { print $1 }')
saving=" cube3d cuboid-a cuboid-b cuboid-c "  # the programs that keep SALVARE.TXT
icon_sizes=(48 128 256)
doc=usr/share/doc/twisty-puzzles

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# A prefix as a player's home may name it, with a space and a quote, which the uninstall below must survive.
root="$stage/a player's home"
if ! cmake --install "$build" --prefix "$root/usr" >"$stage/install.log" 2>&1; then
  cat "$stage/install.log"
  fail "cmake --install"
fi

app_id() { echo "$id_prefix.${1//-/_}"; }
expected_files() {
  echo "$doc/LICENSE"
  echo "$doc/copyright"
  for p in "${programs[@]}"; do
    echo "usr/bin/$p"
    echo "usr/share/man/man6/$p.6.gz"
    echo "usr/share/applications/$(app_id "$p").desktop"
    echo "usr/share/metainfo/$(app_id "$p").metainfo.xml"
    for s in "${icon_sizes[@]}"; do echo "usr/share/icons/hicolor/${s}x$s/apps/$(app_id "$p").png"; done
  done
}
expected_files | sort >"$stage/expected"
(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$stage/installed"
diff "$stage/expected" "$stage/installed" >"$stage/files.diff" ||
  { fail "installed files differ from the seven programs' (< missing, > not expected):"; cat "$stage/files.diff"; }

# run NAME EXPECTED_STATUS PROGRAM ARGS...: runs without a display; keeps stdout and stderr in $out and $err.
run() {
  local what=$1 want=$2 status
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY "$@" >"$stage/out" 2>"$stage/err" </dev/null
  status=$?
  out=$(cat "$stage/out") err=$(cat "$stage/err")
  [[ $status -eq $want ]] || fail "$what: status $status, not $want; stderr: $err"
}

for p in "${programs[@]}"; do
  bin=$root/usr/bin/$p id=$(app_id "$p")
  [[ -x "$bin" ]] || { fail "$p is not installed"; continue; }
  file -b "$bin" | grep -q '^ELF' || fail "$p: not an ELF program: $(file -b "$bin")"

  run "$p --help" 0 "$bin" --help
  [[ "$out" == "Usage: $p "* && "$out" == *$'\nControls:\n'* && -z "$err" ]] || fail "$p --help printed: $out$err"
  run "$p --version" 0 "$bin" --version
  [[ "$out" == "$p $version" && -z "$err" ]] || fail "$p --version printed '$out', not '$p $version'"
  run "$p --no-such-option" 2 "$bin" --no-such-option
  [[ -z "$out" && "$err" == "$p: unknown argument '--no-such-option'"$'\n'"Usage: $p "* ]] ||
    fail "$p --no-such-option printed: $out$err"

  page=$root/usr/share/man/man6/$p.6.gz
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>"$stage/man.err")
  [[ -s "$stage/man.err" ]] && fail "man -l $p.6.gz warned: $(cat "$stage/man.err")"
  sections=$(grep -E '^[A-Z][A-Z ]+$' <<<"$text" | tr '\n' ',')
  want_sections="NAME,SYNOPSIS,DESCRIPTION,CONTROLS,OPTIONS,EXIT STATUS,ENVIRONMENT,"
  [[ "$saving" == *" $p "* ]] && want_sections="NAME,SYNOPSIS,DESCRIPTION,CONTROLS,OPTIONS,EXIT STATUS,ENVIRONMENT,FILES,"
  [[ "$sections" == "$want_sections" ]] || fail "$p.6: sections $sections not $want_sections"
  if [[ "$saving" == *" $p "* ]]; then
    grep -A1 '^FILES' <<<"$text" | grep -q 'SALVARE.TXT' || fail "$p.6: FILES does not name SALVARE.TXT"
  fi
  grep -Eq "^ +$p +- +[a-z]" <<<"$text" || fail "$p.6: no NAME line '$p - ...'"

  desktop=$root/usr/share/applications/$id.desktop
  report=$(desktop-file-validate "$desktop" 2>&1)
  status=$?
  echo "desktop-file-validate $id.desktop: status $status, ${report:-no messages}"
  [[ $status -eq 0 && -z "$report" ]] || fail "desktop-file-validate $id.desktop is not clean"
  if ! grep -qx "Exec=$p" "$desktop" || ! grep -qx "Icon=$id" "$desktop"; then
    fail "$id.desktop: Exec or Icon is not $p, $id"
  fi

  metainfo=$root/usr/share/metainfo/$id.metainfo.xml
  report=$(appstreamcli validate --no-net "$metainfo" 2>&1)
  status=$?
  echo "appstreamcli validate --no-net $id.metainfo.xml: status $status, $(tr -s '\n' ' ' <<<"$report")"
  [[ $status -eq 0 ]] || fail "appstreamcli validate $id.metainfo.xml failed"

  for s in "${icon_sizes[@]}"; do
    icon=$root/usr/share/icons/hicolor/${s}x$s/apps/$id.png
    file -b "$icon" | grep -q "^PNG image data, $s x $s, 8-bit/color RGBA" ||
      fail "$id.png at $s: $(file -b "$icon" 2>&1)"
  done
done

# The README's uninstall, run as it stands on a copy of this install's manifest, in a folder named as the
# README's build folder. Only a manifest of staged files is used: one left by another install must not be removed.
uninstall=$(grep -o '`xargs [^`]*install_manifest.txt`' "$src/README.md" | tr -d '`')
mkdir "$stage/build-release"
cp "$build/install_manifest.txt" "$stage/build-release/" 2>/dev/null
if [[ -z "$uninstall" ]]; then
  fail "the README gives no uninstall command (\`xargs ... install_manifest.txt\`)"
elif ! awk -v r="$root/" 'index($0, r) != 1 { bad = 1 } END { exit bad || NR == 0 }' \
    "$stage/build-release/install_manifest.txt" 2>/dev/null; then
  fail "$build/install_manifest.txt does not list this install's files alone"
else
  (cd "$stage" && bash -c "$uninstall") >"$stage/uninstall.log" 2>&1 || fail "$uninstall: $(cat "$stage/uninstall.log")"
  left=$(find "$root" -type f -o -type l)
  [[ -z "$left" ]] || fail "$uninstall left $(wc -l <<<"$left") files, e.g. $(head -n 1 <<<"$left")"
fi

# The package: built from the same install rules by CPack, dependencies by dpkg-shlibdeps.
if cpack -G DEB --config "$build/CPackConfig.cmake" -B "$stage/package" >"$stage/cpack.log" 2>&1; then
  deb=$(ls "$stage"/package/*.deb)
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "$(basename "$deb"): Depends: $depends"
  # Debian wants a name and an address to write to, as "Name <address>".
  maintainer=$(dpkg-deb -f "$deb" Maintainer)
  [[ "$maintainer" =~ ^[^\<\>]+\ \<[^\<\>\ @]+@[^\<\>\ @]+\>$ ]] ||
    fail "the package's Maintainer '$maintainer' is not 'Name <address>'"
  for lib in libc6 libsdl2-2.0-0 libgl1 libstdc++6; do
    [[ ", $depends" == *", $lib"[\ ,]* || ", $depends" == *", $lib" ]] || fail "the package does not depend on $lib"
  done
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort >"$stage/packaged"
  diff "$stage/expected" "$stage/packaged" >"$stage/package.diff" ||
    { fail "the package's files differ (< missing, > not expected):"; cat "$stage/package.diff"; }
else
  cat "$stage/cpack.log"
  fail "cpack -G DEB"
fi

[[ $failures -eq 0 ]] &&
  echo "install: ${#programs[@]} programs, their pages, entries, icons and metadata, and the package are sound"
exit $((failures > 0))
