#!/bin/sh
# Builds the program, starts it under a virtual X server with a window
# manager on a data file of three records, opens "Import from CSV..." from
# the keyboard on the German bank statement of the tests (or the file given)
# under a German locale (or $SCREENSHOT_LANG) and saves:
#   screenshots/import.png        the screen with the import window
#   screenshots/import-after.png  the record window after the import, with
#                                 the closing message
# SCREENSHOT_SCREEN sets the screen size (1280x1024 by default).
# Needs xdotool, openbox and import (imagemagick) besides the build tools.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=$root/screenshots
statement=${1:-$root/tests/fixtures/csv/german-bank.csv}

for tool in xdotool openbox import; do
    if ! command -v $tool >/dev/null; then
        echo "This script needs $tool: apt-get install xdotool openbox imagemagick" >&2
        exit 1
    fi
done
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target quillary

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$shots"
printf '%-1.1s%-15.15s%-14.14s%-10.10s%-20.20s%-30.30s%-20.20s%-20.20s' \
    0 "2026-03-01" "12" "" "Cash" "Other" "Bakery" "Bread" \
    2 "2026-03-02" "99" "A17" "Check No:" "Supplies" "Office shop" "Paper" \
    1 "2026-03-03" "1500" "" "Account" "Wages, Salaries, Tips, etc." "Employer" "Salary" \
    >"$work/Taxrecs.dat"
cp "$statement" "$work/statement.csv"

cd "$work"
XDG_CONFIG_HOME="$work/config" LANG=${SCREENSHOT_LANG:-de_DE.UTF-8} xvfb-run -a -s "-screen 0 ${SCREENSHOT_SCREEN:-1280x1024}x24 -dpi 96" sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    "$1" &
    pid=$!
    sleep 3
    # File, Import from CSV...
    xdotool key alt+f
    sleep 0.5
    xdotool key i
    sleep 1.5
    xdotool type --delay 20 "$3/statement.csv"
    xdotool key Return
    sleep 2
    import -window root "$2/import.png"
    # Import, by its access key.
    xdotool key alt+i
    sleep 1.5
    import -window root "$2/import-after.png"
    xdotool key Return
    sleep 0.5
    kill $pid
' sh "$build/src/quillary" "$shots" "$work"
echo "saved $shots/import.png and import-after.png"
