#!/usr/bin/env bash
# Runs the screen-reader test in a private session: its own home, runtime
# folder and D-Bus session, so the accessibility bus, speech-dispatcher and
# Orca it starts meet no one else's. Needs an X server (with_xvfb.sh).
#   screenreader_test.sh PROGRAM
set -euo pipefail
# Orca will not start while any other Orca of the same user runs on the
# machine, its own session or not: as root, the test gets a process table
# of its own, where no other test's or desktop's Orca is seen.
if [ "$(id -u)" -eq 0 ] && [ -z "${PIMBOLA_OWN_PIDS:-}" ]; then
    exec env PIMBOLA_OWN_PIDS=1 unshare --pid --fork --mount-proc --propagation unchanged "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_RUNTIME_DIR=$work/run
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Speech goes nowhere: espeak-ng blocks for ever without a sound device.
echo 'default_driver=null' >"$HOME/.libao"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "libao"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
CONF
# Orca's own words in English, as the test expects them.
export LC_ALL=C.UTF-8
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/screenreader_test.py" "$1" "$work"
