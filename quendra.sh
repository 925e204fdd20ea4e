#!/usr/bin/env bash
# Installs what is missing, builds, then starts Quendra (run) or runs every test (test).
set -euo pipefail
cd "$(dirname "$0")"

# libqt6sql6-sqlite: the history's SQLite driver, only recommended by Qt's SQL module.
packages=(cmake make g++ qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev zlib1g-dev libfontconfig-dev
          libqt6sql6-sqlite xvfb xauth fonts-dejavu-core)
# The sanitizer build and the fuzzers of the test command need clang and its runtime;
# poppler-utils: pdftotext reads back the text of a saved score report. The installed
# layout is checked with the desktop entry and AppStream validators.
test_packages=(clang libclang-rt-14-dev poppler-utils desktop-file-utils appstream)

install_missing() {
    local missing=()
    for package in "$@"; do
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

# configure FOLDER [cmake options]: configures a build folder once.
configure() {
    local folder=$1
    shift
    [ -f "$folder/CMakeCache.txt" ] || cmake -S . -B "$folder" "$@" >/dev/null
}

# Runs each fuzz target for the given seconds on its seeds; any finding fails.
fuzz() {
    local seconds=$1 target corpus
    for target in archive tables module; do
        corpus=build-fuzz/corpus/$target
        mkdir -p "$corpus"
        case $target in
        tables) cp -n build-fuzz/fuzz-seeds/tables/* "$corpus"/ ;;
        *) cp -n build-fuzz/fuzz-seeds/archive/* "$corpus"/ ;;
        esac
        echo "Fuzzing $target for ${seconds}s"
        build-fuzz/fuzz_$target -max_total_time="$seconds" -dict=fuzz/module.dict -rss_limit_mb=2048 \
            -artifact_prefix=build-fuzz/ "$corpus" 2>build-fuzz/fuzz_$target.log ||
            { tail -n 40 build-fuzz/fuzz_$target.log; return 1; }
        grep -E "^Done" build-fuzz/fuzz_$target.log
    done
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j"$(nproc)"
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display to show Quendra on; start it under a virtual display with: xvfb-run -a build/quexam"
        exit 1
    fi
    exec build/quexam
    ;;
test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    export QT_QPA_PLATFORM=offscreen
    configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j"$(nproc)"
    (cd build && ctest --output-on-failure -j"$(nproc)")
    # Installed into a scratch prefix: the launcher and the AppStream data validate, and the
    # installed program finds its module there and starts.
    rm -rf build/install-check
    cmake --install build --prefix build/install-check >/dev/null
    desktop-file-validate build/install-check/share/applications/*.desktop
    appstreamcli validate --no-net build/install-check/share/metainfo/*.xml
    QUENDRA_INSTANCE_LOCK=build/install-check/quendra.lock \
        timeout 60 build/install-check/bin/quexam --measure-startup >/dev/null
    # The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
    configure build-asan -DCMAKE_BUILD_TYPE=Debug -DQUENDRA_SANITIZE=ON -DQUENDRA_BUILD_BENCH=OFF
    cmake --build build-asan -j"$(nproc)"
    (cd build-asan && ctest --output-on-failure -j"$(nproc)")
    # A short fuzzing run of each module reader target: a minute each in CI.
    CC=clang CXX=clang++ configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDRA_BUILD_FUZZ=ON \
        -DQUENDRA_SANITIZE=ON -DQUENDRA_BUILD_TESTS=OFF -DQUENDRA_BUILD_BENCH=OFF
    cmake --build build-fuzz -j"$(nproc)" --target fuzz_archive fuzz_tables fuzz_module fuzz_seeds
    fuzz "${QUENDRA_FUZZ_SECONDS:-$([ "${CI:-}" = true ] && echo 60 || echo 10)}"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
