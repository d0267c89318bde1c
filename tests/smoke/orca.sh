#!/usr/bin/env bash
# Orca itself hears an announcement: the real binary under Xvfb with a session
# bus, the accessibility bus and Orca, whose speech goes to a speech-dispatcher
# module that says nothing; the words are read from Orca's debug log. A page
# turn by Ctrl+PageDown must be spoken ("ページ 2"; one of three turns), and the
# focused date box's whole value (Orca drops its last character from the value
# itself and reads it whole from the description). Skipped when Orca or
# one of its helpers is not installed.
set -euo pipefail

binary=$1
for tool in orca xvfb-run dbus-run-session xdotool speech-dispatcher; do
  command -v "$tool" > /dev/null || { echo "orca smoke: skipped: $tool is not installed"; exit 0; }
done
bus_launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$bus_launcher" ] || { echo "orca smoke: skipped: at-spi-bus-launcher is not installed"; exit 0; }

fail() { echo "orca smoke: FAIL: $*" >&2; [ -f "${log:-}" ] && grep 'SPEECH OUTPUT' "$log" >&2; exit 1; }

if [ -z "${ORCA_SMOKE_INSIDE:-}" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/home/.config/speech-dispatcher/modules" "$work/data" "$work/runtime"
  chmod 700 "$work/runtime"
  # Speech that ends at once, with no sound device needed.
  cat > "$work/home/.config/speech-dispatcher/speechd.conf" <<'CONF'
AddModule "silent" "sd_generic" "silent.conf"
DefaultModule silent
LanguageDefaultModule "ja" "silent"
LanguageDefaultModule "en" "silent"
CONF
  cat > "$work/home/.config/speech-dispatcher/modules/silent.conf" <<'CONF'
GenericExecuteSynth "true"
AddVoice "en" "MALE1" "silent"
AddVoice "ja" "MALE1" "silent"
CONF
  export ORCA_SMOKE_INSIDE=$work
  # The buses' own chatter stays out of the output unless something fails.
  status=0
  xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash "$0" "$binary" 2> "$work/session.err" || status=$?
  [ $status -eq 0 ] || grep -v '^dbus-daemon' "$work/session.err" >&2
  exit $status
fi

work=$ORCA_SMOKE_INSIDE
log=$work/orca.log
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_QPA_PLATFORM
source "$(dirname "$0")/wait_for.sh"

"$bus_launcher" --launch-immediately &
pids=($!)
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
sleep 0.5
# Orca writes its log in blocks; it is read once Orca has ended.
orca --debug-file="$log" --replace > "$work/orca.out" 2>&1 &
orca_pid=$!
pids+=($orca_pid)
sleep 3
kill -0 $orca_pid 2>/dev/null || fail "Orca did not start"

"$binary" > "$work/app.out" 2>&1 &
pids+=($!)
wait_for '[ -n "$(xdotool search --onlyvisible --name "^Morvaline\$" 2>/dev/null)" ]' 20 ||
  fail "the window did not appear"
# There is no window manager to activate the window; the focus is given by hand.
xdotool windowfocus "$(xdotool search --onlyvisible --name '^Morvaline$' | head -n 1)"
sleep 2
# Slowly: the toolkit hands every key to the accessibility bus and waits.
# Three page turns, as Orca now and then drops what comes in a burst.
for turn in 1 2 3; do
  xdotool keydown ctrl; sleep 0.5; xdotool key Next; sleep 0.5; xdotool keyup ctrl
  sleep 2.5
done
kill -TERM $orca_pid
wait_for '! kill -0 $orca_pid 2>/dev/null' 10 || fail "Orca did not end"
grep -q "SPEECH OUTPUT: .日付" "$log" || fail "Orca did not speak the focused date box"
# Orca reads the value less its last character; the description carries it whole.
today=$(date +%Y/%m/%d)
grep -q "SPEECH OUTPUT: '$today" "$log" || fail "Orca did not speak the whole date $today"
grep -q "SPEECH OUTPUT: .*ページ [234]" "$log" || fail "Orca did not speak a page turn"
echo "orca smoke: heard $(grep -o "SPEECH OUTPUT: '[^']*ページ [234][^']*'" "$log" | head -n 1)"
