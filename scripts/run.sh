#!/usr/bin/env bash
# Builds Velder and starts it on the tables of its folder (the sample tables on a first run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
for t in "$root"/samples/*.krv; do
  [ -e "$root/build/$(basename "$t")" ] || cp "$t" "$root/build/"
done
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: Velder is a desktop program. Without a screen, run: xvfb-run -a $root/build/velder"
  exit 1
fi
exec "$root/build/velder" "$@"
