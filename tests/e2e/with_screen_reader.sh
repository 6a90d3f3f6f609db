#!/usr/bin/env bash
# Runs a command with a screen reader's ears beside it: a session bus and an
# accessibility bus of their own (at-spi-bus-launcher, the registry), and
# screen_reader.py writing down what programs on it tell assistive technology.
# Usage: with_screen_reader.sh LOG COMMAND [ARGUMENTS...]   (LOG is started afresh)
set -euo pipefail
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ "${SUDOKU_OWN_SESSION_BUS:-}" != 1 ]; then
  exec env SUDOKU_OWN_SESSION_BUS=1 dbus-run-session -- "$0" "$@"
fi
log=$1
shift
here=$(dirname "$0")
rm -f "$log" "$log.ask"

/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
listener=
trap 'kill $listener $launcher 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
  sleep 0.1
done
/usr/bin/python3 "$here/screen_reader.py" "$log" &
listener=$!
for _ in $(seq 100); do
  grep -q listening "$log" 2>/dev/null && break
  sleep 0.1
done
grep -q listening "$log" || { echo "the screen reader's ears did not start" >&2; exit 1; }
# Qt's bridge to the accessibility bus, switched on as a screen reader's settings would.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$@"
