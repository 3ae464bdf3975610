# shellcheck shell=bash
# Sourced by the scripts that drive the game on a virtual X server (after
# virtual_display.sh): the window manager, starting and closing the game,
# finding its windows and reading their pixels back from screenshots.
#
# The sourcing script provides WORK (a scratch folder), SHOTS (where the
# screenshots go) and GAME_COMMAND (an array: the command that starts the
# game), and calls `trap end_run EXIT`. These helpers keep GAME_PID,
# MAIN_WIN and RUN_NO, the X server's and window manager's XVFB_PID and
# WM_PID, and FAILURES.
#
# Needs (Debian): openbox, xdotool, x11-utils (xprop, xwininfo),
# imagemagick (import, convert).

# ---- Reporting ----

XVFB_PID=""
WM_PID=""
GAME_PID=""
FAILURES=0
T0=$SECONDS

# Ends whatever is still running and removes the scratch folder.
end_run() {
  stop_processes "$GAME_PID" "$WM_PID" "$XVFB_PID"
  rm -rf "$WORK"
}

ok() { echo "ok $*"; }
fail() {
  echo "FAIL $*"
  FAILURES=$((FAILURES + 1))
}
# Ends the test where later checks could only fail for the same reason.
fatal() {
  fail "$*"
  echo "($((SECONDS - T0)) s) stopping early; screenshots in $SHOTS"
  exit 1
}

# ---- The window manager ----

start_wm() {
  # Our own openbox configuration, so that Alt+F4 is surely "Close" (the
  # window manager sends WM_DELETE_WINDOW to the focused window).
  cat >"$WORK/openbox.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <desktops><number>1</number></desktops>
  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
</openbox_config>
EOF
  openbox --config-file "$WORK/openbox.xml" >"$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  local i
  # Up to 20 s: a loaded machine has been seen to need more than 5.
  for i in $(seq 1 200); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then return 0; fi
    kill -0 "$WM_PID" 2>/dev/null || break
    sleep 0.1
  done
  cat "$WORK/openbox.log" >&2
  return 1
}

# ---- The game ----

RUN_NO=0
# Starts the game with GAME_COMMAND; sets GAME_PID and MAIN_WIN (its main
# window). The command must become the game's own process (exec), since
# the window is found by its process id.
start_game() {
  RUN_NO=$((RUN_NO + 1))
  QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK/runtime" "${GAME_COMMAND[@]}" \
    >"$SHOTS/game-run$RUN_NO.log" 2>&1 &
  GAME_PID=$!
  MAIN_WIN=""
  local i w
  for i in $(seq 1 100); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then return 1; fi
    for w in $(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null); do
      if [[ $(wm_name "$w") == Trotix ]]; then
        MAIN_WIN=$w
        # The first frame: the start backdrop's brown band at the top of the
        # race picture.
        if wait_for 50 picture_pixel_is "$MAIN_WIN" 10 10 '#804000'; then return 0; fi
        return 1
      fi
    done
    sleep 0.1
  done
  return 1
}

