#!/bin/sh
# Builds the program, starts it under a virtual X server on a sample data
# file of three records and saves a picture of the screen to
# screenshots/record.png (record-<dpi>.png when DPI is set, e.g. DPI=144).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=$root/screenshots/record${DPI:+-$DPI}.png

if ! command -v import >/dev/null; then
    echo "This script takes the picture with 'import': apt-get install imagemagick" >&2
    exit 1
fi
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target quillary

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"

record() {
    # kind, date, amount, invoice, pay method, type, party, description
    printf '%-1.1s%-15.15s%-14.14s%-10.10s%-20.20s%-30.30s%-20.20s%-20.20s' "$@"
}
{
    record 0 3/14/2024 125.4 A-1041 'Check No: 1041' 'Medical and Dental Fees' 'Dr. Meyer' 'Check-up'
    record 2 4/2/2024 89.99 7731 Visa/Mastercard Supplies 'Office Depot' 'Printer paper'
    record 1 4/30/2024 2500 '' Account 'Wages, Salaries, Tips, etc.' 'Acme Tools Inc.' 'April salary'
} >"$work/Taxrecs.dat"

mkdir -p "$root/screenshots"
cd "$work"
QT_FONT_DPI=${DPI:-96} XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24 -dpi ${DPI:-96}" sh -c '
    "$1" &
    pid=$!
    sleep 3
    import -window root "$2"
    kill $pid
' sh "$build/src/quillary" "$out"
echo "saved $out"
