#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed programs the way a
# user would: versions, the desktop entry and icons, a download from the installed
# virtual test set, and a decode of the file it gave.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
work=$(mktemp -d)
testset_pid=
cleanup() {
  [ -n "$testset_pid" ] && kill "$testset_pid" 2>/dev/null || true
  rm -rf "$prefix" "$work"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for program in kelpra kelpra-tool kelpra-testset; do
  test -x "$prefix/bin/$program" || { echo "not installed: bin/$program"; exit 1; }
done
"$prefix/bin/kelpra-tool" --version | grep -qx 'kelpra-tool 2.5.0'
QT_QPA_PLATFORM=offscreen "$prefix/bin/kelpra" --version | grep -q '2.5.0'

desktop=$prefix/share/applications/kelpra.desktop
desktop-file-validate "$desktop"
grep -qx 'Exec=kelpra' "$desktop"
grep -qx 'Icon=kelpra' "$desktop"
for size in 16 32 48 64 128 256; do
  test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/kelpra.png" || { echo "missing icon ${size}"; exit 1; }
done
test -s "$prefix/share/icons/hicolor/scalable/apps/kelpra.svg"

cd "$work"
"$prefix/bin/kelpra-testset" --max-seconds 20 > testset.out 2> testset.err &
testset_pid=$!
for _ in $(seq 50); do
  [ -s testset.out ] && break
  sleep 0.1
done
device=$(head -n 1 testset.out)
case "$device" in /dev/*) ;; *) echo "no device from kelpra-testset: $device"; exit 1 ;; esac

"$prefix/bin/kelpra-tool" download --port "$device" --output sample.bin > id.txt 2> progress.txt
grep -q '^GMDSS TESTER' id.txt
"$prefix/bin/kelpra-tool" decode sample.bin --record 3 > record3.json
grep -q '"distress": true' record3.json
grep -q '"NATUREmeaning": "Undesignated distress"' record3.json
"$prefix/bin/kelpra-tool" decode sample.bin > record1.json
grep -q '"FS1meaning": "VHF CH - 0006"' record1.json
echo "installed programs work"
