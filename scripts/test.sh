#!/usr/bin/env bash
# Builds everything and runs every test twice: with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/test, Debug) and optimised (build/release, Release), since some faults show in only one
# of the two. Fails when either build or either run fails.
# CONF_JOBS sets the parallel jobs (default: all processors); CONF_BUILD_ROOT the folder that
# holds the two build folders (default: build/ of the checkout).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
jobs="${CONF_JOBS:-$(nproc)}"
builds="${CONF_BUILD_ROOT:-$root/build}"

# suite <folder> <build type> <sanitizers ON/OFF>
suite() {
    local dir="$builds/$1"
    echo "=== $1: $2 build, sanitizers $3"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$2" -DCONF_SANITIZE="$3" \
        -DCONF_BUILD_TESTS=ON -DCONF_BUILD_BENCH=ON || return 1
    cmake --build "$dir" -j "$jobs" || return 1
    (cd "$dir" && ctest --output-on-failure -j "$jobs") || return 1
}

failed=()
suite test Debug ON || failed+=("test (sanitizers)")
suite release Release OFF || failed+=("release")
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}" >&2
    exit 1
fi
echo "All tests passed in both builds."
