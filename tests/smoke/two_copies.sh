# shellcheck shell=bash
# Two copies of the real binary under one X server, as two machines: their
# windows and message boxes, what they register, and what their data folders
# hold. Sourced by the smoke scripts after wait_for.sh; they define $work,
# $binary and fail.

# start_copy NAME NODE: a copy as machine NAME, with data and state folders of
# its own ($work/NAME, $work/NAME-state); its pid in $copy_pid, its main
# window in $copy_window, its standard error in $work/NAME.err.
start_copy() {
  XDG_DATA_HOME=$work/$1 XDG_STATE_HOME=$work/$1-state MORVALINE_MACHINE_NODE=$2 MORVALINE_MACHINE_NAME=$1 \
    "$binary" 2>>"$work/$1.err" &
  copy_pid=$!
  copy_window=$(window_of $copy_pid) || fail "the $1 window did not appear"
}

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
window_of() { local copy=$1; wait_for '[ "$(shown $copy)" -ge 1 ]' 20 && windows_of "$copy" | sort -n | head -1; }
# Both windows open at one place, and no window manager raises the one used.
focus() { xdotool windowraise "$1"; xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; }
# The message or question a copy shows over its window.
box_of() { windows_of "$1" | grep -vx "$2" | head -1; }
# Every message a copy shows is answered with its OK (a question with its
# default). How many were answered is added to $answered.
answered=0
close_boxes() {  # copy, its window
  local box tries=0
  while [ "$(shown "$1")" -ge 2 ] && [ $tries -lt 10 ]; do
    box=$(box_of "$1" "$2")
    [ -n "$box" ] && { focus "$box"; xdotool key Return; answered=$((answered + 1)); }
    sleep 0.3
    tries=$((tries + 1))
  done
  [ "$(shown "$1")" -eq 1 ]
}

# A date typed into the date box and registered; the date is not in the log
# yet, so the only box is the confirmation.
register_date() {  # copy, window, date
  local copy=$1
  close_boxes "$copy" "$2" || fail "a message of $copy did not close"
  focus "$2"
  xdotool mousemove --window "$2" 58 21 click 1 key ctrl+a type "$3"
  xdotool mousemove --window "$2" 60 68 click 1  # "塩分登録"
  wait_for '[ "$(shown $copy)" -ge 2 ]' 5 || fail "registering $3 showed no confirmation"
  close_boxes "$copy" "$2" || fail "the confirmation of $3 did not close"
}
# The item table's row (1-16 of the first page) named: typed into, or
# written over.
name_row() {  # copy, window, row, name
  close_boxes "$1" "$2" || fail "a message of $1 did not close"
  focus "$2"
  xdotool mousemove --window "$2" 400 $((54 + 39 * ($3 - 1))) click 1 key ctrl+a type "$4"
}
# The log deleted through "削除", answering its question with はい.
delete_log() {  # copy, window, its data folder
  local copy=$1 folder=$3
  close_boxes "$copy" "$2" || fail "a message of $copy did not close"
  focus "$2"
  xdotool mousemove --window "$2" 60 106 click 1  # "削除"
  sleep 0.5                                         # the panel over the commands
  xdotool mousemove --window "$2" 58 162 click 1  # the log's "削除"
  wait_for '[ "$(shown $copy)" -ge 2 ]' 5 || fail "deleting the log asked nothing"
  focus "$(box_of "$copy" "$2")"; xdotool key Tab Return
  wait_for '[ ! -e "$folder/Enbun.txt" ]' 5 || fail "the log was not deleted"
  wait_for '[ "$(shown $copy)" -ge 2 ]' 5 && close_boxes "$copy" "$2" || fail "the deletion's message did not close"
}

once_each() {  # folder, dates: each date once, the days in order
  local day
  for day in "${@:2}"; do
    [ "$(grep -c "^\"$day\"" "$1/Enbun.txt" 2>/dev/null)" -eq 1 ] || return 1
  done
  cut -d, -f1 "$1/Enbun.txt" | sort -c
}
log_of() { tr -d '\r' 2>/dev/null < "$1/Enbun.txt" | cut -d, -f1 | tr -d '"' | tr '\n' ' '; }
# The names in the item table, in order.
names_in() { grep -so '"[a-z][a-z]*"' "$1/Kiroku.txt" | tr -d '"' | tr '\n' ' '; }
