#!/usr/bin/env bash
# Whole-program figures for Trotix on its own Xvfb (no window manager):
#  - time from exec to the first frame on screen (median of 5 starts);
#  - resident memory (VmRSS) idle after start and during a race.
#
#   bench/whole_program.sh [PATH/TO/trotix]     (default: build/trotix)
#
# Needs (Debian): xvfb, xdotool, imagemagick.
# Figures are printed, never judged: a slow machine gives bigger numbers.

set -u -o pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
TROTIX_BIN=$(readlink -f "${1:-$HERE/../build/trotix}")
if [[ ! -x $TROTIX_BIN ]]; then
  echo "no executable at $TROTIX_BIN (build first, or pass its path)" >&2
  exit 2
fi
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "'$tool' is not installed (Debian: xvfb xdotool imagemagick)" >&2
    exit 2
  }
done

STARTS=5
WORK=$(mktemp -d /tmp/trotix-bench.XXXXXX)
mkdir -p "$WORK/app" "$WORK/runtime"
chmod 700 "$WORK/runtime"
# A copy of its own, so that no horsedat.txt or Trotix.ini beside the build
# changes what is measured: every start makes a random field at (0,0).
cp "$TROTIX_BIN" "$WORK/app/trotix"

# shellcheck source=/dev/null
source "$(dirname "${BASH_SOURCE[0]}")/../shell/tests/e2e/virtual_display.sh"

XVFB_PID=""
GAME_PID=""
cleanup() {
  stop_processes "$GAME_PID" "$XVFB_PID"
  rm -rf "$WORK"
}
trap cleanup EXIT


now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The start backdrop is on screen: brown band (128,64,0) at the top of the
# race picture and green turf (0,128,0) below. The picture sits at (3,2) in
# the client area.
first_frame_shown() { # WINDOW
  [[ $(import -window "$1" -format '%[pixel:p{13,12}] %[pixel:p{13,100}]' info:- 2>/dev/null) == \
    "srgb(128,64,0) srgb(0,128,0)" ]]
}

vm_rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null; }

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

start_xvfb 120 180 "$WORK/xvfb.log" || {
  echo "could not start Xvfb on any display from :120 to :180" >&2
  exit 1
}
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/runtime"

# Time to the first frame, polled every 10 ms plus one probe (a window
# grab of a few ms): that is the resolution of the figure.
startup_ms=()
probe_ms=()
for ((run = 1; run <= STARTS; run++)); do
  t0=$(now_ms)
  "$WORK/app/trotix" >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  win=""
  shown=""
  probes=0
  while (($(now_ms) - t0 < 20000)); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    if [[ -z $win ]]; then
      win=$(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null | head -n 1)
    fi
    if [[ -n $win ]]; then
      probes=$((probes + 1))
      if first_frame_shown "$win"; then
        shown=$(now_ms)
        break
      fi
    fi
    sleep 0.01 # leave the (perhaps only) other core to the game
  done
  if [[ -z $shown ]]; then
    echo "run $run: no first frame within 20 s" >&2
    cat "$WORK/game.log" >&2
    exit 1
  fi
  startup_ms+=($((shown - t0)))
  p0=$(now_ms)
  first_frame_shown "$win"
  probe_ms+=($(($(now_ms) - p0)))
  if ((run < STARTS)); then
    kill "$GAME_PID"
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=""
  fi
done

echo "startup to first frame: $(printf '%s\n' "${startup_ms[@]}" | median) ms (median of $STARTS; each: ${startup_ms[*]} ms; one screen probe takes about $(printf '%s\n' "${probe_ms[@]}" | median) ms)"

# Memory: the last start, idle for 2 s, then a race started with the Run
# button and sampled every 0.2 s for 10 s.
sleep 2
idle_kb=$(vm_rss_kb "$GAME_PID")
echo "resident memory idle after start: $((idle_kb / 1024)) MiB ($idle_kb kB VmRSS)"

run_pictogram_red() { # WINDOW: the Run button's pictogram is red while it is enabled
  [[ $(import -window "$1" -format '%[pixel:p{164,137}]' info:- 2>/dev/null) == "srgb(255,0,0)" ]]
}
xdotool mousemove --window "$win" 165 137 click 1
for i in $(seq 1 30); do
  run_pictogram_red "$win" || break
  sleep 0.1
done
if run_pictogram_red "$win"; then
  echo "the race did not start (Run button still enabled)" >&2
  exit 1
fi
max_kb=0
samples=0
end=$(($(now_ms) + 10000))
while (($(now_ms) < end)); do
  kb=$(vm_rss_kb "$GAME_PID")
  [[ -n $kb ]] && ((kb > max_kb)) && max_kb=$kb
  samples=$((samples + 1))
  sleep 0.2
done
echo "resident memory during a race: max $((max_kb / 1024)) MiB ($max_kb kB VmRSS, $samples samples over 10 s)"
