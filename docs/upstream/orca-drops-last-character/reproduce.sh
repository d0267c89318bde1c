#!/usr/bin/env bash
# Builds orca-last-character, runs it under Xvfb with the accessibility bus and
# Orca (speech to a synthesiser that says nothing), and prints what Orca said
# and what the application answers over AT-SPI. Needs: cmake, Qt 6 development
# files, xvfb-run, dbus-run-session, orca, speech-dispatcher, xdotool,
# python3-gi with gir1.2-atspi-2.0.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${INSIDE:-}" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cmake -S "$here" -B "$work/build" > /dev/null
  cmake --build "$work/build" > /dev/null
  mkdir -p "$work/home/.config/speech-dispatcher/modules" "$work/runtime"
  chmod 700 "$work/runtime"
  printf '%s\n' 'AddModule "silent" "sd_generic" "silent.conf"' 'DefaultModule silent' \
    > "$work/home/.config/speech-dispatcher/speechd.conf"
  printf '%s\n' 'GenericExecuteSynth "true"' 'AddVoice "en" "MALE1" "silent"' \
    > "$work/home/.config/speech-dispatcher/modules/silent.conf"
  INSIDE=$work xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$0" 2> "$work/session.err"
  exit
fi

work=$INSIDE
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/runtime
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset QT_QPA_PLATFORM
/usr/libexec/at-spi-bus-launcher --launch-immediately &
sleep 0.5
orca --debug-file="$work/orca.log" --replace > /dev/null 2>&1 &
orca=$!
sleep 3
"$work/build/orca-last-character" &
app=$!
sleep 2
xdotool windowfocus "$(xdotool search --onlyvisible --name '^orca-last-character$' | head -n 1)"
sleep 2
xdotool key Tab   # to the date box
sleep 2
/usr/bin/python3 "$(dirname "$0")/atspi_probe.py"
kill $orca; sleep 2; kill $app
echo "Orca said:"
grep -o "SPEECH OUTPUT: '[^']*'" "$work/orca.log"
