#!/usr/bin/env bash
# --version and --help answer and end at once, and a command line that is not
# understood ends with status 2: no display is needed, and no data folder or
# lock is made.
set -euo pipefail

binary=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data HOME=$work/home
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM LC_ALL LC_MESSAGES LANGUAGE

fail() { echo "info_options: FAIL: $*" >&2; exit 1; }
no_data() { [ ! -e "$XDG_DATA_HOME" ] && [ ! -e "$HOME" ] || fail "$1 made a data folder"; }
japanese() { LC_ALL=C.UTF-8 grep -qP '[\x{3040}-\x{30ff}\x{4e00}-\x{9fff}]'; }

# Words of four letters or more that are names, not English, in the Japanese help.
names='--[a-z]*\|-platform\|-display\|morvaline\|XDG_DATA_HOME\|local\|share\|Tavelnor\|offscreen\|wayland'

# option, LANG, what the output must hold
while read -r option lang expected; do
  out=$(LANG=$lang timeout 10 "$binary" "$option") || fail "$option exited with $?"
  grep -qF -- "$expected" <<<"$out" || fail "$option printed: $out"
  case $option in -h | --help)
    grep -qF -- "--version" <<<"$out" || fail "$option does not list --version: $out"
    case $lang in
      ja*) ! sed "s/$names//g" <<<"$out" | grep -q '[A-Za-z]\{4,\}' || fail "Japanese $option has English: $out" ;;
      *) ! japanese <<<"$out" || fail "English $option has Japanese: $out" ;;
    esac
  esac
  no_data "$option"
done <<EOT
--version ja_JP.UTF-8 Morvaline $version
-v C Morvaline $version
--help ja_JP.UTF-8 使用法: morvaline
-h C.UTF-8 Usage: morvaline
--help en_US.UTF-8 Usage: morvaline
EOT

# Status 2, one line naming the fault, then the usage; nothing on stdout.
for args in "--bogus" "-platform" "stray-file.txt" "--help --bogus"; do
  status=0
  # shellcheck disable=SC2086
  LANG=C.UTF-8 timeout 10 "$binary" $args >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] || fail "'$args' exited with $status"
  [ ! -s "$work/out" ] || fail "'$args' wrote to stdout: $(cat "$work/out")"
  [ "$(head -c 11 "$work/err")" = "morvaline: " ] && sed -n 2p "$work/err" | grep -q '^Usage: morvaline' \
    || fail "'$args' wrote: $(cat "$work/err")"
  no_data "$args"
done
LANG=ja_JP.UTF-8 timeout 10 "$binary" --bogus 2>"$work/err" || true
sed -n 2p "$work/err" | grep -q '^使用法: morvaline' || fail "--bogus: no Japanese usage: $(cat "$work/err")"
echo "info_options: passed"
