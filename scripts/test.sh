#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: once in a plain build and once
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh build
(cd build && ctest --output-on-failure -j2)
bash scripts/build.sh build-asan -DBRISKLANE_SANITIZE=ON -DBRISKLANE_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j2)
