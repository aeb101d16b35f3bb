#!/bin/sh
# Times complete download exchanges against the virtual test set on a pseudo-terminal and
# reports the median exchange time as a ratio to the line's physical limit (17 replies at
# 19200 bit/s, 10 bits a byte, plus 17 closing pauses of 25 ms). Runs once as the machine
# is, once more with two busy loops on top.
#
# usage: scripts/bench-download.sh [build-dir] [runs] [record-size]
set -eu

src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-bench}
runs=${2:-11}
size=${3:-64}

if [ ! -x "$build/bin/kelpra-bench-download" ] || [ ! -x "$build/bin/kelpra-testset" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target kelpra-bench-download kelpra-testset -j2
fi
build=$(cd "$build" && pwd)

work=$(mktemp -d)
loads=""
cleanup() {
    for pid in $loads; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

bench() {
    (cd "$work" && "$build/bin/kelpra-bench-download" --runs "$runs" --record-size "$size" \
        --testset "$build/bin/kelpra-testset")
}

echo "== as the machine is (load: $(cut -d' ' -f1-3 /proc/loadavg))"
bench | tee "$work/quiet.txt"

for i in 1 2; do
    yes >/dev/null &
    loads="$loads $!"
done
sleep 1
echo "== with two busy loops (load: $(cut -d' ' -f1-3 /proc/loadavg))"
bench | tee "$work/busy.txt"

echo "== summary"
printf 'as is:     %s\n' "$(grep '^median' "$work/quiet.txt")"
printf 'busy x2:   %s\n' "$(grep '^median' "$work/busy.txt")"
