#!/usr/bin/env bash
# Two copies of the real binary on two data folders that a script keeps in
# step the way a sync program does (another file written beside, then renamed
# over). A backup that came from elsewhere gives its days without replacing the
# log; each machine registers a day; a question left open while the other's day
# arrives registers by date once answered; a sync program's conflict copy of
# the item table is merged and renamed. Afterwards every day and every row is
# in both folders, once.
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
# Carried over from the laptop, say, with no mark of the desktop's own save.
printf '"2023/12/31","4","",""\r\n"2024/01/01","9","",""\r\n' > "$desk/Enbun.bak"
touch -d '1 hour ago' "$desk/Enbun.bak"

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
  # Each machine's journal is written by that machine alone.
  mkdir -p "$desk/journal" "$lap/journal"
  for a in "$desk"/journal/*.journal "$lap"/journal/*.journal; do
    [ -f "$a" ] || continue
    f=$(basename "$a")
    for b in "$desk/journal/$f" "$lap/journal/$f"; do
      [ "$a" = "$b" ] && continue
      if [ ! -f "$b" ] || { [ "$a" -nt "$b" ] && ! cmp -s "$a" "$b"; }; then
        cp -p "$a" "$(dirname "$b")/.syncthing.$f.tmp" && mv "$(dirname "$b")/.syncthing.$f.tmp" "$b"
      fi
    done
  done
}
( while true; do sync_once; sleep 0.3; done ) &

# xdotool's --pid does not narrow a search by name: each window's own pid is asked.
windows_of() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Morvaline$' 2>/dev/null); do
    [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$1" ] && echo "$w"
  done
  return 0
}
shown() { windows_of "$1" | wc -l; }
# The main window is the copy's first: its messages come later, with higher ids.
window_of() { local copy=$1; wait_for '[ "$(shown $copy)" -ge 1 ]' 20 && windows_of $copy | sort -n | head -1; }
# Both windows open at one place, and no window manager raises the one used.
focus() { xdotool windowraise "$1"; xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }
# The message or question a copy shows over its window.
box_of() { windows_of "$1" | grep -vx "$2" | head -1; }

XDG_DATA_HOME=$work/desk XDG_STATE_HOME=$work/desk-state MORVALINE_MACHINE_NODE=aaaaaaaaaaaaaaaa "$binary" &
desktop=$!
dw=$(window_of $desktop)
wait_for '[ "$(shown $desktop)" -ge 2 ]' 15 || fail "the desktop did not tell of the backup from elsewhere"
focus "$(box_of $desktop "$dw")"; xdotool key Return
wait_for '[ "$(shown $desktop)" -eq 1 ]' 5 || fail "the desktop's message did not close"
XDG_DATA_HOME=$work/lap XDG_STATE_HOME=$work/lap-state MORVALINE_MACHINE_NODE=bbbbbbbbbbbbbbbb "$binary" &
laptop=$!
lw=$(window_of $laptop)
[ -n "$dw" ] && [ -n "$lw" ] || fail "both windows did not appear"
wait_for 'grep -q "\"2023/12/31\"" "$lap/Enbun.txt"' 15 || fail "the backup's day did not reach the laptop"
grep -q '"2024/01/01","5"' "$desk/Enbun.txt" || fail "the backup from elsewhere replaced the log"
[ ! -e "$desk/Enbun.bak" ] || fail "the backup from elsewhere was left to be put back"

today=$(date +%Y/%m/%d)
yesterday=$(date -d yesterday +%Y/%m/%d)
press_register() {  # window, days back from the date shown
  focus "$1"
  for ((i = 0; i < $2; i++)); do xdotool mousemove --window "$1" 124 21 click 1; done  # "<"
  xdotool mousemove --window "$1" 60 68 click 1  # "塩分登録"
  sleep 1
}
register() { press_register "$@"; xdotool key Return; }  # the confirmation's OK
once_each() {  # folder, dates: each date once, the days in order
  local day
  for day in "${@:2}"; do
    [ "$(grep -c "^\"$day\"" "$1/Enbun.txt")" -eq 1 ] || return 1
  done
  cut -d, -f1 "$1/Enbun.txt" | sort -c
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

# The laptop asks whether to write today over; while it waits, the desktop's
# new day arrives and is merged. The answer then registers today by date.
before=$(date -d '2 days ago' +%Y/%m/%d)
press_register "$lw" 0
wait_for '[ "$(shown $laptop)" -ge 2 ]' 5 || fail "the laptop did not ask about today"
question=$(box_of $laptop "$lw")
register "$dw" 1                                 # its date box still on yesterday
wait_for 'grep -q "\"$before\"" "$lap/Enbun.txt"' 15 || fail "the desktop's day did not reach the laptop: $(tr -d "\r" < "$desk/Enbun.txt" | tr "\n" " ") / $(tr -d "\r" < "$lap/Enbun.txt" | tr "\n" " ")"
sleep 2                                          # the laptop merges it under its question
focus "$question"; xdotool key Tab Return        # はい
sleep 1
focus "$(box_of $laptop "$lw")"; xdotool key Return  # the confirmation's OK
days=(2023/12/31 2024/01/01 "$before" "$yesterday" "$today")
for folder in "$desk" "$lap"; do
  wait_for 'once_each "$folder" "${days[@]}"' 15 ||
    fail "an answer given after the log changed lost or doubled a day in $folder: $(tr -d '\r' < "$folder/Enbun.txt" | tr '\n' ' ')"
done

# A sync program's conflict copy of the item table, made from the table both
# machines started with: the desktop has named row 1 since, the copy row 5.
# Both rows stay and reach the other machine; the copy is renamed so that it
# is taken in once and moved into the journal folder.
focus "$dw"
xdotool mousemove --window "$dw" 400 53 click 1 type tea   # row 1's name
wait_for 'grep -q "\"tea\"" "$desk/Kiroku.txt"' 10 || fail "the desktop's item was not saved"
for ((row = 1; row <= 160; row++)); do
  if [ $row -eq 5 ]; then printf '"0","miso","","2.0"\r\n'; else printf '"0","","",""\r\n'; fi
done > "$work/copy"
mv "$work/copy" "$desk/Kiroku.sync-conflict-20240101-101010-ABCDEFG.txt"
for folder in "$desk" "$lap"; do
  wait_for 'grep -q "\"miso\"" "$folder/Kiroku.txt"' 15 || fail "the conflict copy's row is not in $folder/Kiroku.txt"
  grep -q '"tea"' "$folder/Kiroku.txt" || fail "the desktop's own row was lost to the conflict copy in $folder"
done
wait_for '[ -z "$(ls "$desk" | grep sync-conflict)" ] && ls "$desk"/journal/absorbed/Kiroku.sync-conflict-*.txt >/dev/null 2>&1' 5 ||
  fail "the conflict copy was not moved away once taken in: $(ls "$desk")"
[ -z "$(ls "$desk" "$lap" | grep -e '\.conflict-' -e '\.merged-')" ] || fail "the program wrote conflict files"
if [ "$(shown $desktop)" -ge 2 ]; then focus "$(box_of $desktop "$dw")"; xdotool key Return; fi

kill -TERM $desktop $laptop
wait $desktop || fail "the desktop's copy exited with an error"
wait $laptop || fail "the laptop's copy exited with an error"
sync_once
for folder in "$desk" "$lap"; do
  grep -q "\"$yesterday\"" "$folder/Enbun.txt" && grep -q "\"$today\"" "$folder/Enbun.txt" ||
    fail "a day was lost at the close in $folder"
  once_each "$folder" "${days[@]}" || fail "a day is not there once in $folder at the close"
  grep -q '"miso"' "$folder/Kiroku.txt" && grep -q '"tea"' "$folder/Kiroku.txt" ||
    fail "a named row was lost at the close in $folder"
done
echo "two machines: every day and the conflict copy's row in both folders"
