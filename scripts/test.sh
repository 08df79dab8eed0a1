#!/bin/sh
# Installs what is missing, builds and runs every test.
# With --sanitize, builds into build-sanitize/ under the address and undefined-behaviour
# sanitizers and runs every test there: any report fails its test.
set -eu
cd "$(dirname "$0")/.."
./scripts/deps.sh
if [ "${1:-}" = "--sanitize" ]; then
  build=build-sanitize
  # The benchmarks are timed in the plain build only.
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROOMKIT_SANITIZE=ON \
    -DROOMKIT_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)"
  # Leaks are not looked for: the widget kit keeps some memory to the end on purpose. New memory
  # reads as zero, as the Jet reader's process makes it in the plain build, so that a damaged
  # file that the reading library reads before it fills reads the same way here.
  ASAN_OPTIONS="detect_leaks=0:malloc_fill_byte=0:max_malloc_fill_size=2147483647:${ASAN_OPTIONS:-}"
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
  export ASAN_OPTIONS UBSAN_OPTIONS
else
  build=build
  ./scripts/build.sh
fi
# The real-box tests also run on an X display with a window manager, where both are installed.
for tool in xvfb-run openbox; do
  command -v "$tool" >/dev/null 2>&1 ||
    echo "Skipping the tests under Xvfb with openbox: $tool is not installed."
done
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
