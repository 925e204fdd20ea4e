#!/usr/bin/env bash
# Builds the benchmarks in Release (build-release/) and prints the performance report:
# module loading next to zlib alone, start-up and peak memory next to a bare Qt window,
# test set-up and a move in the test window.
#
#     bench/report.sh [runs]        # runs: start-up runs of each program, 20 by default
#
# Start-up runs under a virtual X display (xvfb-run); QUENDRA_REPORT_PLATFORM=offscreen
# measures with Qt's offscreen platform instead. Take the figures on a quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-20}
build=build-release

# Google Benchmark and the virtual display, when they are missing.
missing=()
for package in libbenchmark-dev xvfb xauth; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

[ -f "$build/CMakeCache.txt" ] ||
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DQUENDRA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target quexam sample_module full_module bench_load \
    bench_barewindow bench_splashfloor bench_startup bench_inittest bench_testwindow >/dev/null

echo "Quendra performance report, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo

echo "== Module loading (UnpackTest + LoadTest; floor: read the file, inflate with zlib) =="
"$build/bench_load" sample="$build/Module/512-330.qdb" full="$build/bench/FullModule/512-330.qdb" \
    --benchmark_out=/dev/null 2>/dev/null | sed -n '/^Module loading/,$p'
echo

echo "== Start-up to the start screen and peak memory there =="
startup=("$build/bench_startup" --runs "$runs" --bare "$build/bench_barewindow"
         --floor "$build/bench_splashfloor"
         --quexam "$build/quexam" sample="$build/Module" full="$build/bench/FullModule")
if [ "${QUENDRA_REPORT_PLATFORM:-xcb}" = offscreen ]; then
    QT_QPA_PLATFORM=offscreen "${startup[@]}"
else
    xvfb-run -a "${startup[@]}"
fi
echo

echo "== Test set-up (InitTest, 1000 questions) =="
"$build/bench_inittest"
echo

echo "== A move in the test window =="
QT_QPA_PLATFORM=offscreen "$build/bench_testwindow"
