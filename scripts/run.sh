#!/bin/sh
# Installs what is missing, builds, makes the sample building on the first run and starts roomkit.
set -eu
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
if [ ! -f sample/JOX_SAMPLE.MDB ]; then
  mkdir -p sample
  build/toolkit/dbtool/roomkit-db sample sample/JOX_SAMPLE.MDB --rooms 400 --banks 6 \
    --account sample/JOXINIT.MDB
fi
# The file dialog opens in the sample's folder until another database has been loaded.
[ -f build/toolkit/lastdir.ini ] || printf '%s\r\n' "$(pwd)/sample" > build/toolkit/lastdir.ini
exec build/toolkit/roomkit
