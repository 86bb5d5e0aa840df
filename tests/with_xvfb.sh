#!/usr/bin/env bash
# Runs a command on a private X server and stops the server before returning.
#   with_xvfb.sh [--screen WIDTHxHEIGHTxDEPTH] COMMAND [ARG…]
# Unlike xvfb-run, the server picks its own free display number (-displayfd),
# and it is gone when this returns: xvfb-run leaves its server still exiting,
# and a server started next on the same number can lose its socket files to
# the old one's clean-up. The tests and every script that needs a server
# use this one.
set -euo pipefail
screen=1024x768x24
if [ "${1:-}" = --screen ]; then
    screen=$2
    shift 2
fi
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$work/display" 2>"$work/log" &
server=$!
stop() {
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap stop EXIT

# The server writes its number once it accepts connections.
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "$server" 2>/dev/null || { cat "$work/log" >&2; exit 1; }
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
status=0
DISPLAY=:$(head -n 1 "$work/display") "$@" || status=$?
exit "$status"
