#!/bin/sh
# Builds the program, starts it under a virtual X server with a window
# manager on a data file of 300 records over the last three years, opens the
# tax year summary from the keyboard and saves:
#   screenshots/summary.png      the screen with the summary window
#   screenshots/summary-all.png  the same for all years, empty categories
#                                hidden
#   screenshots/summary-pdf.png  its printed page, saved as PDF (no printer
#                                is set up under Xvfb) and drawn by pdftoppm
# Needs xdotool, openbox and import (imagemagick) besides the build tools.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
shots=$root/screenshots

for tool in xdotool openbox import pdftoppm; do
    if ! command -v $tool >/dev/null; then
        echo "This script needs $tool: apt-get install xdotool openbox imagemagick poppler-utils" >&2
        exit 1
    fi
done
cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j2 --target quillary

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config" "$shots"

# 300 records: every kind, a handful of categories each, amounts of a few
# cents to some thousands, dates spread over three years; two records whose
# amount is no number and one whose type is not in its list. The printed page
# is of the year the window starts with, every category on it.
year=$(date +%Y)
awk -v first=$((year - 3)) 'BEGIN {
    srand(7)
    n0 = split("Medical and Dental Fees|Real Estate Taxes|Gifts to Charity|Tax Preparation Fees|Other", t0, "|")
    n1 = split("Wages, Salaries, Tips, etc.|Taxable Interest Income|Dividend Income|Other", t1, "|")
    n2 = split("Advertising|Car & Truck Expenses|Office Expense|Supplies|Travel|Utilities|Meals & Entertainment|Rent/Lease (Other bus. prop.)", t2, "|")
    n3 = split("Receipts or Sales|Returns & Allowances|Other Income", t3, "|")
    split("Pharmacy|Dentist|Food bank|Stationery|Train ticket|Electricity|Client lunch|Salary|Bank interest|Invoice", what, "|")
    for (i = 0; i < 300; i++) {
        kind = int(rand() * 4)
        if (kind == 0) type = t0[1 + int(rand() * n0)]
        else if (kind == 1) type = t1[1 + int(rand() * n1)]
        else if (kind == 2) type = t2[1 + int(rand() * n2)]
        else type = t3[1 + int(rand() * n3)]
        amount = sprintf("%d.%02d", rand() * (kind == 1 || kind == 3 ? 3000 : 400), rand() * 100)
        if (kind == 3 && type == "Returns & Allowances") amount = "-" amount
        if (i == 97 || i == 211) amount = "tbd"
        if (i == 150) type = "Garden"
        date = sprintf("%d/%d/%d", 1 + int(rand() * 12), 1 + int(rand() * 28), first + i % 3)
        printf "%-1.1s%-15.15s%-14.14s%-10.10s%-20.20s%-30.30s%-20.20s%-20.20s",
            kind, date, amount, "N" i, "Check", type, "Party " (i % 17), what[1 + int(rand() * 10)]
    }
}' >"$work/Taxrecs.dat"

cd "$work"
XDG_CONFIG_HOME="$work/config" xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" sh -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    "$1" &
    pid=$!
    sleep 3
    # Records menu, Tax Year Summary...
    xdotool key alt+r
    sleep 0.5
    xdotool key s
    sleep 2
    import -window root "$2/summary.png"
    # File, Print: no printer, so save it as a PDF.
    xdotool key ctrl+p
    sleep 1
    xdotool key alt+y
    sleep 1.5
    xdotool type --delay 20 "$3/summary.pdf"
    xdotool key Return
    sleep 2
    # All years, empty categories hidden: the records not counted show.
    xdotool key alt+w
    sleep 0.3
    xdotool key alt+y End
    sleep 1
    import -window root "$2/summary-all.png"
    xdotool key Escape
    sleep 0.5
    kill $pid
' sh "$build/src/quillary" "$shots" "$work"
if [ ! -f "$work/summary.pdf" ]; then
    echo "The summary was not saved as PDF" >&2
    exit 1
fi
pdftoppm -png -r 110 -singlefile "$work/summary.pdf" "$shots/summary-pdf"
echo "saved $shots/summary.png, summary-all.png and summary-pdf.png"
