#!/usr/bin/env bash
# The least a player must see: the given build of the game, started on a
# virtual X server, shows the window "Trotix" with its 187 x 150 client
# area. Run on the player's build, which has no test binaries of its own.
#
#   smoke_test.sh PATH/TO/trotix
set -u -o pipefail

if [[ $# -ne 1 || ! -x $1 ]]; then
  echo "usage: $0 PATH/TO/trotix" >&2
  exit 2
fi
work=$(mktemp -d /tmp/trotix-smoke.XXXXXX)
# A copy of its own, so the Trotix.ini it may write stays out of the build.
cp "$1" "$work/trotix"
mkdir -m 700 "$work/runtime"

# shellcheck source=/dev/null
source "$(dirname "${BASH_SOURCE[0]}")/virtual_display.sh"
XVFB_PID=""
GAME_PID=""
trap 'stop_processes "$GAME_PID" "$XVFB_PID"; rm -rf "$work"' EXIT

start_xvfb 161 200 "$work/xvfb.log" || { echo "FAIL no virtual X server could be started"; exit 1; }
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" "$work/trotix" >"$work/game.log" 2>&1 &
GAME_PID=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$GAME_PID" --name '^Trotix$' 2>/dev/null | head -n 1)
if [[ -z $window ]]; then
  echo "FAIL no window \"Trotix\" appeared within 30 s"
  cat "$work/game.log"
  exit 1
fi
size=$(xwininfo -id "$window" | awk '/^ *Width:/ {w = $2} /^ *Height:/ {h = $2} END {print w " x " h}')
if [[ $size != "187 x 150" ]]; then
  echo "FAIL the window \"Trotix\" has a client area of $size, not 187 x 150"
  exit 1
fi
echo "ok the player's build opens the window \"Trotix\" with its 187 x 150 client area"
