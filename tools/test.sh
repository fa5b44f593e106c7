#!/bin/bash
# Builds the console and its tests (installing what is missing) and runs
# every test headless. Exits non-zero on any failure.
#
#   tools/test.sh             Release build in build/
#   tools/test.sh --sanitize  the same build with AddressSanitizer,
#                             UndefinedBehaviorSanitizer and the standard
#                             library's own checks (an index past a
#                             std::array's end) in build-asan/; the first
#                             error found ends its test as a failure.
#                             Leaks are not checked: Qt's platform plugin and
#                             the windows that live as long as the program
#                             are still allocated at exit.
set -euo pipefail
if [ "${1:-}" = "--sanitize" ]; then
    export VW_BUILD=build-asan
    export VW_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS"
    export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
elif [ $# -gt 0 ]; then
    echo "usage: tools/test.sh [--sanitize]" >&2
    exit 2
fi
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)"
