# wait_for CONDITION SECONDS: true as soon as CONDITION holds, false when the
# seconds have run out. Sourced by the smoke scripts.
wait_for() {
  local end=$((SECONDS + $2))
  while [ $SECONDS -lt $end ]; do
    if eval "$1"; then return 0; fi
    sleep 0.1
  done
  return 1
}

# watching PID PATH: the process has an inotify watch on PATH (its inode), the
# sign that it has read its data and follows the folder.
watching() {
  local ino
  ino=$(printf '%x' "$(stat -c %i "$2" 2>/dev/null || echo 0)")
  grep -qs "^inotify wd:[0-9a-f]* ino:$ino " /proc/"$1"/fdinfo/*
}
