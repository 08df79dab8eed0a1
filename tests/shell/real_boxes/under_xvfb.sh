#!/bin/sh
# Runs a test program on an X display of its own with the openbox window manager, as a desktop
# runs roomkit: activations then come from a real window manager, with its timing. Exits 77,
# which the test registration counts as skipped, when xvfb-run or openbox is not installed.
set -u
for tool in xvfb-run openbox; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed (Debian packages xvfb and openbox)"
    exit 77
  fi
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  openbox >/dev/null 2>&1 &
  manager=$!
  sleep 1
  QT_QPA_PLATFORM=xcb "$@"
  status=$?
  kill "$manager" 2>/dev/null
  exit "$status"
' under_xvfb "$@"
