#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build (the
# archive's tests also against a throw-away PostgreSQL server), and once more built with
# clang under AddressSanitizer and UndefinedBehaviorSanitizer (which also runs the
# data-file reader's fuzz target for a bounded time).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELPRA_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" -LE postgres
# The archive's cases once more on a real PostgreSQL server: pg_virtualenv creates a
# throw-away cluster, sets PGHOST/PGPORT/PGUSER/PGPASSWORD for the command, and removes
# the cluster afterwards (-t: in a temporary folder, so an interrupted run leaves nothing).
pg_virtualenv -t ctest --test-dir build --output-on-failure -L postgres

CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKELPRA_SANITIZE=ON -DKELPRA_FUZZ=ON -DKELPRA_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE postgres
