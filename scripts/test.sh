#!/bin/sh
# Installs what is missing, builds and runs every test.
set -eu
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
# The real-box tests also run on an X display with a window manager, where both are installed.
for tool in xvfb-run openbox; do
  command -v "$tool" >/dev/null 2>&1 ||
    echo "Skipping the tests under Xvfb with openbox: $tool is not installed."
done
ctest --test-dir build --output-on-failure -j "$(nproc)"
