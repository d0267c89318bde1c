#!/usr/bin/env bash
# Two packages of one build, made a moment apart, are the same bytes: nothing
# in them depends on when the package was made.
set -euo pipefail

cpack=$1
build=$2
command -v dpkg-deb >/dev/null || { echo "skipped: dpkg-deb is not installed"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for run in first second; do
  "$cpack" --config "$build/CPackConfig.cmake" -B "$out/$run" >"$out/$run.log" 2>&1 || { cat "$out/$run.log"; exit 1; }
  sleep 1.1   # a clock that is read shows in the next second
done
first=$(ls "$out"/first/morvaline_*.deb)
second=$(ls "$out"/second/morvaline_*.deb)
if ! cmp -s "$first" "$second"; then
  echo "package: FAIL: two packages of one build differ" >&2
  diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") >&2 || true
  exit 1
fi
echo "package: two builds are the same bytes"
