#!/usr/bin/env bash
# Installs what is missing, builds, then starts Quendra (run) or runs every test (test).
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake make g++ qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev zlib1g-dev
          xvfb xauth fonts-dejavu-core)

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing ${missing[*]}"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

build() {
    local folder=$1
    shift
    [ -f "$folder/CMakeCache.txt" ] || cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$folder" -j"$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build build
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display to show Quendra on; start it under a virtual display with: xvfb-run -a build/quexam"
        exit 1
    fi
    exec build/quexam
    ;;
test)
    install_missing
    build build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
