#!/usr/bin/env bash
# Builds carvell with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test. Pass a preset name (default: sanitize) to test another build.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-sanitize}"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset"
