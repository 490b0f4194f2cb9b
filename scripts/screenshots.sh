#!/usr/bin/env bash
# Remakes the pictures of the volunteers' guide (docs/images/*.png) from the current
# build: starts build/velder on copies of the sample tables under Xvfb, drives it with
# real key presses and clicks (xdotool) and photographs each window (ImageMagick).
# Run it again after any change to a window the guide shows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/images"

if [ -z "${VELDER_SHOTS_DISPLAY:-}" ]; then
  "$root/scripts/setup.sh" >/dev/null
  for tool in xdotool import; do
    command -v "$tool" >/dev/null || { echo "missing: $tool (apt-get install xdotool imagemagick)"; exit 1; }
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env VELDER_SHOTS_DISPLAY=1 "$0" "$@"
fi

# A folder of its own: the program, copies of the samples, a private home.
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid"; fi
  rm -rf "$work"
}
trap cleanup EXIT
cp "$root/build/velder" "$work/"
cp "$root"/samples/*.krv "$work/"
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config"
mkdir -p "$HOME" "$out"

pause() { sleep "${1:-0.6}"; }
# The window, as the volunteer sees it, in a small PNG.
shot() {
  local id=$1 name=$2 crop=${3:-}
  xdotool mousemove 1279 1023
  pause
  import -window "$id" -strip "$out/$name.png"
  [ -z "$crop" ] || mogrify -crop "$crop" +repage -strip "$out/$name.png"
  command -v optipng >/dev/null && optipng -quiet -o2 "$out/$name.png" || true
  echo "docs/images/$name.png: $(identify -format '%wx%h' "$out/$name.png")"
}
key() { xdotool key --delay 80 "$@"; pause 0.3; }
# A click at a point given in twips inside window id (15 twips to the pixel).
click() {
  local id=$1 x=$2 y=$3
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove "$((X + x / 15))" "$((Y + y / 15))" click 1
  pause
}
# The newest window shown that is not one of those given.
newWindow() {
  local id known
  for _ in $(seq 50); do
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | tac); do
      known=0
      for k in "$@"; do [ "$id" = "$k" ] && known=1; done
      [ $known -eq 0 ] && { echo "$id"; return; }
    done
    sleep 0.2
  done
  echo "no new window" >&2
  return 1
}

cd "$work"
./velder &
pid=$!

# The table manager, first sample selected.
manager=$(xdotool search --sync --onlyvisible --name '^Ouvrir$' | head -1)
xdotool windowfocus --sync "$manager"
shot "$manager" gestionnaire

# Open Valmorin: into the list, down one, Enter.
key Tab Down Return
entry=$(xdotool search --sync --onlyvisible --name 'VELDER - ' | head -1)
xdotool windowfocus --sync "$entry"
# The first record ("<<<<  Début"), a marriage with its witnesses.
click "$entry" 3195 7595
shot "$entry" saisie

# The witnesses of that record ("Témoins").
click "$entry" 1290 7080
detail=$(newWindow "$entry" "$manager")
shot "$detail" temoins
key Escape

# Searching by the husband's surname finds a record dated in the Republican calendar.
click "$entry" 10400 240
xdotool type --delay 120 "arz"
pause
shot "$entry" recherche 792x232+0+0

# The table's properties (first button of the bar at the bottom).
click "$entry" 540 7500
detail=$(newWindow "$entry" "$manager")
shot "$detail" proprietes
key Escape

# "Quitter" stores, saves and ends the program.
click "$entry" 9585 7595
wait "$pid" || true
pid=
echo "done: $(ls "$out" | wc -l) pictures in docs/images"
