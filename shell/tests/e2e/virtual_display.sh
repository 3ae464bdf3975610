# Sourced by the scripts that run the game on a virtual X server.
#
#   start_xvfb FIRST LAST LOG [SIZE]
#
# Starts Xvfb (SIZE, by default 800x600, 24 bits, no TCP, no reset) on the first free
# display number from FIRST to LAST, waits until it answers, then exports
# DISPLAY and sets XVFB_PID. Returns 1 when no display could be had. Another
# run may take a number between the check and the start; then the next one
# is tried. A number with a lock file of any kind is passed over: an Xvfb
# ended while it started can leave /tmp/.tXN-lock behind, and the next one
# on that number would wait on it for good. A display that answers is ours
# only when its lock file holds our server's process id: another program's
# Xvfb started on the same number meanwhile once took the tests' windows.
start_xvfb() {
  local first=$1 last=$2 log=$3 size=${4:-800x600} n i
  for n in $(seq "$first" "$last"); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock || -e /tmp/.tX$n-lock ]] && continue
    # -noreset: by default the server resets when its last client leaves,
    # and a client that connects during the reset (the window manager, just
    # after the check below) is turned away.
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >"$log" 2>&1 &
    XVFB_PID=$!
    for i in $(seq 1 50); do
      kill -0 "$XVFB_PID" 2>/dev/null || break # lost the race for :n
      if [[ -S /tmp/.X11-unix/X$n ]] && lock_holds_pid "/tmp/.X$n-lock" "$XVFB_PID" &&
        DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
  done
  return 1
}

# Whether the X server lock file LOCK names process PID: the server writes
# its id there, padded with spaces to ten characters, and a newline.
lock_holds_pid() {
  local held
  held=$({ tr -d ' \n' <"$1"; } 2>/dev/null) && [[ $held =~ ^[0-9]+$ && $held == "$2" ]]
}

# Ends the given processes (empty arguments are passed over) and waits for them.
stop_processes() {
  local pid
  for pid in "$@"; do
    [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || continue
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
}
