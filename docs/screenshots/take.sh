#!/usr/bin/env bash
# Takes the README's screenshots from the real application on a private X server:
#   docs/screenshots/take.sh [BUILD_DIR]     (default: build)
# window.png: the window with a list and the preview of the selected file; saving.png: the same
# during a long save; saving-2x.png: the save again at twice the scale, where the screen is 640
# by 400 points.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=$root/docs/screenshots

work=$(mktemp -d "${TMPDIR:-/tmp}/tomefuse-shots-XXXXXX")
xvfb_pid=
wm_pid=
app_pid=
cleanup() {
    for pid in $app_pid $wm_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=tests/e2e/x11.sh
source "$root/tests/e2e/x11.sh"
start_x_server
# The window as a desktop shows it, under a window manager that gives it the focus.
if command -v openbox >/dev/null 2>&1; then
    openbox >/dev/null 2>&1 &
    wm_pid=$!
fi

mkdir -p "$work"/{home,config,tmp,in} && mkdir -m 700 "$work/run"
app_env=(env -i PATH="$PATH" LANG=C.UTF-8 DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" QT_QPA_PLATFORM=xcb
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp")
# Nothing opens the result: the shot is of Tomefuse.
mkdir -p "$work/config/Tomefuse"
printf '[General]\nshouldOpenPDFInDefaultApplication=false\n' >"$work/config/Tomefuse/Tomefuse.conf"

# A book in twenty volumes of fifty pages, each with its own bookmarks: long enough to catch
# the save half-way.
"$build/bench/tomefuse-make-examples" "$work/in" >/dev/null
"$build/bench/tomefuse-bench-inputs" A "$work/volumes"
volumes=()
for i in $(seq 1 20); do
    name=$(printf 'Volume %02d.pdf' "$i")
    mv "$work/volumes/$(printf 'in-%04d.pdf' $((i - 1)))" "$work/in/$name"
    volumes+=("$work/in/$name")
done

capture() {  # window id, file: the window and whatever stands over it
    local geometry x y w h
    # Where the window's contents are on the screen; under a window manager xdotool counts from
    # the frame.
    geometry=$(xwininfo -id "$1")
    x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$geometry")
    y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$geometry")
    w=$(sed -n 's/^ *Width: *//p' <<<"$geometry") h=$(sed -n 's/^ *Height: *//p' <<<"$geometry")
    import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip -define png:compression-level=9 "$2"
}

"${app_env[@]}" "$build/src/tomefuse" "$work/in/Field Notes.pdf" "$work/in/Kitchen Book.pdf" \
    "$work/in/Star Atlas.pdf" "${volumes[@]:0:5}" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window_titled Tomefuse 30)
xdotool windowsize --sync "$main" 1040 520
focus "$main"
xdotool key ctrl+Home Down
# The selected file's pages and bookmarks come from the preview's workers.
sleep 2
capture "$main" "$out/window.png"

# The rest of the volumes and nine more sets of them, handed over by a second launch: some ten
# thousand pages, which take a few seconds to write. Then the quick save.
more=("${volumes[@]:5}")
for _ in $(seq 1 9); do
    more+=("${volumes[@]}")
done
"${app_env[@]}" "$build/src/tomefuse" "${more[@]}"
focus "$main"
xdotool key ctrl+alt+s
# The save bar at the window's foot, part-way: the save has begun once it is logged.
wait_for 60 grep -q '^write to filepath' "$work/app.log"
sleep 0.3
capture "$main" "$out/saving.png"
wait_for 120 test -s "$work/tmp/Field Notes -TOMEFUSE.pdf"

# The same save at twice the scale, in the window as this run left it: the window is fitted to
# the smaller screen, and it shows what it can of the list.
focus "$main"
xdotool key ctrl+q
wait "$app_pid" || true
rm -f "$work/tmp/Field Notes -TOMEFUSE.pdf"
"${app_env[@]}" QT_SCALE_FACTOR=2 "$build/src/tomefuse" "$work/in/Field Notes.pdf" "$work/in/Kitchen Book.pdf" \
    "$work/in/Star Atlas.pdf" "${volumes[@]:0:5}" "${more[@]}" >"$work/app.log" 2>&1 &
app_pid=$!
main=$(window_titled Tomefuse 30)
focus "$main"
xdotool key ctrl+Home Down
sleep 2
xdotool key ctrl+alt+s
wait_for 60 grep -q '^write to filepath' "$work/app.log"
sleep 0.3
capture "$main" "$out/saving-2x.png"
wait_for 120 test -s "$work/tmp/Field Notes -TOMEFUSE.pdf"
echo "wrote $out/window.png, $out/saving.png and $out/saving-2x.png"
