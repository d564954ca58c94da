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
        # intercept_tls_get_addr=0: this toolchain's runtime (GCC 12) guesses the extent of a
        # thread's dynamic TLS block (libjpeg's, once the JPEG plugin is loaded) from a header
        # glibc 2.19 had; a block that happens to start 16 bytes into a page makes it read the
        # allocator's own header instead, and the leak check at exit dies scanning a garbage
        # range. Without the interceptor those blocks are ordinary heap blocks, found through the
        # thread's DTV like any other, so leak checking loses nothing.
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:intercept_tls_get_addr=0
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
