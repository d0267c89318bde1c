#!/usr/bin/env bash
# Two copies of the real binary on two data folders that a script keeps in
# step the way a sync program does (another file written beside, then renamed
# over). Each registers a day; afterwards both days are in both folders.
set -euo pipefail

binary=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

fail() { echo "two machines: FAIL: $*" >&2; exit 1; }

if [ -z "${SMOKE_INSIDE_X:-}" ]; then
  export SMOKE_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$binary"
fi
if ! command -v xdotool >/dev/null; then
  echo "two machines: skipped (xdotool missing)"
  exit 0
fi

source "$(dirname "$0")/wait_for.sh"

desk=$work/desk/Tavelnor
lap=$work/lap/Tavelnor
mkdir -p "$desk" "$lap"
printf '"2024/01/01","5","",""\r\n' > "$desk/Enbun.txt"
cp -p "$desk/Enbun.txt" "$lap/Enbun.txt"

# The sync program: the newer of two differing files goes over the other.
sync_once() {
  local f a b
  for f in Kiroku Chomi Moku Enbun Atu; do
    a=$desk/$f.txt b=$lap/$f.txt
    [ -f "$a" ] || [ -f "$b" ] || continue
    cmp -s "$a" "$b" 2>/dev/null && continue
    if [ ! -f "$b" ] || [ "$a" -nt "$b" ]; then
      cp -p "$a" "$lap/.syncthing.$f.txt.tmp" && mv "$lap/.syncthing.$f.txt.tmp" "$b"
    else
      cp -p "$b" "$desk/.syncthing.$f.txt.tmp" && mv "$desk/.syncthing.$f.txt.tmp" "$a"
    fi
  done
}
( while true; do sync_once; sleep 0.3; done ) &

XDG_DATA_HOME=$work/desk "$binary" &
desktop=$!
XDG_DATA_HOME=$work/lap "$binary" &
laptop=$!
window_of() { xdotool search --sync --onlyvisible --pid "$1" --name '^Morvaline$' | head -1; }
dw=$(window_of $desktop)
lw=$(window_of $laptop)
[ -n "$dw" ] && [ -n "$lw" ] || fail "both windows did not appear"

today=$(date +%Y/%m/%d)
yesterday=$(date -d yesterday +%Y/%m/%d)
register() {  # window, days back
  xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
  for ((i = 0; i < $2; i++)); do xdotool mousemove --window "$1" 124 21 click 1; done  # "<"
  xdotool mousemove --window "$1" 60 68 click 1  # "塩分登録"
  sleep 1
  xdotool key Return                            # the confirmation's OK
}

# The laptop registers today; as soon as its save reaches the desktop's folder,
# the desktop registers yesterday: its save must not drop the laptop's day.
register "$lw" 0
wait_for 'grep -q "\"$today\"" "$desk/Enbun.txt"' 15 || fail "the laptop's day did not reach the desktop"
register "$dw" 1
for folder in "$desk" "$lap"; do
  wait_for 'grep -q "\"$yesterday\"" "$folder/Enbun.txt" && grep -q "\"$today\"" "$folder/Enbun.txt"' 15 ||
    fail "$folder/Enbun.txt does not hold both days: $(tr -d '\r' < "$folder/Enbun.txt" | tr '\n' ' ')"
done

kill -TERM $desktop $laptop
wait $desktop || fail "the desktop's copy exited with an error"
wait $laptop || fail "the laptop's copy exited with an error"
sync_once
for folder in "$desk" "$lap"; do
  grep -q "\"$yesterday\"" "$folder/Enbun.txt" && grep -q "\"$today\"" "$folder/Enbun.txt" ||
    fail "a day was lost at the close in $folder"
  [ "$(grep -c '"2024/01/01"' "$folder/Enbun.txt")" -eq 1 ] || fail "the first day is not there once in $folder"
done
echo "two machines: both days in both folders"
