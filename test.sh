#!/usr/bin/env bash
# Builds the reader and runs the whole test suite twice: a plain build, then a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Exits non-zero on any failure.
set -euo pipefail
odelane_root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$odelane_root/scripts/deps.sh"

odelane_install_packages

run_suite() {
    local dir=$1
    shift
    echo "== building $dir"
    odelane_build "$dir" "$@"
    echo "== testing $dir"
    # Widget tests pick the offscreen platform themselves; the rest need a real X server.
    QTWEBENGINE_DISABLE_SANDBOX=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$dir" --output-on-failure -j2
}

run_suite "$odelane_root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${ODELANE_SKIP_SANITIZERS:-0}" != 1 ]; then
    run_suite "$odelane_root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DODELANE_SANITIZE=ON
fi
echo "All tests passed."
