#!/usr/bin/env bash
# Runs a command in a private session for a screen reader: its own home,
# runtime folder and D-Bus session, so the accessibility bus,
# speech-dispatcher and Orca it starts meet no one else's. Speech goes to a
# null audio driver. The command finds the session's folder, for its logs,
# in SPEECH_SESSION_DIR. Needs an X server (with_xvfb.sh).
#   speech_session.sh COMMAND [ARG…]
set -euo pipefail
# Orca will not start while the same user runs another Orca anywhere, as
# another test may at the same time: as root, the session gets processes of
# its own (it is their first, and they all end with it); the mounts keep
# their propagation, which a chroot's root cannot change. They also come
# before a busy machine's builds: a screen reader that falls a second
# behind reads a live region's next text in place of the one it was told of.
if [ "$(id -u)" -eq 0 ] && [ $$ -ne 1 ]; then
    exec nice -n -10 unshare --pid --fork --mount-proc --propagation unchanged --kill-child "$0" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SPEECH_SESSION_DIR=$work
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
# Orca's own words in English, as the tests expect them.
export LC_ALL=C.UTF-8
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
# The buses' chatter goes to a log, shown only if the session fails; the
# command keeps the real output (3) and errors (4).
status=0
dbus-run-session -- sh -c 'exec "$0" "$@" >&3 2>&4 3>&- 4>&-' "$@" 3>&1 4>&2 >"$work/session.log" 2>&1 ||
    status=$?
[ "$status" -eq 0 ] || cat "$work/session.log" >&2
exit "$status"
