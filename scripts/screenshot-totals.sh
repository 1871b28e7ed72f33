#!/usr/bin/env bash
# Builds the program and saves a picture of the totals window with 25 listed
# records, shown under Xvfb, as screenshots/totals.png.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD_DIR" -j2 --target bench_totals_screenshot
mkdir -p screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$BUILD_DIR/bench/bench_totals_screenshot" screenshots/totals.png
echo "screenshots/totals.png"
