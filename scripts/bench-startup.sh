#!/bin/sh
# Times kelpra's start-up to a mapped window against a minimal Qt Widgets main window from
# the same Qt, in turns under one Xvfb server, and prints the ratio of the medians.
#
# usage: scripts/bench-startup.sh [build-dir] [runs]
set -eu

src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-bench}
runs=${2:-21}

if [ ! -x "$build/bin/kelpra-bench-startup" ]; then
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target kelpra-bench-startup -j2
fi
build=$(cd "$build" && pwd)

# A working directory and home of its own: no details.txt, settings or archive of the user's.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
cd "$work"
mkdir -m 700 "$work/runtime"
HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/bin/kelpra-bench-startup" --runs "$runs" "$build/bin/kelpra" "$build/bin/kelpra-bench-minimal-window"
