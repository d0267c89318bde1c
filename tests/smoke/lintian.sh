#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and has lintian check it,
# pedantic and informational tags included: the package stays free of them.
# Exits 77 (reported as skipped) when lintian is not installed.
set -euo pipefail

cpack=$1
build=$2
command -v lintian >/dev/null || { echo "skipped: lintian is not installed"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$cpack" --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/morvaline_*.deb)
# lintian warns on stderr when it runs as root; that is no tag.
if ! lintian --display-info --pedantic --info --fail-on error,warning,info,pedantic "$deb" 2>/dev/null; then
  echo "lintian: FAIL: tags above (lintian --display-info --pedantic)" >&2
  exit 1
fi
echo "lintian: clean"
