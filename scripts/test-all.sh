#!/bin/sh
# Builds and runs every test: the normal build's tests; a clang build with
# AddressSanitizer and UndefinedBehaviorSanitizer (stopping at the first
# report) running every test, a short validator run and the two fuzz
# targets; the 32-bit Windows build: the DLL's check, its tests under Wine and
# the cross-check of its outputs against the Linux build's; the full
# validator. Run it after scripts/install-deps.sh, from the repository root.
set -e
cd "$(dirname "$0")/.."

# Each stage says when it ends and how long it took, so a slow stage shows.
start=$(date +%s)
last=$start
stage() {
    now=$(date +%s)
    echo "=== $1: $((now - last)) s (total $((now - start)) s)"
    last=$now
}

cmake -S . -B build
cmake --build build -j2
stage "normal build"
ctest --test-dir build --output-on-failure -j2
stage "normal tests"

# Sanitizers and fuzz targets in one clang build at -O1 (coverage
# instrumentation for the fuzzer everywhere; the tests do not notice it).
CC=clang-14 CXX=clang++-14 cmake -S . -B build-asan -DSPIRAL_SANITIZE=ON -DSPIRAL_BUILD_FUZZ=ON \
    -DSPIRAL_BUILD_BENCH=OFF "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG" \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -gline-tables-only -DNDEBUG"
cmake --build build-asan -j2
stage "sanitizer build"
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/leak_suppressions.txt:print_suppressions=0"
# Inkscape's run is the normal build's; here it would only add Inkscape's time.
ctest --test-dir build-asan --output-on-failure -j2 -LE inkscape
stage "sanitizer tests"
# Every fourth call failed in turn (and the first two of every call site).
build-asan/bin/spiral-host validate --quick --records 200 --fault-stride 4
stage "sanitizer validator"

# The fuzz targets, each run for a bounded time from its seed corpus: the
# drawing target a minute, the resource readers' target 20 s.
rm -rf build-asan/seeds build-asan/resource-seeds build-asan/fuzz-work build-asan/resource-work
build/bin/spiral_make_corpus --unpack fuzz/corpus build-asan/seeds
build/bin/spiral_make_corpus --unpack fuzz/resource-corpus build-asan/resource-seeds
mkdir -p build-asan/fuzz-work build-asan/resource-work
build-asan/bin/spiral_fuzz -max_total_time=60 -print_final_stats=1 build-asan/fuzz-work build-asan/seeds
build-asan/bin/spiral_resource_fuzz -max_total_time=20 -print_final_stats=1 build-asan/resource-work \
    build-asan/resource-seeds
stage "fuzz runs"

# The 32-bit Windows build: the DLL's own check, its tests under Wine, and
# the Linux and Windows builds drawing the same bytes for 200 random records.
# Wine runs 32-bit programs as 32-bit Linux processes with its 32-bit loader
# (package wine32:i386); a kernel without 32-bit support refuses them
# (ENOEXEC). Without either, nothing of the Windows build can run on this
# machine: only the DLL and the host are built.
runs_32_bit=no
/usr/lib/wine/wine --version >/dev/null 2>&1 && runs_32_bit=yes
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DSPIRAL_BUILD_BENCH=OFF
if [ "$runs_32_bit" = yes ]; then
    cmake --build build-win -j2
else
    cmake --build build-win -j2 --target spiral_plugin spiral-host
fi
stage "Windows build"
/usr/bin/python3 scripts/check_dll.py build-win/bin/spiral.spx
export WINEPREFIX="$PWD/build-win/wineprefix" WINEDEBUG=-all
if [ "$runs_32_bit" = yes ]; then
    ctest --test-dir build-win --output-on-failure -j2
    stage "Windows tests"
    python3 scripts/cross_check.py build/bin/spiral-host build-win/bin/spiral-host.exe 200
    stage "Windows cross-check"
else
    echo "=== SKIPPED: Wine's 32-bit loader cannot run here (not installed, or a kernel without 32-bit x86 support),"
    echo "=== its tests under Wine and its cross-check did not run (the build and the DLL's check did)."
    echo "=== The 64-bit Windows build stands in: its tests and the cross-check run under Wine's 64-bit loader."
    cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DSPIRAL_BUILD_BENCH=OFF
    cmake --build build-win64 -j2
    stage "64-bit Windows build"
    export WINEPREFIX="$PWD/build-win64/wineprefix"
    ctest --test-dir build-win64 --output-on-failure -j2
    stage "64-bit Windows tests"
    python3 scripts/cross_check.py build/bin/spiral-host build-win64/bin/spiral-host.exe 200 \
        --wine /usr/lib/wine/wine64
    stage "64-bit Windows cross-check"
fi

# The full validator, once, with the normal build.
build/bin/spiral-host validate
stage "full validator"
