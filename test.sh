#!/usr/bin/env bash
# Builds Crinova and runs every test offscreen.
#   ./test.sh             the normal build, in build/
#   ./test.sh --sanitize  the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
#                         in build-sanitize/
set -euo pipefail
CRINOVA_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$CRINOVA_ROOT/scripts/common.sh"

build_dir=$CRINOVA_ROOT/build
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
case "${1:-}" in
    "") ;;
    --sanitize)
        build_dir=$CRINOVA_ROOT/build-sanitize
        cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DCRINOVA_SANITIZE=ON -DCRINOVA_BENCHMARKS=OFF)
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
        export LSAN_OPTIONS=suppressions=$CRINOVA_ROOT/tests/lsan.supp:print_suppressions=0
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        ;;
    *)
        echo "usage: $0 [--sanitize]" >&2
        exit 2
        ;;
esac

crinova_build "$build_dir" "${cmake_args[@]}"
export QT_QPA_PLATFORM=offscreen
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
