# shellcheck shell=bash disable=SC2034,SC2154  # work comes from, and xvfb_pid goes to, the caller
# Helpers for driving the application on a private X server; sourced by the scripts beside it.
# They expect `work` (a private folder) to be set, and leave the server's process id in
# `xvfb_pid`. Every wait has a limit, so a broken run fails instead of hanging.

# Runs a command until it succeeds, for at most $1 seconds.
wait_for() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        if ((SECONDS >= deadline)); then
            echo "timed out after ${limit}s waiting for: $*" >&2
            return 1
        fi
        sleep 0.1
    done
}

# Starts Xvfb on display $1 (empty: the first free one), and waits until it says it is ready;
# fails when it ends first, as it does when another server holds that display.
run_x_server() {
    : >"$work/display"
    Xvfb ${1:+":$1"} -displayfd 3 -auth "$work/server.xauth" -nolisten tcp -screen 0 1280x800x24 -fbdir "$work" \
        3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local deadline=$((SECONDS + 20))
    until grep -q '[0-9]' "$work/display"; do
        if ! kill -0 "$xvfb_pid" 2>/dev/null || ((SECONDS >= deadline)); then
            kill "$xvfb_pid" 2>/dev/null || true
            wait "$xvfb_pid" 2>/dev/null || true
            xvfb_pid=
            return 1
        fi
        sleep 0.1
    done
}

# Starts Xvfb on a free display that only holders of a fresh cookie may use, and exports
# DISPLAY and XAUTHORITY for it. The server keeps its screen in $work/Xvfb_screen0. Where the
# machine's displays are shared out, TOMEFUSE_E2E_DISPLAYS ("97 98 99") lists those to try.
start_x_server() {
    local cookie number started='' displays
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    : >"$work/server.xauth"
    xauth -q -f "$work/server.xauth" add :0 . "$cookie"
    read -r -a displays <<<"${TOMEFUSE_E2E_DISPLAYS:-}"
    ((${#displays[@]})) || displays=("")
    for number in "${displays[@]}"; do
        if run_x_server "$number"; then
            started=1
            break
        fi
    done
    if [ -z "$started" ]; then
        cat "$work/xvfb.log" >&2
        return 1
    fi
    DISPLAY=":$(tr -dc '0-9' <"$work/display")"
    export DISPLAY
    export XAUTHORITY="$work/client.xauth"
    : >"$XAUTHORITY"
    xauth -q add "$DISPLAY" . "$cookie"
    wait_for 10 xdotool getmouselocation
}

# The ids of the visible windows titled exactly $1, one a line. Fails when the search dies of an
# X error, which it does when it meets a window as that window goes (a dialog closing).
windows_titled() {
    local ids
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>"$work/search.err") || true
    [ ! -s "$work/search.err" ] || return 1
    [ -z "$ids" ] || printf '%s\n' "$ids"
}

# The id of the one visible window titled exactly $1, waiting up to $2 seconds for it.
window_titled() {
    local ids deadline=$((SECONDS + $2))
    until ids=$(windows_titled "$1") && [ -n "$ids" ]; do
        if ((SECONDS >= deadline)); then
            echo "no window titled '$1' within $2s" >&2
            return 1
        fi
        sleep 0.1
    done
    head -n1 <<<"$ids"
}

no_window_titled() {
    local ids
    ids=$(windows_titled "$1") && [ -z "$ids" ]
}

# There is no window manager to give the focus back when a dialog closes: the test gives it, as
# a user's click would.
focus() {
    xdotool windowfocus --sync "$1"
}

# The screen's pixels in a rectangle (x y width height), one "red green blue" line each, read
# from the server's screen file: an XWD image of 32-bit pixels, low byte (blue) first.
screen_pixels() {
    local screen=$work/Xvfb_screen0 header line start row
    read -r -a header <<<"$(od -An -v -tu4 --endian=big -w80 -N 80 "$screen")"
    line=${header[12]}
    start=$((header[0] + header[19] * 12))
    for ((row = $2; row < $2 + $4; row++)); do
        od -An -v -tu1 -w4 -j $((start + row * line + $1 * 4)) -N $(($3 * 4)) "$screen"
    done | awk '{ print $3, $2, $1 }'
}

# The first and last screen line painted in the selection's blue, looking down from y $2 for $3
# lines at x $1; fails when none is.
selection_span() {
    screen_pixels "$1" "$2" 1 "$3" |
        awk -v top="$2" '$1 < 100 && $2 > 100 && $3 > 150 { if (!first) first = NR; last = NR }
            END { if (!first) exit 1; print top + first - 1, top + last - 1 }'
}