# Runs COMMAND and waits up to 10 s for the game to end; sets GAME_STATUS.
# Returns non-zero if it did not end.
ended_after() { # ended_after COMMAND...
  "$@"
  local i
  for i in $(seq 1 100); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      wait "$GAME_PID"
      GAME_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Closes the game through the window manager (Alt+F4) and waits for it to end
# on its own. Returns non-zero if it did not end.
close_game() {
  xdotool windowactivate --sync "$MAIN_WIN" >/dev/null 2>&1
  ended_after xdotool key alt+F4
}

# Moves the main window's frame to (X,Y) and waits until it is there.
move_frame() { # move_frame X Y
  xdotool windowmove "$MAIN_WIN" "$1" "$2"
  frame_at() { [[ $(frame_position "$MAIN_WIN") == "$1 $2" ]]; }
  wait_for 30 frame_at "$1" "$2"
}

press() { # press WINDOW KEY
  xdotool windowactivate --sync "$1" >/dev/null 2>&1
  xdotool key "$2"
}

# ---- Looking at windows ----

wm_name() { # the window's _NET_WM_NAME, decoded
  # xprop writes a UTF-8 name as octal escapes unless its locale is UTF-8,
  # and a fresh machine may have no locale set at all.
  LC_ALL=C.UTF-8 xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

geometry_field() { # geometry_field WINDOW "Absolute upper-left X"
  xwininfo -id "$1" 2>/dev/null | sed -n "s/^ *$2: *\(-\{0,1\}[0-9]*\).*/\1/p"
}

# The frame's top-left: the window the manager put the client into.
frame_position() {
  local parent
  parent=$(xwininfo -children -id "$1" | awk '/Parent window id/ {print $4}')
  echo "$(geometry_field "$parent" 'Absolute upper-left X') $(geometry_field "$parent" 'Absolute upper-left Y')"
}

# The same from the client's position less _NET_FRAME_EXTENTS (left, right, top, bottom).
frame_position_from_extents() {
  local ext left top
  ext=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  left=${ext%%,*}
  top=$(echo "$ext" | cut -d, -f3)
  echo "$(($(geometry_field "$1" 'Absolute upper-left X') - left)) $(($(geometry_field "$1" 'Absolute upper-left Y') - top))"
}

shot() { # shot WINDOW NAME -> path of a screenshot of the window's client area
  local path="$SHOTS/$2.png"
  import -window "$1" "$path" 2>/dev/null
  echo "$path"
}

# A screenshot taken once the window has stopped changing.
steady_shot() { # steady_shot WINDOW NAME
  local path="$SHOTS/$2.png" last="" now i
  for i in $(seq 1 20); do
    import -window "$1" "$WORK/steady.png" 2>/dev/null
    now=$(md5sum <"$WORK/steady.png")
    if [[ $now == "$last" ]]; then
      mv "$WORK/steady.png" "$path"
      echo "$path"
      return 0
    fi
    last=$now
    sleep 0.2
  done
  mv "$WORK/steady.png" "$path"
  echo "$path"
}

pixel() { # pixel IMAGE X Y -> #RRGGBB
  convert "$1" -format '#%[hex:p{'"$2,$3"'}]' info:- 2>/dev/null | cut -c1-7
}

# Race picture coordinates are client coordinates less (3,2).
picture_pixel_is() { # WINDOW X Y COLOUR
  local img="$WORK/probe.png"
  import -window "$1" "$img" 2>/dev/null || return 1
  [[ $(pixel "$img" $(($2 + 3)) $(($3 + 2))) == "$4" ]]
}

# How many pixels of an exact colour a client-area rectangle holds.
count_colour() { # count_colour IMAGE W H X Y '#RRGGBB'
  convert "$1" -crop "$2x$3+$4+$5" +repage txt:- 2>/dev/null | grep -ci " $6 "
}

# Which pixels of a rectangle are of one exact colour, hashed: text printed
# over different parts of the backdrop gives the same hash.
colour_mask_hash() { # colour_mask_hash IMAGE W H X Y '#RRGGBB'
  convert "$1" -crop "$2x$3+$4+$5" +repage -fill black +opaque "$6" -fill white -opaque "$6" rgb:- 2>/dev/null |
    md5sum | cut -d' ' -f1
}

# The raw pixels of a rectangle, hashed.
crop_hash() { # crop_hash IMAGE W H X Y
  convert "$1" -crop "$2x$3+$4+$5" +repage rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# The Run button's pictogram is red (#FF0000) while it is enabled, grey when not.
run_button_red_pixels() { # IMAGE
  count_colour "$1" 36 22 147 126 '#FF0000'
}
run_enabled() { # WINDOW
  local img="$WORK/button.png"
  import -window "$1" "$img" 2>/dev/null || return 1
  [[ $(run_button_red_pixels "$img") -ge 20 ]]
}
run_disabled() { ! run_enabled "$1"; }

wait_for() { # wait_for TENTHS_OF_SECONDS COMMAND... ; polls every 0.1 s
  local limit=$1 i
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Opens the field listing with F7, screenshots it, closes it with Return.
# Sets LISTING_SHOT; returns non-zero (with a FAIL already printed) if any
# step did not happen.
LISTING_SHOT=""
listing_window() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null); do
    if [[ $(wm_name "$w") == データ ]]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}
has_listing() { listing_window >/dev/null; }
no_listing() { ! listing_window >/dev/null; }
open_listing() { # open_listing SHOT_NAME
  press "$MAIN_WIN" F7
  if ! wait_for 50 has_listing; then
    fail "F7 opened no window titled データ (run $RUN_NO)"
    shot root "$1-no-listing" >/dev/null
    return 1
  fi
  local dialog
  dialog=$(listing_window)
  LISTING_SHOT=$(steady_shot "$dialog" "$1")
  LISTING_TRANSIENT_FOR=$(xprop -id "$dialog" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*# //p')
  press "$dialog" Return
  if ! wait_for 50 no_listing; then
    fail "Return did not close the データ window (run $RUN_NO)"
    shot root "$1-not-closed" >/dev/null
    return 1
  fi
  return 0
}
