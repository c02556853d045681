#!/usr/bin/env bash
# Builds everything (with AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCONF_SANITIZE=ON -DCONF_BUILD_TESTS=ON -DCONF_BUILD_BENCH=ON
cmake --build "$root/build/test" -j "$(nproc)"
cd "$root/build/test"
ctest --output-on-failure -j "$(nproc)"
