#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed programs the way a
# user would: versions (without a display), the manual pages and package documents, the
# desktop entry and icons, a download from the installed virtual test set, and a decode
# of the file it gave. Then builds the Debian package and looks into it.
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
# No window system at all: --version and --help must not need one.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/kelpra" --version | grep -qx 'kelpra 2.5.0'
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/kelpra" --help | grep -q '^Usage: kelpra'

# Manual pages, written from the programs' real options: every command and option the
# programs list in their help is in their page.
man1=$prefix/share/man/man1
for program in kelpra kelpra-tool kelpra-testset; do
  gzip -t "$man1/$program.1.gz" || { echo "missing or broken man page: $program"; exit 1; }
  zcat "$man1/$program.1.gz" | grep "^\.TH ${program^^} 1 " >/dev/null || { echo "$program.1: not a section 1 page"; exit 1; }
  if command -v man >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man1/$program.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$program.1: $warnings"; exit 1; }
  fi
done
# The page is read whole first: grep -q stops at the first match, and under pipefail the
# writer it leaves behind would fail the check.
page_mentions() {
  local text
  text=$(zcat "$man1/$1.1.gz" | sed 's/\\-/-/g')
  grep -q -- "$2" <<<"$text" || { echo "$1.1 does not mention $2"; exit 1; }
}
for word in --help --version; do page_mentions kelpra "$word"; done
for command in $("$prefix/bin/kelpra-tool" --help | sed -n 's/^  \([a-z-]*\) .*/\1/p'); do
  page_mentions kelpra-tool "$command"
done
for option in $("$prefix/bin/kelpra-tool" archive --help | grep -o -- '--[a-z-]*' | sort -u); do
  page_mentions kelpra-tool "$option"
done
for option in $("$prefix/bin/kelpra-testset" --help 2>&1 | grep -o -- '--[a-z-]*'); do
  page_mentions kelpra-testset "$option"
done

doc=$prefix/share/doc/kelpra
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright"
zcat "$doc/changelog.gz" | head -n 1 | grep -q '^kelpra (2\.5\.0) '

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
"$prefix/bin/kelpra-tool" print-pdf sample.bin --output protocol.pdf
head -c 4 protocol.pdf | grep -q '%PDF'

# The Debian package carries the same files.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null; then
  (cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null)
  deb=$(ls "$work"/package/kelpra_2.5.0_*.deb)
  dpkg-deb -c "$deb" | awk '{print $6}' > contents.txt
  for file in ./usr/bin/kelpra ./usr/bin/kelpra-tool ./usr/bin/kelpra-testset \
              ./usr/share/man/man1/kelpra.1.gz ./usr/share/man/man1/kelpra-tool.1.gz \
              ./usr/share/man/man1/kelpra-testset.1.gz \
              ./usr/share/doc/kelpra/copyright ./usr/share/doc/kelpra/changelog.gz; do
    grep -qx -- "$file" contents.txt || { echo "not in the package: $file"; exit 1; }
  done
fi
echo "installed programs work"
