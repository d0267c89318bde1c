#!/usr/bin/env bash
# --version and --help answer and end at once: no display is needed, and no
# data folder or lock is made.
set -euo pipefail

binary=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data HOME=$work/home
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

fail() { echo "info_options: FAIL: $*" >&2; exit 1; }

for option in --version -v --help -h; do
  out=$(timeout 10 "$binary" "$option") || fail "$option exited with $?"
  case $option in
    --version | -v) expected="Morvaline $version" ;;
    *) expected="--version" ;;
  esac
  grep -qF -- "$expected" <<<"$out" || fail "$option printed: $out"
  [ ! -e "$XDG_DATA_HOME" ] && [ ! -e "$HOME" ] || fail "$option made a data folder"
done
echo "info_options: passed"
