#!/usr/bin/env bash
# Starts the real program, waits for its window, clicks "おわる" where it is
# drawn and expects the process to end with status 0.
set -euo pipefail
program=$1

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 100); do
    window=$(xdotool search --sync --onlyvisible --name '^Pimbola$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "no Pimbola window appeared" >&2; exit 1; }

# "おわる" covers (255, 368) to (335, 417) in the window's client area.
xdotool mousemove --window "$window" 295 392 click 1

for _ in $(seq 50); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && status=0 || status=$?
        trap - EXIT
        echo "pimbola ended with status $status"
        exit "$status"
    fi
    sleep 0.1
done
echo "pimbola still running after the click" >&2
exit 1
