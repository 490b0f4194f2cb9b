#!/usr/bin/env bash
# Builds Velder and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
# Gramps reads the GEDCOM files of VelderExport in the tests (velderexport_gramps).
if ! command -v gramps >/dev/null 2>&1; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends gramps >/dev/null \
    || { "${sudo_cmd[@]}" apt-get update -qq && DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends gramps >/dev/null; }
fi
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
