#!/usr/bin/env bash
# Installs the Debian packages listed in packages.txt that are not installed yet.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mapfile -t pkgs < <(grep -v '^\s*#' "$here/packages.txt" | sed '/^\s*$/d')
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
