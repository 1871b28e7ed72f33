#!/usr/bin/env bash
# Quillary developer entry point.
#   ./dev.sh run    install what is missing, build, start the program
#   ./dev.sh test   install what is missing, build, run every test
#   ./dev.sh build  install what is missing and build
#   ./dev.sh package  build the Debian package into build/
#   ./dev.sh sanitize build into build-sanitize with the address and
#                     undefined-behaviour sanitizers, run every test there
#   ./dev.sh fuzz [SECONDS]  build the fuzz targets with clang into
#                     build-fuzz, run each for SECONDS (60 by default)
# Works as root or through sudo on Debian; safe to run again.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake qt6-base-dev libgl-dev xvfb xauth poppler-utils fonts-liberation2
          desktop-file-utils appstream shared-mime-info file dpkg-dev python3 libcsv-dev)
# Only the fuzz command needs these: clang and its libFuzzer runtime, and
# llvm-symbolizer for readable stack traces.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev llvm-14)
BUILD_DIR=${BUILD_DIR:-build}
SANITIZE_DIR=${SANITIZE_DIR:-build-sanitize}
FUZZ_DIR=${FUZZ_DIR:-build-fuzz}

install_missing() {
    local missing=() status
    for p in "${PACKAGES[@]}" "$@"; do
        # Captured rather than piped into grep -q, which under pipefail can
        # count an installed package as missing.
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
        [ "$status" = "install ok installed" ] || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages: ${missing[*]}. Run this as root or install sudo." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    # Passed through env: sudo drops the caller's environment.
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$BUILD_DIR" -j2
}

# The sanitizers stop at their first finding (no recovery), with the whole
# stack; leaks count as findings.
sanitizer_environment() {
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
}

sanitize() {
    # A debug build (Qt's own checks in its headers on), lightly optimised
    # so that the whole suite stays quick.
    local flags="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    cmake -S . -B "$SANITIZE_DIR" -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    cmake --build "$SANITIZE_DIR" -j2
    sanitizer_environment
    (cd "$SANITIZE_DIR" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
}

# Each fuzz target runs for the given time on its seeds; what it finds on
# the way is kept in the build folder, never in the sources. A crash, a
# leak, a sanitizer finding or one input taking over a second fails it.
fuzz() {
    local seconds=$1 failed=() summary=() target name log runs options
    cmake -S . -B "$FUZZ_DIR" -DQUILLARY_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_COMPILER=clang-14
    cmake --build "$FUZZ_DIR" -j2
    sanitizer_environment
    export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-/usr/bin/llvm-symbolizer-14}
    for target in "$FUZZ_DIR"/tests/fuzz/fuzz_*; do
        [ -x "$target" ] && [ -f "$target" ] || continue
        name=${target##*/fuzz_}
        [ -d "tests/fuzz/corpus/$name" ] || { echo "fuzz_$name has no seeds in tests/fuzz/corpus/$name/" >&2; exit 1; }
        mkdir -p "$FUZZ_DIR/found/$name" "$FUZZ_DIR/artifacts"
        options=()
        [ -f "tests/fuzz/fuzz_$name.options" ] && read -r -a options < "tests/fuzz/fuzz_$name.options"
        log="$FUZZ_DIR/fuzz_$name.log"
        echo "== fuzz_$name for ${seconds}s"
        if "$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
                -print_final_stats=1 -artifact_prefix="$FUZZ_DIR/artifacts/$name-" \
                "${options[@]}" "$FUZZ_DIR/found/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
            runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
            summary+=("fuzz_$name: ${runs:-?} executions, nothing found")
        else
            tail -n 60 "$log" >&2
            failed+=("fuzz_$name")
            summary+=("fuzz_$name: FAILED (see $log and $FUZZ_DIR/artifacts/)")
        fi
    done
    printf '%s\n' "${summary[@]}"
    [ ${#failed[@]} -eq 0 ] || { echo "Fuzzing found faults in: ${failed[*]}" >&2; exit 1; }
}

case "${1:-run}" in
run)
    install_missing
    build
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found: starting under Xvfb." >&2
        exec xvfb-run -a "$BUILD_DIR/src/quillary"
    fi
    exec "$BUILD_DIR/src/quillary"
    ;;
test)
    install_missing
    build
    cd "$BUILD_DIR"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
    ;;
build)
    install_missing
    build
    ;;
package)
    install_missing
    build
    (cd "$BUILD_DIR" && cpack -G DEB)
    ls "$BUILD_DIR"/quillary_*.deb
    ;;
sanitize)
    install_missing
    sanitize
    ;;
fuzz)
    seconds=${2:-60}
    case "$seconds" in
    '' | *[!0-9]*) echo "usage: $0 fuzz [SECONDS]" >&2; exit 2 ;;
    esac
    install_missing "${FUZZ_PACKAGES[@]}"
    fuzz "$seconds"
    ;;
*)
    echo "usage: $0 [run|test|build|package|sanitize|fuzz [SECONDS]]" >&2
    exit 2
    ;;
esac
