#!/usr/bin/env bash
# The window in German: the built application started with LANG=de_DE.UTF-8 on a private X
# server, with a session bus of its own and the accessibility bus that bus starts; the menu bar's
# titles are read through AT-SPI, as a screen reader reads them, and the File menu must be
# "Datei". Usage: locale_test.sh TOMEFUSE   (exit 77: cannot run here)
set -euo pipefail

tomefuse=$1
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3  # the system's, which has the AT-SPI bindings
export PYTHONDONTWRITEBYTECODE=1  # the scripts share a module: no cache of it in the tree

for tool in Xvfb xauth xdotool dbus-daemon; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if ! [ -x "$python" ] || ! "$python" -c 'import pyatspi' 2>/dev/null; then
    echo "SKIP: python3-pyatspi is not installed"
    exit 77
fi
if ! [ -f /usr/share/dbus-1/services/org.a11y.Bus.service ]; then
    echo "SKIP: at-spi2-core is not installed"
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tomefuse-locale-XXXXXX")
xvfb_pid=
bus_pid=
app_pid=
cleanup() {
    local status=$?
    trap - EXIT
    # The accessibility bus ends with the session bus that started it.
    for pid in $app_pid $bus_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    if ((status != 0)); then
        echo "--- application log" >&2
        cat "$work/app.log" >&2 2>/dev/null || true
    fi
    if [ -n "${TOMEFUSE_E2E_KEEP:-}" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=tests/e2e/x11.sh
source "$here/x11.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start_x_server
mkdir -p "$work"/{home,config,tmp} && mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>"$work/bus.log" &
bus_pid=$!
wait_for 20 grep -q . "$work/bus" || fail "the session bus did not start: $(cat "$work/bus.log")"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
export DBUS_SESSION_BUS_ADDRESS

env -i PATH="$PATH" LANG=de_DE.UTF-8 DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" QT_QPA_PLATFORM=xcb \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" \
    "$tomefuse" >"$work/app.log" 2>&1 &
app_pid=$!
window_titled Tomefuse 60 >/dev/null || fail "no window"

# A loaded machine makes the first answers slow, never wrong: a generous limit, no fixed waits.
status=0
timeout 120 "$python" "$here/menu_titles.py" "$app_pid" 90 >"$work/menus" 2>"$work/menus.err" || status=$?
((status != 77)) || { echo "SKIP: AT-SPI cannot be used here"; exit 77; }
((status == 0)) || fail "the menu bar was not found through AT-SPI: $(cat "$work/menus.err")"
grep -qx 'Datei' "$work/menus" || fail "no File menu titled \"Datei\"; the menu bar has: $(tr '\n' ' ' <"$work/menus")"
if grep -qx 'File' "$work/menus"; then
    fail "an English \"File\" menu beside the German one"
fi
echo "the window's menus in German: $(tr '\n' ' ' <"$work/menus")"
