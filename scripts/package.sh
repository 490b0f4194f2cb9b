#!/usr/bin/env bash
# Builds the Debian package build/velder_<version>_amd64.deb (CPack), after the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
# dpkg-shlibdeps works out the package's dependencies on Debian's Qt 6 libraries;
# CPack finds the programs to pass it with file.
if ! command -v dpkg-shlibdeps >/dev/null || ! command -v file >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq dpkg-dev file
fi
cd "$root/build"
cpack -G DEB >/dev/null
ls "$root"/build/velder_*_amd64.deb
