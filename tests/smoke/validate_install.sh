#!/usr/bin/env bash
# Installs into a scratch folder and runs a desktop validator over what lands
# there: the desktop entry, or the AppStream data with its icon and entry.
set -euo pipefail

cmake=$1
build=$2
tool=$3
command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 0; }
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
"$cmake" --install "$build" --prefix "$stage/usr" >/dev/null
case $tool in
  desktop-file-validate) desktop-file-validate "$stage"/usr/share/applications/morvaline.desktop ;;
  appstreamcli) appstreamcli validate-tree --no-net "$stage" ;;
esac
