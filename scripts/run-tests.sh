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
# The fuzz targets of what reads stored text (part files, rule texts): built
# with clang in their own tree, each run a fixed number of times from its
# seed corpus (tests/fuzz/CMakeLists.txt).
if [ "$preset" = sanitize ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j"$(nproc)"
  ctest --preset fuzz
fi
