#!/usr/bin/env bash
# Runs the real binary under Xvfb: it starts and shows its window, a second copy
# ends at once without a window (and hands its startup id to the first), a close request saves the data files, a copy
# killed outright does not keep the next one from starting, a FIFO among the
# data files neither blocks nor survives the start, a termination signal ends a
# copy whose last save fails (status 1, the failure on standard error), and a
# day registered in a copy that is then killed outright is in the log anyway,
# and a data folder moved away or removed while the window is open loses nothing.
set -euo pipefail

binary=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
folder=$XDG_DATA_HOME/Tavelnor

fail() { echo "smoke: FAIL: $*" >&2; exit 1; }

# Everything else runs inside one X server.
if [ -z "${SMOKE_INSIDE_X:-}" ]; then
  export SMOKE_INSIDE_X=1
  # -noreset: the server must not restart when the last client (a killed copy) goes.
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$binary"
fi

windows() { xwininfo -root -tree 2>/dev/null | grep -c '"Morvaline": ("morvaline"' || true; }

source "$(dirname "$0")/wait_for.sh"

# Answers the message over the window: the message is the copy's later window
# (a higher id), given the focus first, since no window manager does.
dismiss() {
  local box
  for _ in 1 2 3; do
    box=$(xdotool search --onlyvisible --name '^Morvaline$' 2>/dev/null | sort -n | tail -n +2 | head -1)
    [ -n "$box" ] || return 0
    xdotool windowfocus --sync "$box" 2>/dev/null && xdotool key Return
    wait_for '[ "$(windows)" -le 1 ]' 3 && return 0
  done
  return 1
}

"$binary" &
first=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "the window did not appear"
[ -f "$folder/Kiroku.txt" ] || fail "start-up did not create Kiroku.txt"

# A second copy: ends at once, shows nothing.
start=$SECONDS
timeout 10 "$binary" || fail "the second copy did not end by itself"
[ $((SECONDS - start)) -le 5 ] || fail "the second copy took too long to end"
[ "$(windows)" -eq 1 ] || fail "the second copy showed a window"
kill -0 $first || fail "the first copy ended"
# Its launch's startup id reaches the running window, for the window manager.
window_id=$(xwininfo -root -tree | grep '"Morvaline": ("morvaline"' | awk '{print $1}' | head -n 1)
DESKTOP_STARTUP_ID=smoke-launch_TIME4711 timeout 10 "$binary" || fail "the third copy did not end by itself"
wait_for 'xprop -id "$window_id" _NET_STARTUP_ID | grep -q smoke-launch_TIME4711' 5 ||
  fail "the startup id did not reach the running window"

# A close request saves everything.
kill -TERM $first
wait_for '! kill -0 $first 2>/dev/null' 20 || fail "the first copy did not close"
wait $first || fail "the first copy exited with an error"
for f in Kiroku Chomi Moku Atu; do
  [ -f "$folder/$f.txt" ] || fail "$f.txt was not saved"
done
[ "$(wc -c < "$folder/Kiroku.txt")" -gt 0 ] || fail "Kiroku.txt is empty after the close"
grep -q '^3000' "$folder/Atu.txt" || fail "Atu.txt does not hold the default shift"

# A copy killed outright leaves its lock behind; the next start takes it over.
"$binary" &
killed=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "the window did not appear again"
kill -KILL $killed; wait $killed 2>/dev/null || true
"$binary" &
next=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "a stale lock blocked the next start"
kill -TERM $next; wait $next || fail "the last copy exited with an error"

# A FIFO under a data file's name neither blocks the start nor keeps a
# termination signal from ending the program while the start-up notice is open.
odd=$work/odd/Tavelnor
mkdir -p "$odd" && mkfifo "$odd/Enbun.txt"
# A signal while a notice waits ends the program without the OK: the notice
# on one line of standard error, and status 0, since everything was saved.
XDG_DATA_HOME=$work/odd "$binary" 2> "$work/fifo.err" &
fifo=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "a FIFO as Enbun.txt blocked the start"
sleep 1
kill -TERM $fifo
wait_for '! kill -0 $fifo 2>/dev/null' 20 || fail "the copy with the start-up notice did not end"
status=0; wait $fifo || status=$?
[ $status -eq 0 ] || fail "a signal during the start-up notice ended with status $status, not 0"
[ "$(grep -c '^morvaline: ' "$work/fifo.err")" = 1 ] || fail "not one line on standard error: $(cat "$work/fifo.err")"
ls "$odd"/Enbun.unreadable-*.txt >/dev/null || fail "the FIFO was not set aside"

