#!/bin/sh
# Times the survey archive with 100,000 surveys of 16 random records: archive one survey,
# find by MMSI, find by a part of the vessel name, open one survey, and the archive's size;
# first on SQLite in a temporary folder, then on a throw-away PostgreSQL server (pg_virtualenv,
# with fsync on as on a real server). Filling takes a few minutes for each.
#
# usage: scripts/bench-archive.sh [build-dir] [surveys] [runs]
set -eu

src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-bench}
surveys=${2:-100000}
runs=${3:-101}

if [ ! -x "$build/bin/kelpra-bench-archive" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target kelpra-bench-archive -j2
fi
bench=$(cd "$build" && pwd)/bin/kelpra-bench-archive

work=$(mktemp -d "${TMPDIR:-/tmp}/kelpra-bench-archive.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

echo "== SQLite (load: $(cut -d' ' -f1-3 /proc/loadavg))"
"$bench" --database "$work/archive.sqlite" --surveys "$surveys" --runs "$runs"

echo "== PostgreSQL (load: $(cut -d' ' -f1-3 /proc/loadavg))"
KELPRA_BENCH_FLUSH_DIR=$work pg_virtualenv -t -o fsync=on \
    "$bench" --database postgresql:///postgres --surveys "$surveys" --runs "$runs"
