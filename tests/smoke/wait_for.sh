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
