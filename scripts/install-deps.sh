#!/usr/bin/env bash
# Installs, with apt-get, whatever carvell needs to build and test that is not
# on the machine yet. Safe to run again: it installs nothing when all is there.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libocct-foundation-dev libocct-modeling-data-dev
  libocct-modeling-algorithms-dev libocct-data-exchange-dev
  libtbb-dev libqhull-dev nlohmann-json3-dev
  # The flat pattern of doubly curved sheets: the surface-mesh
  # parameterization (header-only) and the sparse solvers it runs on.
  libcgal-dev libeigen3-dev
  # The fuzz targets (tests/fuzz/): clang with libFuzzer and its sanitizer
  # runtimes.
  clang libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO=sudo
  else
    echo "install-deps: these packages are missing and this user is not root: ${missing[*]}" >&2
    echo "install-deps: run this script as root, or install them with apt-get." >&2
    exit 3
  fi
else
  SUDO=
fi

export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get update -qq; then
  echo "install-deps: apt-get update failed; cannot install ${missing[*]}" >&2
  exit 4
fi
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  echo "install-deps: apt-get install failed for ${missing[*]}" >&2
  exit 4
fi