# A termination signal while the close's save fails: no message box waits for
# an OK; the failure goes to standard error and the exit status is 1. The save
# fails on a target file its owner made read-only (written back with its line
# end, so it differs), which holds for root as well.
ro=$work/ro/Tavelnor
mkdir -p "$ro" && printf '7' > "$ro/Moku.txt" && chmod 444 "$ro/Moku.txt"
XDG_DATA_HOME=$work/ro "$binary" 2> "$work/ro.err" &
failing=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "the window did not appear for the failing close"
kill -TERM $failing
wait_for '! kill -0 $failing 2>/dev/null' 5 || fail "a failed save kept the signalled copy waiting"
status=0; wait $failing || status=$?
[ $status -eq 1 ] || fail "a failed save at a termination signal ended with status $status, not 1"
grep -q '情報処理中にエラーが発生しました' "$work/ro.err" || fail "the failed save was not told on standard error"
[ "$(cat "$ro/Moku.txt")" = 7 ] || fail "the read-only Moku.txt was replaced"

# The diary saves as the user goes: register today, let the autosave run, kill.
if ! command -v xdotool >/dev/null; then
  echo "smoke: 6 passed, 0 failed (xdotool missing: the autosave run was skipped)"
  exit 0
fi
today=$(date +%Y/%m/%d)
"$binary" &
typed=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "the window did not appear for the autosave run"
wid=$(xdotool search --sync --onlyvisible --name '^Morvaline$' | head -1)
xdotool mousemove --window "$wid" 60 68 click 1   # "塩分登録"
sleep 1
xdotool key Return                                 # the confirmation's OK
wait_for 'grep -q "\"$today\"" "$folder/Enbun.txt" 2>/dev/null' 10 ||
  fail "the registered day was not saved within the autosave's delay"
wait_for '! ls "$folder"/*.bak "$folder"/*.tmp >/dev/null 2>&1' 5 || fail "the autosave did not finish"
kill -KILL $typed; wait $typed 2>/dev/null || true
"$binary" &
after=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "the window did not appear after the kill"
grep -q "\"$today\"" "$folder/Enbun.txt" || fail "the registered day was lost by the kill"
kill -TERM $after; wait $after || fail "the copy after the kill exited with an error"

# The data folder taken away while the window is open (moved into a sync
# folder, say, or removed): the window says so, keeps everything and writes it
# all anew where the folder was. The arguments take it away.
folder_goes() {
  "$binary" &
  local copy=$!
  wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "the window did not appear for: $*"
  # The log is read after the first paint; a folder taken before that was never read.
  wait_for 'watching $copy "$folder"' 20 || fail "the data folder was not followed"
  cp "$folder/Enbun.txt" "$work/enbun.before"
  "$@"
  wait_for '[ "$(windows)" -ge 2 ]' 10 || fail "no word that the data folder went away: $*"
  dismiss || fail "the message did not close"
  wait_for '[ -f "$folder/Enbun.txt" ] && [ -f "$folder/Kiroku.txt" ] && [ -f "$folder/Moku.txt" ]' 10 ||
    fail "the data folder was not written anew after: $*"
  kill -TERM $copy; wait $copy || fail "the copy exited with an error after: $*"
  cmp -s "$folder/Enbun.txt" "$work/enbun.before" || fail "a day was lost after: $*"
}
folder_goes mv "$folder" "$work/moved"
cmp -s "$work/moved/Enbun.txt" "$work/enbun.before" || fail "the moved folder was touched"
folder_goes rm -rf "$folder"

# "終了" whose save fails shows a message; a signal while it waits ends the
# program with status 1 and the failure on standard error (the close does not
# save twice, so the message is the only word of it).
XDG_DATA_HOME=$work/ro "$binary" 2> "$work/ro2.err" &
closing=$!
wait_for '[ "$(windows)" -ge 1 ]' 20 || fail "the window did not appear for the failing 終了"
wid=$(xdotool search --sync --onlyvisible --name '^Morvaline$' | head -1)
xdotool mousemove --window "$wid" 60 648 click 1   # "終了"
wait_for '[ "$(windows)" -ge 2 ]' 10 || fail "no message after the failing 終了"
kill -TERM $closing
wait_for '! kill -0 $closing 2>/dev/null' 5 || fail "the message kept the signalled copy waiting"
status=0; wait $closing || status=$?
[ $status -eq 1 ] || fail "a signal during the failed save's message ended with status $status, not 1"
[ "$(grep -c '^morvaline: 情報処理中にエラーが発生しました' "$work/ro2.err")" = 1 ] ||
  fail "the failed save was not told on one line: $(cat "$work/ro2.err")"

echo "smoke: 10 passed, 0 failed"
