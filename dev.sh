#!/usr/bin/env bash
# Quillary developer entry point.
#   ./dev.sh run    install what is missing, build, start the program
#   ./dev.sh test   install what is missing, build, run every test
#   ./dev.sh build  install what is missing and build
#   ./dev.sh package  build the Debian package into build/
# Works as root or through sudo on Debian; safe to run again.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake qt6-base-dev libgl-dev xvfb xauth poppler-utils fonts-liberation2
          desktop-file-utils appstream shared-mime-info file dpkg-dev python3 libcsv-dev)
BUILD_DIR=${BUILD_DIR:-build}

install_missing() {
    local missing=() status
    for p in "${PACKAGES[@]}"; do
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
*)
    echo "usage: $0 [run|test|build|package]" >&2
    exit 2
    ;;
esac
