#!/usr/bin/env bash
# Builds carvell and runs every example against the stand-in host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)"
status=0
for ex in build/default/examples/example_*; do
  [ -x "$ex" ] || continue
  echo "== $(basename "$ex")"
  "$ex" build/default/example-output || status=1
done
exit $status
