#!/usr/bin/env bash
# Drives the built application on a private X server as a user would: files on the command line,
# F1, Ctrl+O and the file dialog, Alt+Up and Ctrl+Z, Enter and Delete on a row, a second launch
# while it runs, a row dragged with the mouse, the quick save, Ctrl+S and the save dialog, a
# protected file's password, a file that cannot be read, a save over a listed file; then, under
# a window manager, a long save worked beside and Ctrl+Q during it, keys after it; Ctrl+Q.
# Checks what reached the desktop and the files.
# Usage: desktop_test.sh TOMEFUSE MAKE_EXAMPLES PDF_DUMP   (exit 77: cannot run here)
set -euo pipefail

tomefuse=$1
make_examples=$2
pdf_dump=$3

for tool in Xvfb xauth xdotool xdg-open xdg-mime qpdf; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
        exit 77
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tomefuse-e2e-XXXXXX")
xvfb_pid=
wm_pid=
bus_pid=
cleanup() {
    local status=$?
    trap - EXIT
    # The application's id is good only while it has not ended.
    if [ -s "$work/app.pid" ] && [ ! -s "$work/app.status" ]; then
        kill "$(cat "$work/app.pid")" 2>/dev/null || true
    fi
    if [ -n "$wm_pid" ]; then kill "$wm_pid" 2>/dev/null || true; fi
    if [ -n "$bus_pid" ]; then kill "$bus_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    if ((status != 0)); then
        echo "--- application log" >&2
        cat "$work/app.log" >&2 2>/dev/null || true
        echo "--- opened" >&2
        cat "$work/opened" >&2 2>/dev/null || true
    fi
    if [ -n "${TOMEFUSE_E2E_KEEP:-}" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=tests/e2e/x11.sh
source "$(dirname "$0")/x11.sh"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start_x_server

# A private user: home, settings, desktop data, runtime folder and temporary folder.
mkdir -p "$work"/{home,config/Tomefuse,data/applications,cache,tmp,in}
mkdir -m 700 "$work/run"
app_env=(env -i
    PATH="$PATH" LANG=C.UTF-8 DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" QT_QPA_PLATFORM=xcb
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
    XDG_DATA_DIRS=/usr/local/share:/usr/share XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
    TMPDIR="$work/tmp")
for name in ASAN_OPTIONS UBSAN_OPTIONS; do
    [ -n "${!name:-}" ] && app_env+=("$name=${!name}")
done
# A session bus of its own, where AT-SPI is installed, so the window's messages are read as a
# screen reader hears them.
python=/usr/bin/python3  # the system's, which has the AT-SPI bindings
export PYTHONDONTWRITEBYTECODE=1  # the scripts share a module: no cache of it in the tree
atspi=
if command -v dbus-daemon >/dev/null 2>&1 && [ -x "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null &&
    [ -f /usr/share/dbus-1/services/org.a11y.Bus.service ]; then
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>"$work/bus.log" &
    bus_pid=$!
    wait_for 20 grep -q . "$work/bus" || fail "the session bus did not start: $(cat "$work/bus.log")"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
    app_env+=(DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
    atspi=yes
fi
# In a sanitizer build, leaks in the desktop's own libraries are theirs.
app_env+=("LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp")

# The settings, as the user left them: no bookmark per file, the files' own kept, and the result
# opened in the default application.
cat >"$work/config/Tomefuse/Tomefuse.conf" <<'EOF'
[General]
shouldInsertTOCForFilenames=false
preserveExistingTOCs=true
shouldOpenPDFInDefaultApplication=true
EOF

# The default application for PDF and HTML files records what the desktop asks it to open.
cat >"$work/record" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>"$work/opened"
EOF
chmod +x "$work/record"
cat >"$work/data/applications/tomefuse-e2e-recorder.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Recorder
Exec=$work/record %f
MimeType=application/pdf;text/html;
NoDisplay=true
EOF
"${app_env[@]}" xdg-mime default tomefuse-e2e-recorder.desktop application/pdf text/html
[ "$("${app_env[@]}" xdg-mime query default application/pdf)" = tomefuse-e2e-recorder.desktop ] ||
    fail "xdg-mime does not see the test handler"

opened() { grep -qxF "$1" "$work/opened"; }

in=$work/in
"$make_examples" "$in" >/dev/null
cp "$in/Kitchen Book.pdf" "$in/Appendix.pdf"
cp "$in/Star Atlas.pdf" "$in/Late Addition.pdf"

started=$SECONDS
(
    "${app_env[@]}" "$tomefuse" "$in/Field Notes.pdf" "$in/Kitchen Book.pdf" "$in/Star Atlas.pdf" \
        >"$work/app.log" 2>&1 &
    echo $! >"$work/app.pid"
    status=0
    wait $! || status=$?
    echo "$status" >"$work/app.status"
) &
main=$(window_titled Tomefuse 30)
focus "$main"

# F1: the help page, installed beside the program or in the build tree, through the desktop.
xdotool key F1
bin=$(cd "$(dirname "$tomefuse")" && pwd)
help_page=$bin/data/help/index.html
if [ -f "$bin/../share/tomefuse/help/index.html" ]; then
    help_page=$(cd "$bin/../share/tomefuse/help" && pwd)/index.html
fi
wait_for 20 opened "$help_page" || fail "F1 did not open $help_page"

# Ctrl+O, a path typed into Qt's file dialog, Enter.
add_through_dialog() {
    local dialog
    xdotool key ctrl+o
    dialog=$(window_titled "Add PDF Files" 20)
    focus "$dialog"
    xdotool type --delay 10 "$1"
    xdotool key Return
}
add_through_dialog "$in/Appendix.pdf"
wait_for 20 no_window_titled "Add PDF Files" || fail "the file dialog did not close"

# The second row, Kitchen Book: Enter opens it in the default application, Delete removes it.
focus "$main"
xdotool key ctrl+Home Down Return
wait_for 20 opened "$in/Kitchen Book.pdf" || fail "Enter did not open the selected row's file"
xdotool key Delete

# The keyboard alone, once the file from the dialog is surely in (keys typed as the dialog closes
# may come before it): Appendix two places up and one back: Field Notes, Appendix, Star Atlas.
xdotool key ctrl+Home Down Down alt+Up alt+Up ctrl+z

# A second launch hands its file to the running window and leaves.
second=0
timeout 30 "${app_env[@]}" "$tomefuse" "$in/Late Addition.pdf" >"$work/second.log" 2>&1 || second=$?
[ "$second" -eq 0 ] || fail "the second launch exited with $second: $(cat "$work/second.log")"
wait_for 10 eval 'windows=$(windows_titled Tomefuse | wc -l)' || fail "cannot list the windows"
[ "$windows" -eq 1 ] || fail "$windows Tomefuse windows, expected one"

# The first row dragged by the mouse and let go just below the middle of the second lands below
# it: Appendix, Field Notes, Star Atlas, Late Addition. How far down the rows start depends on
# the menu bar, the toolbar (its icons) and the header, and their height on the fonts: both are
# read off the screen, where the second row, Appendix, is the one selected. The pointer goes by
# screen lines: under a window manager, xdotool puts the window a title bar lower than it is.
focus "$main"
eval "$(xdotool getwindowgeometry --shell "$main")"
selected_row() { read -r first last < <(selection_span $((X + 150)) "$Y" 400); }
wait_for 10 selected_row || fail "no selected row on the screen"
row_height=$((last - first + 1))
rows_top=$((first - row_height))
xdotool mousemove $((X + 100)) $((rows_top + row_height / 2)) mousedown 1
for eighths in 5 7 9 12 14; do  # to three quarters of the way down the second row
    xdotool mousemove $((X + 100)) $((rows_top + row_height * eighths / 8))
    sleep 0.1
done
xdotool mouseup 1

# Ctrl+Alt+S: the quick save into the temporary folder, opened in the default application.
focus "$main"
xdotool key ctrl+alt+s
combined="$work/tmp/Appendix -TOMEFUSE.pdf"
wait_for 60 opened "$combined" || fail "the quick save did not open $combined"
grep -qF "write to filepath [$combined]" "$work/app.log" || fail "no log line for the quick save"

pages=$(qpdf --show-npages "$combined")
[ "$pages" -eq 15 ] || fail "$pages pages, expected 15"
qpdf --check "$combined" >/dev/null || fail "qpdf --check finds errors in $combined"
"$pdf_dump" "$combined" >"$work/combined.txt"
cat >"$work/expected.txt" <<'EOF'
page 0: 612x792 r0 'Kitchen Book'
page 1: 612x792 r0 'Bread'
page 2: 612x792 r0 'Soup'
page 3: 612x792 r0 'Cake'
page 4: 612x792 r0 'Field Notes'
page 5: 612x792 r0 'Spring: the marsh'
page 6: 612x792 r0 'Spring: the heron'
page 7: 612x792 r0 'Summer: the meadow'
page 8: 612x792 r0 'Summer: the storm'
page 9: 842x595 r0 'Star Atlas'
page 10: 842x595 r0 'Northern sky'
page 11: 842x595 r0 'Southern sky'
page 12: 842x595 r0 'Star Atlas'
page 13: 842x595 r0 'Northern sky'
page 14: 842x595 r0 'Southern sky'
Recipes -> page 1 (0, 792)
  Bread -> page 1 (0, 792)
  Soup -> page 2 (0, 792)
  Cake -> page 3 (0, 792)
Spring -> page 5 (0, 792)
  The marsh -> page 5 (0, 792)
  The heron -> page 6 (0, 792)
Summer -> page 7 (0, 792)
  The meadow -> page 7 (0, 792)
  The storm -> page 8 (0, 792)
Northern sky -> page 10 (0, 792)
Southern sky -> page 11 (0, 792)
Northern sky -> page 13 (0, 792)
Southern sky -> page 14 (0, 792)
EOF
diff -u "$work/expected.txt" "$work/combined.txt" >&2 ||
    fail "the combined PDF is not Appendix (added, one up by key), Field Notes (dragged below it), Star Atlas, Late Addition"

# Ctrl+S: the save dialog; a name typed without the extension gets it.
mkdir "$work/out"
focus "$main"
xdotool key ctrl+s
dialog=$(window_titled "Save Combined PDF" 20)
focus "$dialog"
xdotool type --delay 10 "$work/out/Book"
xdotool key Return
wait_for 60 opened "$work/out/Book.pdf" || fail "the save dialog did not save and open $work/out/Book.pdf"
[ "$(qpdf --show-npages "$work/out/Book.pdf")" -eq 15 ] || fail "the saved PDF does not have 15 pages"

# A protected file through Ctrl+O: a wrong password is asked for again, the right one lists it.
other_window() {  # title, id: a visible window of that title other than that one
    windows_titled "$1" | grep -vx "$2" | head -n1 | grep .
}
cp "$(dirname "$0")/../corpus/qpdf/20-pages.pdf" "$in/Minutes.pdf"  # user password "user"
focus "$main"
add_through_dialog "$in/Minutes.pdf"
asked=$(window_titled "Password Needed" 20)
focus "$asked"
xdotool type --delay 10 wrong
xdotool key Return
wait_for 20 other_window "Password Needed" "$asked" || fail "a wrong password was not asked for again"
focus "$(other_window "Password Needed" "$asked")"
xdotool type --delay 10 user
xdotool key Return
wait_for 20 no_window_titled "Password Needed" || fail "the right password did not open the file"

# A text file named .pdf through Ctrl+O is listed, its row marked with a warning sign in its Name
# cell where the others show their first page: the sixth row.
printf 'plain words\n' >"$in/Notes.pdf"
focus "$main"
add_through_dialog "$in/Notes.pdf"
wait_for 20 no_window_titled "Add PDF Files" || fail "the file dialog did not close"
eval "$(xdotool getwindowgeometry --shell "$main")"
warning_sign() {
    (($(screen_pixels $((X + 3)) $((rows_top + 5 * row_height + 3)) 24 24 |
        awk '$1 > 180 && $2 > 120 && $3 < 100' | wc -l) > 30))
}
wait_for 20 warning_sign || fail "the row of the file that cannot be read bears no warning sign"

# Ctrl+S asks first and combines the others; the save dialog turns away a listed file and stays.
cp "$in/Field Notes.pdf" "$work/field-notes.pdf"
focus "$main"
xdotool key ctrl+s
wait_for 20 other_window Tomefuse "$main" || fail "no question about the file that cannot be read"
focus "$(other_window Tomefuse "$main")"
xdotool key Return
dialog=$(window_titled "Save Combined PDF" 20)
focus "$dialog"
xdotool type --delay 10 "$in/Field Notes.pdf"
xdotool key Return
wait_for 20 other_window Tomefuse "$main" || fail "the save dialog did not refuse a listed file"
focus "$(other_window Tomefuse "$main")"
xdotool key Return
wait_for 20 eval '[ "$(windows_titled "Save Combined PDF" | wc -l)" -eq 1 ]' ||
    fail "the save dialog did not stay open alone"
cmp -s "$in/Field Notes.pdf" "$work/field-notes.pdf" || fail "the listed file was written over"
focus "$dialog"
xdotool key ctrl+a
xdotool type --delay 10 "$work/out/Chosen"
xdotool key Return
wait_for 60 opened "$work/out/Chosen.pdf" || fail "the save dialog did not save $work/out/Chosen.pdf"
[ "$(qpdf --show-npages "$work/out/Chosen.pdf")" -eq 35 ] ||
    fail "Chosen.pdf is not the 15 pages before and the protected file's 20, without the text file"

# From here on under a window manager, where one is installed, and by keys alone: nothing but the
# window itself gives the list its keys back after a question or a save.
if command -v openbox >/dev/null 2>&1; then
    "${app_env[@]}" openbox >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    sleep 1
    # The text file goes (the last row); two hundred volumes of fifty pages and a copy of Star Atlas
    # come from a second launch: some ten thousand pages, a save of a few seconds.
    focus "$main"
    xdotool key ctrl+End Delete
    "$(dirname "$make_examples")/tomefuse-bench-inputs" A "$work/volumes" >/dev/null
    volumes=()
    for _ in $(seq 1 10); do
        volumes+=("$work"/volumes/in-*.pdf)
    done
    cp "$in/Star Atlas.pdf" "$in/Star Atlas 2.pdf"
    timeout 60 "${app_env[@]}" "$tomefuse" "${volumes[@]}" "$in/Star Atlas 2.pdf" >>"$work/second.log" 2>&1 ||
        fail "the launch with the volumes did not hand them over"
    sleep 2

    # The long quick save; while it runs, Field Notes goes to the top, and Ctrl+Q asks first, which
    # Escape answers by saving on.
    : >"$work/opened"
    saves=$(grep -c '^write to filepath' "$work/app.log" || true)
    xdotool key ctrl+Home ctrl+alt+s
    wait_for 30 eval '(($(grep -c "^write to filepath" "$work/app.log") > saves))' || fail "the long save did not begin"
    xdotool key Down alt+Up ctrl+q
    wait_for 20 other_window Tomefuse "$main" || fail "Ctrl+Q during the save did not ask first"
    xdotool key Escape
    wait_for 20 eval '! other_window Tomefuse "$main"' || fail "Escape did not answer the question"
    combined="$work/tmp/Appendix -TOMEFUSE.pdf"
    wait_for 120 opened "$combined" || fail "the long save did not finish"
    [ ! -s "$work/app.status" ] || fail "the application ended though Escape continued the save"
    [ "$(qpdf --show-npages "$combined")" -eq 10038 ] || fail "the long save is not the list as it began"
    # The window says where the file went, with Open and Show in Folder beside it.
    if [ -n "$atspi" ]; then
        status=0
        timeout 60 "$python" "$(dirname "$0")/saved_message.py" "$(cat "$work/app.pid")" 30 >"$work/saved" \
            2>"$work/saved.err" || status=$?
        ((status != 77)) || atspi=
        if [ -n "$atspi" ]; then
            ((status == 0)) || fail "no saved message through AT-SPI: $(cat "$work/saved.err")"
            grep -q '^Saved “Appendix -TOMEFUSE.pdf” in ' "$work/saved" && grep -qx 'Open' "$work/saved" &&
                grep -qx 'Show in Folder' "$work/saved" ||
                fail "the saved message is not the file's with Open and Show in Folder: $(tr '\n' '|' <"$work/saved")"
            # No plain cell of the list, the thumbnails or the bookmarks offers a toggle.
            timeout 60 "$python" "$(dirname "$0")/cell_actions.py" "$(cat "$work/app.pid")" 30 >"$work/cells" 2>&1 ||
                fail "cells offer a toggle through AT-SPI, or none were read: $(tr '\n' '|' <"$work/cells")"
        fi
    fi

    # After the save the keys still reach the list: End selects the last row, Star Atlas 2, and
    # Alt+Up takes it above the last volume. The next save is named after Field Notes, moved to
    # the top during the first.
    xdotool key End alt+Up ctrl+alt+s
    combined="$work/tmp/Field Notes -TOMEFUSE.pdf"
    wait_for 120 opened "$combined" || fail "the keys after the save did not reach the list"
    "$pdf_dump" "$combined" | grep '^page ' | tail -n 53 >"$work/tail.txt"
    [ "$(head -n 3 "$work/tail.txt" | grep -c ' 842x595 ')" -eq 3 ] && ! grep -q ' 842x595 ' <(tail -n 50 "$work/tail.txt") ||
        fail "End then Alt+Up did not move the last row above the one before it"
fi

# Ctrl+Q: the window goes, the application ends well and leaves its layout and no socket behind.
focus "$main"
xdotool key ctrl+q
wait_for 30 test -s "$work/app.status" || fail "Ctrl+Q did not end the application"
[ "$(cat "$work/app.status")" -eq 0 ] || fail "the application exited with $(cat "$work/app.status")"
grep -q '^geometry=' "$work/config/Tomefuse/Tomefuse.conf" || fail "the window's size was not kept"
[ -z "$(find "$work/run" -name '*.socket')" ] || fail "the socket was left behind"
grep -q 'shouldInsertTOCForFilenames=false' "$work/config/Tomefuse/Tomefuse.conf" || fail "the settings were lost"

echo "desktop end-to-end test passed in $((SECONDS - started))s"
if [ -z "$atspi" ] && command -v openbox >/dev/null 2>&1; then
    echo "SKIP: the saved message was not read: AT-SPI cannot be used here"
    exit 77
fi
