#!/usr/bin/env bash
# Whole-program figures for Trotix on its own Xvfb with openbox, set against
# a baseline: the least Qt Widgets program with a window of the same size,
# built here and started alternately with the game in the same run.
#  - time from exec to the first frame: the window mapped and its first
#    Expose, heard by a tiny X client (first_frame_probe.c) that starts the
#    program itself and waits on the X connection, so that nothing polls
#    while the program starts;
#  - resident memory (VmRSS) one second after the first frame;
# each as min / median / max over the starts and as the ratio of the
# medians, trotix to baseline. Last, trotix's memory during a race.
#
#   bench/whole_program.sh [PATH/TO/trotix]     (default: build/trotix)
#
# Needs (Debian): xvfb, openbox, xdotool, imagemagick, a C and a C++
# compiler, pkg-config, libx11-dev and qt6-base-dev.
# Figures are printed, never judged: a slow machine gives bigger numbers,
# the ratios less so.

set -u -o pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
TROTIX_BIN=$(readlink -f "${1:-$HERE/../build/trotix}")
if [[ ! -x $TROTIX_BIN ]]; then
  echo "no executable at $TROTIX_BIN (build first, or pass its path)" >&2
  exit 2
fi
for tool in Xvfb openbox xdotool xprop import cc g++ pkg-config; do
  command -v "$tool" >/dev/null 2>&1 || {
    echo "'$tool' is not installed (Debian: xvfb openbox xdotool x11-utils imagemagick gcc g++ pkg-config)" >&2
    exit 2
  }
done

ROUNDS=${TROTIX_BENCH_ROUNDS:-15}  # starts of each program
WORK=$(mktemp -d /tmp/trotix-bench.XXXXXX)
mkdir -p "$WORK/app" "$WORK/runtime"
chmod 700 "$WORK/runtime"
# A copy of its own, so that no horsedat.txt or Trotix.ini beside the build
# changes what is measured: every start makes a random field.
cp "$TROTIX_BIN" "$WORK/app/trotix"

# shellcheck source=/dev/null
source "$HERE/../shell/tests/e2e/virtual_display.sh"

# Ends a program the probe started (not our child, so `wait` cannot be
# used) and waits up to 5 s for it to be gone.
end_app() { # end_app PID
  [[ -n $1 ]] || return 0
  kill "$1" 2>/dev/null
  for _ in $(seq 1 100); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.05
  done
}

XVFB_PID=""
WM_PID=""
APP_PID=""
cleanup() {
  end_app "$APP_PID"
  stop_processes "$WM_PID" "$XVFB_PID"
  rm -rf "$WORK"
}
trap cleanup EXIT

# ---- The probe and the baseline, built here ----

# shellcheck disable=SC2046 # pkg-config's flags are words
cc -O2 -o "$WORK/first_frame_probe" "$HERE/first_frame_probe.c" $(pkg-config --cflags --libs x11) || {
  echo "could not build the probe (Debian: libx11-dev)" >&2
  exit 2
}
# shellcheck disable=SC2046
g++ -O2 -fPIC -o "$WORK/app/baseline_window" "$HERE/baseline_window.cpp" $(pkg-config --cflags --libs Qt6Widgets) || {
  echo "could not build the baseline window (Debian: qt6-base-dev)" >&2
  exit 2
}

# Display numbers apart from the whole-program test's (:91 to :160), so
# that the two can run at once without taking each other's server.
start_xvfb 161 230 "$WORK/xvfb.log" || {
  echo "could not start Xvfb on any display from :161 to :230" >&2
  exit 1
}
openbox >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/runtime"

vm_rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null; }

# min median max of the numbers on stdin (the median of an even count is
# the mean of the middle two).
spread() {
  sort -g | awk '{v[NR] = $1} END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%g %g %g\n", v[1], m, v[NR]
  }'
}

# Starts one program under the probe; appends its time to the first frame
# to WORK/NAME.ms and its memory a second later to WORK/NAME.kb, then ends
# it. A start whose window the probe could not watch in time is made again.
measure() { # measure NAME
  local out pid expose try
  for try in 1 2 3; do
    out=$("$WORK/first_frame_probe" "$WORK/app/$1" 2>"$WORK/probe.log")
    pid=$(sed -n 's/^pid \([0-9]*\).*/\1/p' <<<"$out")
    APP_PID=$pid
    [[ $out != *missed* ]] && break
    echo "$1" >>"$WORK/again"
    end_app "$pid"
  done
  expose=$(sed -n 's/.* expose_ms \([0-9.]*\).*/\1/p' <<<"$out")
  if [[ -z $expose ]]; then
    echo "$1: no first frame seen (try $try)" >&2
    cat "$WORK/probe.log" >&2
    exit 1
  fi
  sleep 1
  echo "$expose" >>"$WORK/$1.ms"
  vm_rss_kb "$pid" >>"$WORK/$1.kb"
  end_app "$pid"
  APP_PID=""
}

