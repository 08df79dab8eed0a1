#!/bin/sh
# Installs the Debian packages the build and the tests need, when any is missing.
set -eu
packages="cmake make g++ clang-format pkg-config qt6-base-dev libgl-dev libsqlite3-dev libgtest-dev fonts-dejavu-core rapidjson-dev mdbtools mdbtools-dev xvfb xauth openbox qt6-svg-dev desktop-file-utils shared-mime-info appstream dpkg-dev file lintian"
missing=""
for package in $packages; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing="$missing $package"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing
