#!/usr/bin/env bash
# Drives the real program on an X server the way a person would and expects
# it to end cleanly: status 0 once told to close, and nothing on stderr but
# Qt's own start-up notices.
#   e2e.sh PROGRAM SCENARIO [DESKTOP_ENTRY]
set -euo pipefail
program=$1
scenario=$2
desktop_entry=${3:-}
errors=$(mktemp)
trap 'kill "$pid" 2>/dev/null || true; rm -f "$errors"' EXIT

"$program" 2>"$errors" &
pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Pimbola$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "no Pimbola window appeared" >&2; cat "$errors" >&2; exit 1; }

# Points inside controls, in the window's client coordinates.
click() {
    case $1 in
    timed) xdotool mousemove --window "$window" 295 507 click 1 ;;
    step) xdotool mousemove --window "$window" 295 580 click 1 ;;
    quit) xdotool mousemove --window "$window" 295 392 click 1 ;;
    esac
    sleep 0.1
}

# What a window manager sends when the title bar's close button is clicked.
request_close() {
    /usr/bin/python3 - "$window" <<'PY'
import sys
from Xlib import X, display, protocol
d = display.Display()
window = d.create_resource_object('window', int(sys.argv[1]))
message = protocol.event.ClientMessage(
    window=window, client_type=d.intern_atom('WM_PROTOCOLS'),
    data=(32, [d.intern_atom('WM_DELETE_WINDOW'), X.CurrentTime, 0, 0, 0]))
window.send_event(message, event_mask=X.NoEventMask)
d.flush()
PY
}

# The class a dock matches to the menu entry's StartupWMClass.
window_class() {
    /usr/bin/python3 - "$window" <<'PY'
import sys
from Xlib import display
d = display.Display()
print(d.create_resource_object('window', int(sys.argv[1])).get_wm_class()[1])
PY
}

case $scenario in
quit-at-rest)
    click quit ;;
dock-match)
    expected=$(sed -n 's/^StartupWMClass=//p' "$desktop_entry")
    actual=$(window_class)
    [ -n "$expected" ] && [ "$actual" = "$expected" ] ||
        { echo "window class '$actual', the menu entry expects '$expected'" >&2; exit 1; }
    click quit ;;
close-during-timed-run)
    click timed
    sleep 1.5  # the first answer is on screen and the timer runs
    request_close ;;
quit-during-stepped-run)
    click step; click step; click step
    click quit ;;
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
