#!/usr/bin/env bash
# Two real Syncthing peers on the loopback keep the data folders of two copies
# of the real binary in step, with Syncthing's defaults but for what two peers
# on one machine need: homes of their own, the GUI and API and the listen
# addresses on ports of their own on 127.0.0.1, no relays and no discovery,
# each device given the other's ID and address, one shared folder. Through
# them: a day registered on each machine; Enbun.txt taken away for a moment;
# the same row named on both while out of reach (the later name stays, and only
# the machine whose name was replaced says so, once); a row named on one
# machine and both closing at once; the log deleted on one machine and a day
# registered on the other. Throughout, the program makes no file named
# "conflict", and every conflict copy Syncthing makes ends up in
# journal/absorbed. Skipped when Syncthing or a tool is missing.
set -euo pipefail

binary=$1
for tool in syncthing curl python3 xvfb-run xdotool inotifywait; do
  command -v "$tool" >/dev/null || { echo "syncthing peers: skipped: $tool is not installed"; exit 0; }
done
if [ -z "${SMOKE_INSIDE_X:-}" ]; then
  export SMOKE_INSIDE_X=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$binary"
fi

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; wait; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime HOME=$work/home
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
started=$SECONDS

fail() {
  echo "syncthing peers: FAIL: $*" >&2
  cat "$work"/*.err >&2 2>/dev/null || true
  exit 1
}
source "$(dirname "$0")/wait_for.sh"
source "$(dirname "$0")/two_copies.sh"

desk=$work/desk/Tavelnor
lap=$work/lap/Tavelnor
mkdir -p "$desk" "$lap"

# ---- The two peers ----
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
json() { python3 -c "import json, sys; d = json.load(sys.stdin); sys.exit(0 if ($1) else 1)"; }
declare -A gui key id listen
peer() {  # name
  local home=$work/st-$1
  syncthing generate --home="$home" --no-default-folder >/dev/null 2>&1
  gui[$1]=$(free_port) listen[$1]=$(free_port)
  sed -i -e "s|<listenAddress>default</listenAddress>|<listenAddress>tcp://127.0.0.1:${listen[$1]}</listenAddress>|" \
    -e 's|<globalAnnounceEnabled>true<|<globalAnnounceEnabled>false<|' \
    -e 's|<localAnnounceEnabled>true<|<localAnnounceEnabled>false<|' \
    -e 's|<relaysEnabled>true<|<relaysEnabled>false<|' "$home/config.xml"
  key[$1]=$(sed -n 's|.*<apikey>\(.*\)</apikey>.*|\1|p' "$home/config.xml")
  id[$1]=$(syncthing serve --home="$home" --device-id)
  STNOUPGRADE=1 syncthing serve --home="$home" --no-browser --no-restart \
    --gui-address="http://127.0.0.1:${gui[$1]}" >"$work/st-$1.log" 2>&1 &
}
api() {  # peer, method, path, JSON to send
  curl -sf -X "$2" -H "X-API-Key: ${key[$1]}" ${4:+-H 'Content-Type: application/json' -d "$4"} \
    "http://127.0.0.1:${gui[$1]}$3"
}
other() { if [ "$1" = desk ]; then echo lap; else echo desk; fi; }
peer desk
peer lap
for p in desk lap; do
  wait_for "api $p GET /rest/system/ping >/dev/null" 30 || fail "Syncthing ($p) did not start: $(tail -5 "$work/st-$p.log")"
done
for p in desk lap; do
  o=$(other $p)
  api $p POST /rest/config/devices \
    "{\"deviceID\": \"${id[$o]}\", \"name\": \"$o\", \"addresses\": [\"tcp://127.0.0.1:${listen[$o]}\"]}" >/dev/null
  api $p POST /rest/config/folders "{\"id\": \"tavelnor\", \"label\": \"Tavelnor\", \"path\": \"$work/$p/Tavelnor\",
    \"devices\": [{\"deviceID\": \"${id[$o]}\"}]}" >/dev/null
done
connected() { api "$1" GET /rest/system/connections | json "d['connections'].get('${id[$(other "$1")]}', {}).get('connected')"; }
wait_for 'connected desk && connected lap' 30 || fail "the peers did not connect"
# Out of reach of each other: each pauses the shared folder.
folder_paused() {  # true or false
  local p stopped=False
  [ "$1" = true ] && stopped=True
  for p in desk lap; do api $p PATCH /rest/config/folders/tavelnor "{\"paused\": $1}" >/dev/null; done
  for p in desk lap; do  # a paused folder has no state
    wait_for "api $p GET /rest/db/status?folder=tavelnor | json \"(d['state'] == '') == $stopped\"" 10 ||
      fail "Syncthing ($p) did not take the folder's pause"
  done
}
out_of_reach() { folder_paused true; }
in_reach() { folder_paused false; }
# A peer has scanned now, needs nothing, and the other has all it has.
synced() {
  api "$1" POST "/rest/db/scan?folder=tavelnor" >/dev/null &&
    api "$1" GET "/rest/db/status?folder=tavelnor" | json "d['state'] == 'idle' and d['needTotalItems'] == 0" &&
    api "$1" GET "/rest/db/completion?folder=tavelnor&device=${id[$(other "$1")]}" | json "d['completion'] == 100"
}
# Both in sync, with the same data files and journals.
in_step() {
  local f
  synced desk && synced lap || return 1
  for f in "$desk"/*.txt "$desk"/journal/*.journal; do
    [ ! -e "$f" ] || cmp -s "$f" "$lap/${f#"$desk"/}" || return 1
  done
}
# In step, and still so, unchanged, longer than an autosave takes to follow a
# change that came in: nothing is on its way any more.
settled() {
  local sig quiet end=$((SECONDS + 40))
  while [ $SECONDS -lt $end ]; do
    wait_for in_step $((end - SECONDS)) || return 1
    sig=$(cat "$desk"/*.txt "$desk"/journal/*.journal 2>/dev/null | md5sum)
    quiet=$((SECONDS + 3))
    while [ $SECONDS -lt $quiet ] && [ "$(cat "$desk"/*.txt "$desk"/journal/*.journal 2>/dev/null | md5sum)" = "$sig" ]; do
      sleep 0.3
    done
    [ $SECONDS -ge $quiet ] && in_step && return 0
  done
  return 1
}

# Every file made in either folder, by anyone, from here on.
inotifywait -m -r -q -e create -e moved_to --format '%w%f' "$desk" "$lap" >"$work/made" 2>/dev/null &
sleep 0.5  # its watches in place

start_desktop() { start_copy desk aaaaaaaaaaaaaaaa; desktop=$copy_pid dw=$copy_window; }
start_laptop() { start_copy lap bbbbbbbbbbbbbbbb; laptop=$copy_pid lw=$copy_window; }
start_desktop
settled || fail "the desktop's first files did not reach the laptop"
start_laptop
settled || fail "the folders did not settle after the laptop started"
close_boxes $desktop "$dw" && close_boxes $laptop "$lw" || fail "a message did not close"
echo "syncthing peers: both running after $((SECONDS - started)) s"

# A day registered on each machine, a moment apart.
register_date $desktop "$dw" 2024/01/01
register_date $laptop "$lw" 2024/01/02
days=(2024/01/01 2024/01/02)
settled || fail "the folders did not settle after a day on each machine"
for folder in "$desk" "$lap"; do
  once_each "$folder" "${days[@]}" || fail "a day on each machine: $folder/Enbun.txt holds $(log_of "$folder")"
done

# Another program takes Enbun.txt away for a moment and puts it back; the
# desktop's next save still writes the whole log, and it reaches the laptop.
mv "$desk/Enbun.txt" "$desk/Enbun.away"; sleep 0.02; mv "$desk/Enbun.away" "$desk/Enbun.txt"
register_date $desktop "$dw" 2024/01/03
days+=(2024/01/03)
wait_for 'once_each "$desk" "${days[@]}"' 10 || fail "a save after Enbun.txt was away for a moment: $(log_of "$desk")"
settled || fail "the folders did not settle after Enbun.txt was away"
for folder in "$desk" "$lap"; do
  once_each "$folder" "${days[@]}" || fail "after Enbun.txt was away: $folder/Enbun.txt holds $(log_of "$folder")"
done
close_boxes $desktop "$dw" && close_boxes $laptop "$lw" || fail "a message did not close"

# Out of reach, the desktop names row 1 and then the laptop names it too. In
# reach again, the laptop's later name stays on both; the desktop says once
# that its name was replaced, and the laptop says nothing.
out_of_reach
name_row $desktop "$dw" 1 tea
wait_for 'grep -q "\"tea\"" "$desk/Kiroku.txt"' 10 || fail "the desktop's row was not saved"
name_row $laptop "$lw" 1 cha
wait_for 'grep -q "\"cha\"" "$lap/Kiroku.txt"' 10 || fail "the laptop's row was not saved"
in_reach
settled || fail "the folders did not settle after the same row on both"
for folder in "$desk" "$lap"; do
  [ "$(names_in "$folder")" = "cha " ] || fail "the later name is not the one kept in $folder: $(names_in "$folder")"
done
[ "$(shown $desktop)" -eq 2 ] || fail "the desktop, whose name was replaced, showed $(($(shown $desktop) - 1)) messages, not one"
[ "$(shown $laptop)" -eq 1 ] || fail "the laptop, whose name stayed, showed a message"

# With the desktop's message still open, the laptop names row 2, and both
# close at once. The message goes to the desktop's standard error; it names
# the row, both names and the laptop. At the next start nothing went back.
name_row $laptop "$lw" 2 udon
sleep 0.5  # the keys taken in, well before an autosave
: >"$work/desk.err"
kill -TERM $desktop $laptop
wait $desktop || fail "the desktop's copy exited with an error at the close"
wait $laptop || fail "the laptop's copy exited with an error at the close"
told=$(cat "$work/desk.err")
for word in "品目 1 ページ 1 行目" tea cha lap; do
  [[ $told == *"$word"* ]] || fail "the desktop's message does not name \"$word\": $told"
done
settled || fail "the folders did not settle after both closed"
start_desktop
start_laptop
settled || fail "the folders did not settle after both started again"
for folder in "$desk" "$lap"; do
  [ "$(names_in "$folder")" = "cha udon " ] || fail "a row went back when both closed at once ($folder: $(names_in "$folder"))"
  once_each "$folder" "${days[@]}" || fail "a day was lost when both closed at once ($folder: $(log_of "$folder"))"
done
close_boxes $desktop "$dw" && close_boxes $laptop "$lw" || fail "a message did not close"

# Out of reach, the desktop deletes the log and the laptop then registers a
# day. In reach again, the laptop's day stands in both, and the days before
# the deletion stay deleted in both.
out_of_reach
delete_log $desktop "$dw" "$desk"
register_date $laptop "$lw" 2024/04/01
wait_for 'grep -q "\"2024/04/01\"" "$lap/Enbun.txt"' 10 || fail "the laptop did not save its day"
in_reach
settled || fail "the folders did not settle after the deletion"
for folder in "$desk" "$lap"; do
  [ "$(log_of "$folder")" = "2024/04/01 " ] ||
    fail "after a deletion and a later day elsewhere, $folder/Enbun.txt holds: $(log_of "$folder")"
done
close_boxes $desktop "$dw" && close_boxes $laptop "$lw" || fail "a message did not close"

kill -TERM $laptop; wait $laptop || fail "the laptop's copy exited with an error"
settled || fail "the folders did not settle after the laptop closed"
kill -TERM $desktop; wait $desktop || fail "the desktop's copy exited with an error"
settled || fail "the folders did not settle after the desktop closed"

# What was made along the way: no conflict file of the program's own, and
# each conflict copy Syncthing made of a data file is in journal/absorbed.
made=$(sed 's|.*/||' "$work/made" | sort -u)
ours=$(grep -i conflict <<<"$made" | grep -v '\.sync-conflict-' || true)
[ -z "$ours" ] || fail "files named conflict that Syncthing did not make: $ours"
copies=$(grep -E '^(Kiroku|Chomi|Moku|Enbun|Atu)\.sync-conflict-.*\.txt$' <<<"$made" || true)
for copy in $copies; do
  for folder in "$desk" "$lap"; do
    compgen -G "$folder/journal/absorbed/*$copy" >/dev/null || fail "$copy is not in $folder/journal/absorbed"
  done
done
left=$(find "$desk" "$lap" -name '*.sync-conflict-*' ! -path '*/journal/absorbed/*')
[ -z "$left" ] || fail "conflict copies left where they were made: $left"
echo "syncthing peers: nothing lost, told once on the machine that lost, no conflict file of ours;" \
  "$(wc -w <<<"$copies") Syncthing conflict copies absorbed; $answered messages answered; $((SECONDS - started)) s"
