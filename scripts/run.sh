#!/usr/bin/env bash
# Builds the configurator and starts it. Without a display it runs under xvfb-run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCONF_BUILD_TESTS=OFF
cmake --build "$root/build/release" --target configurator_app
exe="$root/build/release/bin/configurator"
if [ -n "${DISPLAY:-}" ]; then
    exec "$exe"
else
    echo "No DISPLAY set: starting the configurator under xvfb-run (invisible virtual display)."
    exec xvfb-run -a "$exe"
fi
