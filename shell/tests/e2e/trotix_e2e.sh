#!/usr/bin/env bash
# Whole-program test of Trotix on a real X server: its own Xvfb, openbox as
# the window manager, the game driven by xdotool and read back from
# screenshots with ImageMagick.
#
#   trotix_e2e.sh PATH/TO/trotix SCREENSHOT_DIR
#
# Needs (Debian): xvfb, openbox, xdotool, x11-utils (xprop, xwininfo),
# imagemagick (import, convert, identify).
# Prints "ok ..." or "FAIL ..." per check and exits non-zero if any failed.
# Every screenshot stays in SCREENSHOT_DIR.

set -u -o pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 PATH/TO/trotix SCREENSHOT_DIR" >&2
  exit 2
fi
TROTIX_BIN=$(readlink -f "$1")
SHOTS=$2
if [[ ! -x $TROTIX_BIN ]]; then
  echo "FAIL the game executable $1 is missing or not executable" >&2
  exit 2
fi
for tool in Xvfb openbox xdotool xprop xwininfo import convert identify md5sum; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL tool '$tool' is not installed (Debian: xvfb openbox xdotool x11-utils imagemagick)" >&2
    exit 2
  fi
done
mkdir -p "$SHOTS"
SHOTS=$(readlink -f "$SHOTS")
rm -f "$SHOTS"/*.png "$SHOTS"/*.log "$SHOTS"/*.ini

WORK=$(mktemp -d /tmp/trotix-e2e.XXXXXX)
APP_DIR=$WORK/app
mkdir -p "$APP_DIR" "$WORK/runtime"
chmod 700 "$WORK/runtime"
cp "$TROTIX_BIN" "$APP_DIR/trotix"

# shellcheck source=/dev/null
source "$(dirname "${BASH_SOURCE[0]}")/virtual_display.sh"
# shellcheck source=/dev/null
source "$(dirname "${BASH_SOURCE[0]}")/game_windows.sh"
GAME_COMMAND=("$APP_DIR/trotix")

trap end_run EXIT

# ---- The checks ----

# 1024 x 768: the scaled listing below is checked on the screen where it once wrapped.
start_xvfb 91 160 "$WORK/xvfb.log" 1024x768 || fatal "could not start Xvfb on any display from :91 to :160"
start_wm || fatal "openbox did not come up on $DISPLAY"
echo "# X server $DISPLAY, work folder $WORK"

# Run 1, random field: the window, F7, closing.
start_game || fatal "no Trotix window with its start backdrop appeared (run 1)"
ok "the main window appeared with its start picture"

title=$(wm_name "$MAIN_WIN")
width=$(geometry_field "$MAIN_WIN" Width)
height=$(geometry_field "$MAIN_WIN" Height)
if [[ $title == Trotix ]]; then ok "caption is \"Trotix\""; else fail "caption is \"$title\", not \"Trotix\""; fi
if [[ $width == 187 && $height == 150 ]]; then
  ok "client area is 187 x 150"
else
  fail "client area is $width x $height, not 187 x 150"
fi
START_SHOT=$(steady_shot "$MAIN_WIN" 01-start)
p_top=$(pixel "$START_SHOT" 13 12)
p_turf=$(pixel "$START_SHOT" 13 100)
if [[ $p_top == '#804000' && $p_turf == '#008000' ]]; then
  ok "race picture shows the start backdrop (brown band, green turf)"
else
  fail "race picture at (10,10) is $p_top and at (10,98) is $p_turf; expected #804000 and #008000"
fi

if open_listing 02-listing-random-1; then
  if [[ $((LISTING_TRANSIENT_FOR)) == $((MAIN_WIN)) ]]; then
    ok "F7 opened the データ box over the main window and Return closed it"
  else
    fail "the データ box is not transient for the main window (WM_TRANSIENT_FOR=$LISTING_TRANSIENT_FOR)"
  fi
fi
RANDOM_LISTING_1=$LISTING_SHOT
close_game || fatal "the game did not end after Alt+F4 (run 1)"
RUN1_STATUS=$GAME_STATUS

# Started with standard error closed and a link named Trotix.ini beside the
# program: the X connection once took descriptor 2, the warning about the
# link went into it, and the window never came.
rm -f "$APP_DIR/Trotix.ini"
ln -s x.ini "$APP_DIR/Trotix.ini"
printf '[Trotix]\r\nTop=15\r\n' >"$APP_DIR/x.ini"
GAME_COMMAND=(bash -c 'exec "$0" 2>&-' "$APP_DIR/trotix")
if start_game; then
  ok "with standard error closed the window appeared"
  close_game || fail "with standard error closed the game did not end after Alt+F4"
else
  fail "with standard error closed no window appeared (run $RUN_NO)"
fi
GAME_COMMAND=("$APP_DIR/trotix")
expected=$(printf '[Trotix]\r\nTop=15\r\n' | od -An -c)
if [[ -L $APP_DIR/Trotix.ini && $(od -An -c <"$APP_DIR/x.ini") == "$expected" ]]; then
  ok "the link and the file it names are as they were"
else
  fail "the link Trotix.ini or x.ini changed"
fi
rm -f "$APP_DIR/Trotix.ini" "$APP_DIR/x.ini"

# A logout's SIGTERM, a closed terminal's SIGHUP, Ctrl+C's SIGINT: each
# closes the window as the close box does and the position is stored. The
# first comes with the F7 box open, which closes first.
# Whether Trotix.ini holds the frame at (X,Y) screen pixels, in twips; and
# what it holds, for a failure's message.
stored_at() { # stored_at X Y
  [[ $(od -An -c <"$APP_DIR/Trotix.ini" 2>/dev/null) == \
    "$(printf '[Trotix]\r\nTop=%d\r\nLeft=%d\r\n' $(($2 * 15)) $(($1 * 15)) | od -An -c)" ]]
}
ini_text() { tr '\r\n' '|~' <"$APP_DIR/Trotix.ini" 2>/dev/null; }
signal_close() { # signal_close SIGNAL X Y [F7]
  rm -f "$APP_DIR/Trotix.ini"
  # A job started in the background has SIGINT ignored, and the game keeps
  # an ignored signal ignored; env gives it back its default.
  GAME_COMMAND=(env --default-signal=INT "$APP_DIR/trotix")
  start_game || { fail "no window appeared for SIG$1 (run $RUN_NO)"; return; }
  GAME_COMMAND=("$APP_DIR/trotix")
  move_frame "$2" "$3" || fail "the frame did not move to ($2,$3) before SIG$1"
  if [[ ${4:-} == F7 ]]; then
    press "$MAIN_WIN" F7
    wait_for 50 has_listing || fail "F7 opened no listing before SIG$1"
  fi
  if ! ended_after kill -"$1" "$GAME_PID"; then
    fail "the game was still running 10 s after SIG$1"
  elif [[ $GAME_STATUS == 0 ]] && stored_at "$2" "$3"; then
    ok "SIG$1${4:+ with the $4 box open} closed the window, exit status 0, and stored the frame at ($2,$3)"
  else
    fail "after SIG$1 the exit status is $GAME_STATUS and Trotix.ini holds: $(ini_text)"
  fi
}
signal_close TERM 120 80 F7

# TROTIX_E2E_SHORT=1 stops here, after the start, F7, closing, a start with
# standard error closed and SIGTERM over the listing: enough for a sanitizer
# build, whose report at exit would show in the exit status.
if [[ ${TROTIX_E2E_SHORT:-0} == 1 ]]; then
  if [[ $RUN1_STATUS == 0 ]]; then
    ok "the game ended with exit status 0 after Alt+F4"
  else
    fail "the game ended with status $RUN1_STATUS after Alt+F4; its output:"
    tail -n 40 "$SHOTS/game-run1.log"
  fi
  echo "# $((SECONDS - T0)) s (short run); screenshots in $SHOTS"
  if ((FAILURES > 0)); then
    echo "$FAILURES check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
fi

signal_close HUP 140 90
signal_close INT 160 100

# Without the Japanese font, one line says which package brings it.
printf '<fontconfig><dir>%s/no-fonts</dir><cachedir>%s/no-fonts</cachedir></fontconfig>\n' "$WORK" "$WORK" >"$WORK/fonts.conf"
mkdir -p "$WORK/no-fonts"
if FONTCONFIG_FILE=$WORK/fonts.conf start_game && close_game &&
  grep -q 'IPAPGothic is missing.*fonts-ipafont-gothic' "$SHOTS/game-run$RUN_NO.log"; then
  ok "without IPAPGothic the game started and named the package fonts-ipafont-gothic"
else
  fail "without IPAPGothic: $(cat "$SHOTS/game-run$RUN_NO.log")"
fi

# Run 2, another random field.
start_game || fatal "no Trotix window appeared (run 2)"
open_listing 03-listing-random-2
RANDOM_LISTING_2=$LISTING_SHOT
close_game || fatal "the game did not end after Alt+F4 (run 2)"

# Runs 3 and 4 with a horse data file of six horses of equal strength.
printf '50\t40\t1\r\n50\t40\t2\r\n50\t40\t3\r\n50\t40\t4\r\n50\t40\t1\r\n50\t40\t2\r\n' >"$APP_DIR/horsedat.txt"
start_game || fatal "no Trotix window appeared (run 3)"
open_listing 04-listing-file-1
FILE_LISTING_1=$LISTING_SHOT
close_game || fatal "the game did not end after Alt+F4 (run 3)"
start_game || fatal "no Trotix window appeared (run 4)"
open_listing 05-listing-file-2
FILE_LISTING_2=$LISTING_SHOT

same_picture() { [[ -f $1 && -f $2 && $(crop_hash "$1" 10000 10000 0 0) == $(crop_hash "$2" 10000 10000 0 0) ]]; }
# The listing box shows speed, stamina, style and odds: a file gives the same
# box every time, a random field a new one each start.
if [[ -n $RANDOM_LISTING_1 && -n $RANDOM_LISTING_2 ]] && ! same_picture "$RANDOM_LISTING_1" "$RANDOM_LISTING_2"; then
  ok "without horsedat.txt two starts list different fields (listing screenshots differ)"
else
  fail "without horsedat.txt two starts gave the same listing screenshot: the same-field test below proves nothing"
fi
if same_picture "$FILE_LISTING_1" "$FILE_LISTING_2" && ! same_picture "$FILE_LISTING_1" "$RANDOM_LISTING_1"; then
  ok "with horsedat.txt two starts list the same field (listing screenshots identical)"
else
  fail "with horsedat.txt the two listing screenshots differ, or match a random one"
fi

# A ticket for that race: F6 opens the tickets' window beside the race
# window, Return in its stake field buys a win ticket on horse 1 for 100.
press "$MAIN_WIN" F6
tickets_window() { xdotool search --onlyvisible --name '^Trotix - Tickets$' 2>/dev/null | head -n 1; }
has_tickets() { [[ -n $(tickets_window) ]]; }
if wait_for 50 has_tickets; then
  TICKETS_WIN=$(tickets_window)
  press "$TICKETS_WIN" Return
  ok "F6 opened the tickets' window and Return bought a ticket"
else
  fail "F6 opened no tickets' window"
fi

# A whole race with the file's field.
BEFORE_RACE=$(steady_shot "$MAIN_WIN" 06-before-race)
red_before=$(run_button_red_pixels "$BEFORE_RACE")
press "$MAIN_WIN" F5
if wait_for 30 run_disabled "$MAIN_WIN"; then
  ok "F5 started a race (Run button disabled, pictogram grey; $red_before red pixels before)"
else
  fail "F5 did not disable the Run button"
fi
shot "$MAIN_WIN" 07-racing >/dev/null
race_start=$SECONDS
finished=no
for ((i = 0; i < 200; i++)); do # a race takes 100-120 s
  if run_enabled "$MAIN_WIN"; then
    finished=yes
    break
  fi
  if ((i % 10 == 0)); then shot "$MAIN_WIN" "07-racing-$(printf %03d $((SECONDS - race_start)))s" >/dev/null; fi
  sleep 1
done
race_seconds=$((SECONDS - race_start))
if [[ $finished == yes ]]; then
  ok "the race ended after about $race_seconds s and the Run button is enabled again"
else
  fatal "the race had not ended after $race_seconds s (Run button still disabled)"
fi
BOARD=$(steady_shot "$MAIN_WIN" 08-result-board)
import -window root "$SHOTS/08-board-and-tickets.png"
if grep -q '^Race1=.*;W1:100@4\.2=[0-9]*;.*;S' "$APP_DIR/Trotix-ledger.ini" 2>/dev/null; then
  ok "the board settled the ticket and the ledger beside the program holds its line"
else
  fail "no settled line for the ticket in Trotix-ledger.ini: $(cat "$APP_DIR/Trotix-ledger.ini" 2>&1)"
fi

# The board: six orange placing lines from picture row 15 on, 15 rows apart,
# and the grey quinella line at row 106, over the finish backdrop.
for r in 1 2 3 4 5 6; do
  n=$(count_colour "$BOARD" 180 14 3 $((2 + 15 * r)) '#FFA000')
  if ((n >= 40)); then
    ok "placing line $r of the result board is printed in orange ($n pixels)"
  else
    fail "placing line $r (picture rows $((15 * r))..$((15 * r + 13))) has $n orange pixels"
  fi
done
n=$(count_colour "$BOARD" 180 13 3 $((2 + 106)) '#CCCCCC')
if ((n >= 40)); then
  ok "the quinella line is printed in light grey ($n pixels)"
else
  fail "the quinella line (picture rows 106..118) has $n light grey pixels"
fi
# The finish backdrop has the dark blue (0,0,128) finish post at the left of
# the picture; the start backdrop has none there. No orange above line 1.
post_board=$(count_colour "$BOARD" 25 60 3 2 '#000080')
post_start=$(count_colour "$START_SHOT" 25 60 3 2 '#000080')
n=$(count_colour "$BOARD" 180 14 3 2 '#FFA000')
if ((post_board >= 50 && post_start == 0 && n == 0)); then
  ok "the board is printed over the finish backdrop ($post_board finish-post pixels, none at the start)"
else
  fail "the picture does not look like the finish backdrop ($post_board finish-post pixels, $post_start at the start, $n orange above line 1)"
fi
# The button as it was before the race, pixel for pixel, apart from the focus
# frame: compare the pictogram area.
if [[ $(crop_hash "$BOARD" 20 16 155 129) == $(crop_hash "$BEFORE_RACE" 20 16 155 129) ]]; then
  ok "the Run pictogram is the same as before the race (enabled)"
else
  fail "the Run pictogram differs from the enabled one before the race"
fi

# Equal strengths give every horse x4.2: the six odds cells (picture x
# 118..179) must hold the same orange text, pixel for pixel, and not be
# blank. (The backdrop behind them differs from line to line: brown band,
# rail, turf, so only the orange pixels are compared.)
hashes=()
blank=0
for r in 1 2 3 4 5 6; do
  y=$((2 + 15 * r))
  hashes+=("$(colour_mask_hash "$BOARD" 62 14 121 "$y" '#FFA000')")
  if (($(count_colour "$BOARD" 62 14 121 "$y" '#FFA000') < 10)); then blank=$((blank + 1)); fi
  convert "$BOARD" -crop "62x14+121+$y" +repage "$SHOTS/09-odds-cell-$r.png"
done
distinct=$(printf '%s\n' "${hashes[@]}" | sort -u | wc -l)
if ((distinct == 1 && blank == 0)); then
  ok "the six odds cells of the board hold pixel-identical orange text (the file's equal field, x4.2 each)"
else
  fail "the six odds cells are not identical ($distinct different, $blank without text): the file's field was not used"
fi

# Mid-race close: move the window, start a race, close it through the
# window manager a few seconds in.
xdotool windowmove "$MAIN_WIN" 200 150
moved() { [[ $(frame_position "$MAIN_WIN") == "200 150" ]]; }
wait_for 30 moved
read -r fx fy < <(frame_position "$MAIN_WIN")
read -r ex ey < <(frame_position_from_extents "$MAIN_WIN")
if [[ "$fx $fy" == "$ex $ey" && "$fx $fy" != "0 0" ]]; then
  ok "window moved; its frame is at ($fx,$fy)"
else
  fail "after the move the frame is at ($fx,$fy) by its parent window and ($ex,$ey) by _NET_FRAME_EXTENTS"
fi
shot root 10-moved >/dev/null
rm -f "$APP_DIR/Trotix.ini"
press "$MAIN_WIN" F5
if wait_for 30 run_disabled "$MAIN_WIN"; then
  ok "a second race is under way"
else
  fail "F5 did not start a second race"
fi
sleep 3
shot "$MAIN_WIN" 11-before-close >/dev/null
if close_game; then
  if [[ $GAME_STATUS == 0 ]]; then
    ok "closing through the window manager in mid-race ended the game (exit status 0)"
  else
    fail "the game ended with status $GAME_STATUS after being closed"
  fi
else
  fail "the game was still running 10 s after Alt+F4"
fi
cp "$APP_DIR/Trotix.ini" "$SHOTS/Trotix.ini" 2>/dev/null
expected=$(printf '[Trotix]\r\nTop=%d\r\nLeft=%d\r\n' $((fy * 15)) $((fx * 15)) | od -An -c)
actual=$(od -An -c <"$APP_DIR/Trotix.ini" 2>/dev/null)
if [[ -f $APP_DIR/Trotix.ini && $actual == "$expected" ]]; then
  ok "Trotix.ini holds the frame's position in twips (Top=$((fy * 15)), Left=$((fx * 15)))"
else
  fail "Trotix.ini is missing or not the expected Top=$((fy * 15)) Left=$((fx * 15)); it holds: $(tr '\r\n' '|~' <"$APP_DIR/Trotix.ini" 2>/dev/null)"
fi

# The next start opens where the window was closed.
start_game || fatal "no Trotix window appeared (run $RUN_NO)"
read -r nx ny < <(frame_position "$MAIN_WIN")
shot root 12-reopened >/dev/null
if [[ "$nx $ny" == "$fx $fy" ]]; then
  ok "the next start opened with its frame at ($nx,$ny)"
else
  fail "the next start opened with its frame at ($nx,$ny), not ($fx,$fy)"
fi
close_game || fail "the game did not end after Alt+F4 (run $RUN_NO)"

# Big screens: Qt's own scaling, three screen pixels to each of the game's.
# The stored twips stay twips of the game's pixels (15 to a pixel), so the
# window opens at three times the stored pixel position.
printf '[Trotix]\r\nTop=450\r\nLeft=900\r\n' >"$APP_DIR/Trotix.ini"
QT_SCALE_FACTOR=3 start_game || fatal "no Trotix window appeared with QT_SCALE_FACTOR=3 (run $RUN_NO)"
read -r sx sy < <(frame_position "$MAIN_WIN")
if [[ "$sx $sy" == "180 90" ]]; then
  ok "scaled 3x, Top=450 Left=900 open the frame at (180,90) screen pixels"
else
  fail "scaled 3x, Top=450 Left=900 opened the frame at ($sx,$sy), not (180,90)"
fi
width=$(geometry_field "$MAIN_WIN" Width)
height=$(geometry_field "$MAIN_WIN" Height)
hints=$(xprop -id "$MAIN_WIN" WM_NORMAL_HINTS)
if [[ $width == 561 && $height == 450 ]] && grep -q 'minimum size: 561 by 450' <<<"$hints" &&
  grep -q 'maximum size: 561 by 450' <<<"$hints"; then
  ok "scaled 3x, the client area is a fixed 561 x 450"
else
  fail "scaled 3x, the client area is $width x $height with hints: $(tr '\n' ' ' <<<"$hints")"
fi
BIG=$(steady_shot "$MAIN_WIN" 13-scaled-3x)
# Crisp: every game pixel of the race picture (540 x 360 from (9,6)) is a
# uniform 3 x 3 block, so taking one pixel of each block and blowing that up
# again gives the picture back exactly; any smoothing would mix neighbours.
convert "$BIG" -crop 540x360+9+6 +repage -sample 180x120 -sample 540x360 "$WORK/blocks.png"
if [[ $(crop_hash "$WORK/blocks.png" 540 360 0 0) == $(crop_hash "$BIG" 540 360 9 6) &&
  $(pixel "$BIG" 39 36) == '#804000' ]]; then
  ok "scaled 3x, the race picture is drawn in sharp 3 x 3 blocks (nearest neighbour)"
else
  fail "scaled 3x, the race picture is not made of uniform 3 x 3 blocks, or lacks the brown band"
fi
# The listing at 3x on 1024 x 768 once wrapped every line after "Sp:xxx": a
# box of 12 lines, 720 px tall. Its six lines stay six: about three times
# the unscaled box, never five or six.
if open_listing 14-listing-scaled-3x; then
  small_h=$(identify -format %h "$RANDOM_LISTING_1") big_h=$(identify -format %h "$LISTING_SHOT")
  if ((big_h * 10 <= small_h * 36)); then
    ok "scaled 3x, the listing keeps its six lines (${big_h} px tall, ${small_h} px unscaled)"
  else
    fail "scaled 3x, the listing is ${big_h} px tall against ${small_h} px unscaled: its lines wrap"
  fi
fi
xdotool windowmove "$MAIN_WIN" 300 150
moved_big() { [[ $(frame_position "$MAIN_WIN") == "300 150" ]]; }
wait_for 30 moved_big || fail "scaled 3x, the frame did not move to (300,150)"
rm -f "$APP_DIR/Trotix.ini"
close_game || fatal "the game did not end after Alt+F4 (run $RUN_NO)"
expected=$(printf '[Trotix]\r\nTop=750\r\nLeft=1500\r\n' | od -An -c)
if [[ $(od -An -c <"$APP_DIR/Trotix.ini" 2>/dev/null) == "$expected" ]]; then
  ok "scaled 3x, a frame at (300,150) screen pixels is stored as Top=750 Left=1500 twips"
else
  fail "scaled 3x, Trotix.ini holds: $(tr '\r\n' '|~' <"$APP_DIR/Trotix.ini" 2>/dev/null); expected Top=750 Left=1500"
fi

# Last, since it takes the X server with it: the display goes away. Qt ends
# the program with exit(1) and no close of the window; the position the
# window last had is stored on the way out.
rm -f "$APP_DIR/Trotix.ini"
start_game || fatal "no Trotix window appeared (run $RUN_NO)"
move_frame 220 130 || fail "the frame did not move to (220,130)"
if ! ended_after stop_processes "$WM_PID" "$XVFB_PID"; then
  fail "the game was still running 10 s after its X server went away"
elif stored_at 220 130; then
  ok "when the X server went away the game ended (status $GAME_STATUS) and stored the frame at (220,130)"
else
  fail "when the X server went away (status $GAME_STATUS) Trotix.ini held: $(ini_text)"
fi
WM_PID="" XVFB_PID=""

echo "# $((SECONDS - T0)) s; screenshots in $SHOTS"
if ((FAILURES > 0)); then
  echo "$FAILURES check(s) failed"
  exit 1
fi
echo "all checks passed"
