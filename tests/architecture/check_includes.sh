#!/usr/bin/env bash
# Fails when a source file includes a folder its layer may not depend on: the core never
# reaches into the windows, and the link never into the page (it uses the files only to
# write its trace and log through the atomic writer). The table is the one in
# docs/ARCHITECTURE.md; change both together.
set -u
top=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$top" || exit 2

declare -A allowed=(
  [data]="data"
  [dsc]="data dsc"
  [files]="data files"
  [archive]="data dsc files archive"
  [report]="data dsc report"
  [page]="data dsc session page"
  [link]="data files link"
  [session]="data dsc files archive session"
  [testset]="data testset"
  [ui]="data dsc files archive report page link session ui"
  [app]="ui"
  [tools/kelpra-tool]="data dsc files archive report page link session"
  [tools/testset]="data files testset"
  [tools/bench]="data files archive link page session"
)

bad=0
checked=0
for layer in "${!allowed[@]}"; do
  case $layer in tools/*) dir=$layer ;; *) dir=src/$layer ;; esac
  [ -d "$dir" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$line")
    checked=$((checked + 1))
    if ! grep -qw -- "$target" <<<"${allowed[$layer]}"; then
      echo "$file includes $target/, which $layer may not use"
      bad=$((bad + 1))
    fi
  done < <(grep -rnE '^\s*#include "[^/"]+/' "$dir" --include='*.h' --include='*.cpp')
done

if [ "$checked" -eq 0 ]; then
  echo "no includes found under $top: wrong folder?"
  exit 2
fi
echo "$checked includes checked, $bad across a forbidden layer"
[ "$bad" -eq 0 ]
