#!/usr/bin/env bash
# The inner loop: the headless build (no desktop, no Windows) and its unit
# tests and scenarios, in about a minute once built. scripts/test.sh runs
# everything before a change is submitted.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-quick -DCMAKE_BUILD_TYPE=Debug -DTARVO_DESKTOP=OFF >/dev/null
cmake --build build-quick -j "$(nproc)"
# The trials and the random run take minutes: scripts/test.sh runs them.
ctest --test-dir build-quick -j "$(nproc)" --output-on-failure \
  -E '^(fault_trials|random_actions|two_launchers|odd_settings_file)$'
