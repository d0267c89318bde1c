#!/usr/bin/env bash
# Two copies of the real binary on two data folders that a script keeps in
# step the way a sync program does (another file written beside, then renamed
# over; the newer of two versions wins). A backup that came from elsewhere
# gives its days without replacing the log; each machine registers a day; a
# question left open while the other's day arrives registers by date once
# answered; a sync program's conflict copy of the item table is taken in and
# moved away. Then what another program or a sync program does to the folder:
# Enbun.txt taken away for a moment, once and while days are registered; a
# conflict copy of the log taken in just before a kill; the files and then
# the whole folder removed; both machines closing at once, each having changed
# a different row; both renaming a row each while out of reach of each other;
# a log deleted on one machine while the other, out of reach, registers a day.
# Nothing is lost that no one deleted, and the program writes no conflict file.
set -euo pipefail

binary=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

fail() {
  echo "two machines: FAIL: $*" >&2
  cat "$work"/*.err >&2 2>/dev/null || true
  exit 1
}

if [ -z "${SMOKE_INSIDE_X:-}" ]; then
  export SMOKE_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$binary"
fi
if ! command -v xdotool >/dev/null; then
  echo "two machines: skipped (xdotool missing)"
  exit 0
fi

source "$(dirname "$0")/wait_for.sh"
source "$(dirname "$0")/two_copies.sh"

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
# Out of reach: the machines cannot see each other while $work/pause exists;
# $work/paused says the last pass has ended.
( while true; do
    if [ -e "$work/pause" ]; then touch "$work/paused"; else sync_once 2>/dev/null || true; fi
    sleep 0.3
  done ) &
syncer=$!
pause_sync() { rm -f "$work/paused"; touch "$work/pause"; wait_for '[ -e "$work/paused" ]' 5 || fail "the sync loop did not stop"; }
resume_sync() { rm -f "$work/pause"; }
in_step() {  # the two folders hold the same files and journals
  local f
  for f in Kiroku Enbun; do cmp -s "$desk/$f.txt" "$lap/$f.txt" || return 1; done
  for f in "$desk"/journal/*.journal; do cmp -s "$f" "$lap/journal/$(basename "$f")" || return 1; done
}
# In step, and still so, unchanged, longer than an autosave takes to follow a
# change that came in: nothing is on its way any more.
settled() {
  local sig quiet end=$((SECONDS + 30))
  while [ $SECONDS -lt $end ]; do
    wait_for in_step $((end - SECONDS)) || return 1
    sig=$(cat "$desk"/*.txt "$desk"/journal/*.journal 2>/dev/null | md5sum)
    quiet=$((SECONDS + 3))
    while [ $SECONDS -lt $quiet ] && in_step &&
      [ "$(cat "$desk"/*.txt "$desk"/journal/*.journal 2>/dev/null | md5sum)" = "$sig" ]; do sleep 0.3; done
    [ $SECONDS -ge $quiet ] && return 0
  done
  return 1
}

start_desktop() { start_copy desk aaaaaaaaaaaaaaaa; desktop=$copy_pid dw=$copy_window; }
start_laptop() { start_copy lap bbbbbbbbbbbbbbbb; laptop=$copy_pid lw=$copy_window; }

start_desktop
wait_for '[ "$(shown $desktop)" -ge 2 ]' 15 || fail "the desktop did not tell of the backup from elsewhere"
focus "$(box_of $desktop "$dw")"; xdotool key Return
wait_for '[ "$(shown $desktop)" -eq 1 ]' 5 || fail "the desktop's message did not close"
start_laptop
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
names="tea miso "
items_in() { [ "$(names_in "$1")" = "$names" ]; }
# Nothing in either folder is a conflict file of the program's own.
no_conflict_files() {
  local found
  found=$(find "$desk" "$lap" \( -name '*conflict*' ! -name '*.sync-conflict-*' \) -o \
    \( -name '*.merged-*' ! -path '*/journal/absorbed/*' \))
  [ -z "$found" ] || fail "the program wrote conflict files: $found"
}

# The laptop registers today; as soon as its save reaches the desktop's folder,
# the desktop registers yesterday: its save must not drop the laptop's day.
register "$lw" 0
wait_for 'grep -q "\"$today\"" "$desk/Enbun.txt"' 15 || fail "the laptop's day did not reach the desktop"
register "$dw" 1
for folder in "$desk" "$lap"; do
  wait_for 'grep -q "\"$yesterday\"" "$folder/Enbun.txt" && grep -q "\"$today\"" "$folder/Enbun.txt"' 15 ||
    fail "$folder/Enbun.txt does not hold both days: $(log_of "$folder")"
done

# The laptop asks whether to write today over; while it waits, the desktop's
# new day arrives and is merged. The answer then registers today by date.
before=$(date -d '2 days ago' +%Y/%m/%d)
press_register "$lw" 0
wait_for '[ "$(shown $laptop)" -ge 2 ]' 5 || fail "the laptop did not ask about today"
question=$(box_of $laptop "$lw")
register "$dw" 1                                 # its date box still on yesterday
wait_for 'grep -q "\"$before\"" "$lap/Enbun.txt"' 15 || fail "the desktop's day did not reach the laptop: $(log_of "$desk") / $(log_of "$lap")"
sleep 2                                          # the laptop merges it under its question
focus "$question"; xdotool key Tab Return        # はい
sleep 1
focus "$(box_of $laptop "$lw")"; xdotool key Return  # the confirmation's OK
days=(2023/12/31 2024/01/01 "$before" "$yesterday" "$today")
for folder in "$desk" "$lap"; do
  wait_for 'once_each "$folder" "${days[@]}"' 15 ||
    fail "an answer given after the log changed lost or doubled a day in $folder: $(log_of "$folder")"
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
no_conflict_files
close_boxes $desktop "$dw" || fail "the desktop's message did not close"
close_boxes $laptop "$lw" || fail "the laptop's message did not close"

# Another program takes Enbun.txt away for a moment and puts it back, as sync
# programs do; the next save still writes the whole log.
pause_sync
mv "$desk/Enbun.txt" "$desk/Enbun.away"; sleep 0.02; mv "$desk/Enbun.away" "$desk/Enbun.txt"
register_date $desktop "$dw" 2024/03/01
days+=(2024/03/01)
wait_for 'once_each "$desk" "${days[@]}"' 10 ||
  fail "a save after Enbun.txt was away for a moment lost the log: $(log_of "$desk")"
# Away and back again and again while days are registered: no day is lost.
( while [ ! -e "$work/renamed" ]; do
    mv "$desk/Enbun.txt" "$desk/Enbun.away" 2>/dev/null && { sleep 0.02; mv "$desk/Enbun.away" "$desk/Enbun.txt"; }
    sleep 0.15
  done ) &
renamer=$!
for day in 2024/03/02 2024/03/03 2024/03/04 2024/03/05 2024/03/06; do
  register_date $desktop "$dw" $day
  days+=("$day")
done
# The last day's autosave, under the renames.
wait_for 'grep -qs "\"2024/03/06\"" "$desk/Enbun.txt"' 10 || fail "the last day was not saved under the renames"
touch "$work/renamed"; wait $renamer
resume_sync
for folder in "$desk" "$lap"; do
  wait_for 'once_each "$folder" "${days[@]}"' 15 ||
    fail "a day registered while Enbun.txt went away and back is not in $folder: $(log_of "$folder")"
done
close_boxes $desktop "$dw" || fail "the desktop's message did not close"
close_boxes $laptop "$lw" || fail "the laptop's message did not close"

# A conflict copy of the log is taken in and moved away, and the desktop is
# killed at once, before its autosave: the copy's days are in its journal.
{ tr -d '\r' < "$desk/Enbun.txt"; echo '"2022/05/01","3","",""'; echo '"2022/05/02","4","",""'; } |
  sort | sed 's/$/\r/' > "$work/copy"
mv "$work/copy" "$desk/Enbun.sync-conflict-20240101-111111-ABCDEFG.txt"
wait_for 'ls "$desk"/journal/absorbed/Enbun.sync-conflict-*.txt >/dev/null 2>&1' 5 ||
  fail "the conflict copy of the log was not taken in: $(ls "$desk")"
kill -KILL $desktop; wait $desktop 2>/dev/null || true
! grep -q '"2022/05/01"' "$desk/Enbun.txt" || fail "the autosave came before the kill: the step tests nothing"
start_desktop
days=(2022/05/01 2022/05/02 "${days[@]}")
for folder in "$desk" "$lap"; do
  wait_for 'once_each "$folder" "${days[@]}"' 15 ||
    fail "a conflict copy's days were lost to a kill soon after it was taken in ($folder: $(log_of "$folder"))"
done
! ls "$desk"/*sync-conflict* >/dev/null 2>&1 || fail "the conflict copy of the log stayed in the folder"
close_boxes $desktop "$dw" || fail "the desktop's message did not close"

# The files are removed one by one, then the whole folder: the desktop says so,
# and its next save writes every day and item into the folder anew.
pause_sync
for f in Kiroku Chomi Moku Atu Enbun; do rm -f "$desk/$f.txt"; sleep 0.1; done
rm -rf "$desk"
wait_for '[ "$(shown $desktop)" -ge 2 ]' 10 || fail "the desktop did not tell that its folder is gone"
close_boxes $desktop "$dw" || fail "the desktop's message did not close"
wait_for '[ -f "$desk/Enbun.txt" ] && once_each "$desk" "${days[@]}" && items_in "$desk"' 10 ||
  fail "the save after the folder was removed did not write every day and item anew: $(ls "$desk" 2>&1)"
kill -TERM $desktop
wait $desktop || fail "the desktop's copy exited with an error after its folder was removed"
once_each "$desk" "${days[@]}" && items_in "$desk" || fail "the close after the folder was removed lost a day or an item"
resume_sync
start_desktop
close_boxes $desktop "$dw" || fail "the desktop's message did not close"

# Both machines close at once, each having changed a row the other did not:
# the desktop renames row 3, which the laptop named, and the laptop names row
# 2. Neither has the other's change when it closes, and the laptop closes a
# moment later, so its table, which lacks the desktop's rename, is the newer
# file that the sync program keeps. At the next start neither row has gone back.
name_row $laptop "$lw" 3 soba
settled && grep -q '"soba"' "$desk/Kiroku.txt" || fail "the laptop's row did not reach the desktop: $(names_in "$desk") / $(names_in "$lap")"
pause_sync
name_row $desktop "$dw" 3 green
name_row $laptop "$lw" 2 udon
sleep 0.5  # the keys taken in, well before an autosave
kill -TERM $desktop; sleep 0.1; kill -TERM $laptop
wait $desktop || fail "the desktop's copy exited with an error at the close"
wait $laptop || fail "the laptop's copy exited with an error at the close"
resume_sync
wait_for in_step 10 || fail "the closed machines' folders did not come in step"
start_desktop
start_laptop
for folder in "$desk" "$lap"; do
  wait_for 'grep -q "\"green\"" "$folder/Kiroku.txt" && grep -q "\"udon\"" "$folder/Kiroku.txt"' 15 ||
    fail "a row changed on one machine alone went back when both closed at once ($folder/Kiroku.txt: $(names_in "$folder"))"
done
settled || fail "the folders did not settle after the start"
names="tea udon green miso "
for folder in "$desk" "$lap"; do
  items_in "$folder" ||
    fail "a row changed on one machine alone went back after both closed at once ($folder/Kiroku.txt: $(names_in "$folder"))"
done
close_boxes $desktop "$dw" || fail "the desktop's message did not close"
close_boxes $laptop "$lw" || fail "the laptop's message did not close"

# Both machines rename a row each, a row the other named, while out of reach
# of each other for a moment, as a sync program often is: the laptop's table,
# saved after the desktop's rename but before it arrived, still holds the
# row's old name, and is newer than the rename. Both renames stay, in both.
pause_sync
name_row $desktop "$dw" 2 ramen
wait_for 'grep -q "\"ramen\"" "$desk/Kiroku.txt"' 10 || fail "the desktop's rename was not saved"
name_row $laptop "$lw" 1 cha
wait_for 'grep -q "\"cha\"" "$lap/Kiroku.txt"' 10 || fail "the laptop's rename was not saved"
resume_sync
names="cha ramen green miso "
settled || fail "the folders did not settle after a rename on each machine"
for folder in "$desk" "$lap"; do
  items_in "$folder" || fail "a row renamed on one machine alone went back ($folder/Kiroku.txt: $(names_in "$folder"))"
done
close_boxes $desktop "$dw" || fail "the desktop's message did not close"
close_boxes $laptop "$lw" || fail "the laptop's message did not close"

# Out of reach of each other, the desktop deletes the log and the laptop then
# registers a day. Back in reach, the laptop's day stands in both, and the
# days before the deletion stay deleted in both.
settled || fail "the folders did not settle before the deletion"
pause_sync
delete_log $desktop "$dw" "$desk"
register_date $laptop "$lw" 2024/04/01
wait_for 'grep -q "\"2024/04/01\"" "$lap/Enbun.txt"' 5 || fail "the laptop did not save its day"
resume_sync
settled || fail "the folders did not settle after the deletion"
for folder in "$desk" "$lap"; do
  [ "$(log_of "$folder")" = "2024/04/01 " ] ||
    fail "after a deletion and a later day elsewhere, $folder/Enbun.txt holds: $(log_of "$folder")"
done
close_boxes $desktop "$dw" || fail "the desktop's message did not close"
close_boxes $laptop "$lw" || fail "the laptop's message did not close"

kill -TERM $desktop $laptop
wait $desktop || fail "the desktop's copy exited with an error"
wait $laptop || fail "the laptop's copy exited with an error"
kill $syncer; wait $syncer 2>/dev/null || true
sync_once
for folder in "$desk" "$lap"; do
  [ "$(log_of "$folder")" = "2024/04/01 " ] || fail "the close changed the log in $folder: $(log_of "$folder")"
  items_in "$folder" || fail "a named row was lost at the close in $folder"
done
no_conflict_files
echo "two machines: every day and row that no one deleted is in both folders, and no conflict file"