# Alternately, the baseline first in odd rounds and trotix first in even
# ones, so that neither always meets a warmer cache.
for ((round = 1; round <= ROUNDS; round++)); do
  if ((round % 2)); then
    measure baseline_window
    measure trotix
  else
    measure trotix
    measure baseline_window
  fi
done

read -r t_min t_med t_max < <(spread <"$WORK/trotix.ms")
read -r b_min b_med b_max < <(spread <"$WORK/baseline_window.ms")
read -r tm_min tm_med tm_max < <(spread <"$WORK/trotix.kb")
read -r bm_min bm_med bm_max < <(spread <"$WORK/baseline_window.kb")
awk -v n="$ROUNDS" \
  -v t="$t_min $t_med $t_max" -v b="$b_min $b_med $b_max" \
  -v tm="$tm_min $tm_med $tm_max" -v bm="$bm_min $bm_med $bm_max" 'BEGIN {
  split(t, T); split(b, B); split(tm, TM); split(bm, BM)
  printf "%d starts each, alternating; min / median / max\n", n
  printf "time to first frame   trotix   %6.1f / %6.1f / %6.1f ms\n", T[1], T[2], T[3]
  printf "                      baseline %6.1f / %6.1f / %6.1f ms\n", B[1], B[2], B[3]
  printf "resident memory       trotix   %6.1f / %6.1f / %6.1f MiB\n", TM[1] / 1024, TM[2] / 1024, TM[3] / 1024
  printf "                      baseline %6.1f / %6.1f / %6.1f MiB\n", BM[1] / 1024, BM[2] / 1024, BM[3] / 1024
  printf "ratio of medians, trotix to baseline: time to first frame %.2f, resident memory %.2f\n", \
    T[2] / B[2], TM[2] / BM[2]
}'
# Each round's own ratio, so that the load of the machine, which drifts
# from round to round, weighs on both programs alike.
read -r r_min r_med r_max < <(paste "$WORK/trotix.ms" "$WORK/baseline_window.ms" | awk '{print $1 / $2}' | spread)
printf 'ratio round by round, time to first frame: %.2f / %.2f / %.2f\n' "$r_min" "$r_med" "$r_max"
if [[ -s $WORK/again ]]; then
  echo "($(wc -l <"$WORK/again") start(s) made again: the window was mapped before the probe could watch it)"
fi

# Memory during a race: one more start, the Run button clicked, sampled
# every 0.2 s for 10 s.
out=$("$WORK/first_frame_probe" "$WORK/app/trotix" 2>"$WORK/probe.log")
APP_PID=$(sed -n 's/^pid \([0-9]*\).*/\1/p' <<<"$out")
win=$(sed -n 's/.* window \(0x[0-9a-f]*\).*/\1/p' <<<"$out")
[[ -n $win ]] || {
  echo "trotix: no first frame within 20 s" >&2
  exit 1
}
sleep 1
idle_kb=$(vm_rss_kb "$APP_PID")
run_pictogram_red() { # the Run button's pictogram is red while it is enabled
  [[ $(import -window "$win" -format '%[pixel:p{164,137}]' info:- 2>/dev/null) == "srgb(255,0,0)" ]]
}
xdotool mousemove --window "$win" 165 137 click 1
for _ in $(seq 1 30); do
  run_pictogram_red || break
  sleep 0.1
done
if run_pictogram_red; then
  echo "the race did not start (Run button still enabled)" >&2
  exit 1
fi
max_kb=0
for _ in $(seq 1 50); do
  kb=$(vm_rss_kb "$APP_PID")
  [[ -n $kb ]] && ((kb > max_kb)) && max_kb=$kb
  sleep 0.2
done
awk -v idle="$idle_kb" -v race="$max_kb" \
  'BEGIN { printf "resident memory of trotix idle / during a race (max over 10 s): %.1f / %.1f MiB\n", idle / 1024, race / 1024 }'
