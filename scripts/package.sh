#!/bin/sh
# Builds the Debian package roomkit_<version>_<arch>.deb with CPack, in a build folder of its
# own (the first argument, build-package/ unless told) with all of Debian's hardening flags, and
# checks it with lintian.
set -eu
cd "$(dirname "$0")/.."
./scripts/deps.sh
build="${1:-build-package}"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROOMKIT_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/roomkit_*.deb
(cd "$build" && cpack -G DEB)
deb="$(ls "$build"/roomkit_*.deb)"
lintian --fail-on error "$deb"
echo "$deb"
