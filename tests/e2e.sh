#!/usr/bin/env bash
# Drives the real program on an X server the way a person would and expects
# it to end cleanly: status 0 once told to close, and nothing on stderr but
# Qt's own start-up notices.
#   e2e.sh PROGRAM CONTROL_TABLE SCENARIO [DESKTOP_ENTRY]
set -euo pipefail
program=$1
table=$2
scenario=$3
desktop_entry=${4:-}
drive() { "$(dirname "$0")/../scripts/pimbolawindow.py" "$table" "$@"; }
errors=$(mktemp)
trap 'kill "$pid" 2>/dev/null || true; rm -f "$errors"' EXIT

# The program takes no command line: Qt's own options on it are not read,
# so one that sends it to another platform leaves it on this X server.
arguments=()
[ "$scenario" = qt-options-ignored ] && arguments=(-platform offscreen -reverse -qwindowgeometry 200x100+0+0)
"$program" "${arguments[@]}" 2>"$errors" &
pid=$!
window=$(drive find 10) || { cat "$errors" >&2; exit 1; }

click() { drive click "$window" "$@"; }

case $scenario in
quit-at-rest | qt-options-ignored)
    click Button2 ;;
dock-match)
    expected=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
    actual=$(drive class "$window")
    [ -n "$expected" ] && [ "$actual" = "$expected" ] ||
        { echo "window class '$actual', the menu entry expects '$expected'" >&2; exit 1; }
    click Button2 ;;
close-during-timed-run)
    click Button1
    sleep 1.5  # the first answer is on screen and the timer runs
    drive close "$window" ;;
quit-during-stepped-run)
    click Button3 Button3 Button3 Button2 ;;
*)
    echo "unknown scenario $scenario" >&2; exit 2 ;;
esac
asked=$(date +%s%N)

# At least ten seconds for the exit: the program itself needs a tenth of one,
# but under the sanitizers the leak check at exit takes seconds on a busy
# machine.
status=""
for _ in $(seq 1000); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && status=0 || status=$?
        break
    fi
    sleep 0.01
done
took=$((($(date +%s%N) - asked) / 1000000))
[ -n "$status" ] || { echo "$scenario: still running ${took} ms after the close" >&2; exit 1; }

unexpected=$(grep -v '^QStandardPaths: XDG_RUNTIME_DIR not set' "$errors" || true)
echo "$scenario: status $status after ${took} ms"
[ -z "$unexpected" ] || { echo "unexpected output on stderr:" >&2; echo "$unexpected" >&2; exit 1; }
[ "$status" -eq 0 ]
