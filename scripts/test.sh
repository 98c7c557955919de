#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the tests on a release build,
# the Debian package checked from a fresh root, the fuzzers for a bounded time, then the tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer (leak checking on, halting on the
# first error).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
echo "== Tests on a release build"
cmake --workflow --preset test
echo "== The Debian package, unpacked into a fresh root"
bash scripts/package-check.sh
echo "== Fuzzers"
bash scripts/fuzz.sh
echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --workflow --preset asan
