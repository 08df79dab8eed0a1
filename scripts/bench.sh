#!/bin/sh
# Builds and runs every benchmark (each writes its own sample building in a temporary folder).
set -eu
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
for bench in $(find build/bench -type f -name 'bench_*' -perm -u+x | sort); do
  echo "== $(basename "$bench")"
  "$bench"
done
