#!/usr/bin/env bash
# Builds the Debian package into a scratch folder and has lintian check it,
# pedantic and informational tags included: the package stays free of them.
# The user's guide is in it as a web page with every picture it shows.
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
dpkg-deb -x "$deb" "$out/root"
guide=$out/root/usr/share/doc/morvaline/guide
[ -f "$guide/index.html" ] || { echo "lintian: FAIL: no guide/index.html in the package" >&2; exit 1; }
for picture in $(grep -o '<img[^>]* src="[^"]*"' "$guide/index.html" | sed 's/.* src="//; s/"$//'); do
  [ -f "$guide/$picture" ] || { echo "lintian: FAIL: the guide shows $picture, which the package lacks" >&2; exit 1; }
done
echo "lintian: clean; the guide has its $(grep -c '<img' "$guide/index.html") pictures"
