#!/usr/bin/env bash
# The Debian package, end to end, without installing it on this machine:
# cpack builds it, dpkg-deb unpacks it into a scratch root, the validators
# and lintian look at it, and the unpacked game runs on its own Xvfb as an
# ordinary user whose configuration folder lies in the scratch folder.
#
#   package_test.sh BUILD_DIR SCREENSHOT_DIR
#
# Run as root, it makes the user trotix-test if there is none; run by
# anyone else, it runs the game as that user with the unpacked program
# folder made read-only, which is what matters: an installed copy cannot
# write beside itself.
#
# Needs (Debian): dpkg-dev, desktop-file-utils, appstream, lintian, and
# what the whole-program test needs (xvfb, openbox, xdotool, x11-utils,
# imagemagick).
# Prints "ok ..." or "FAIL ..." per check and exits non-zero if any failed.

set -u -o pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: $0 BUILD_DIR SCREENSHOT_DIR" >&2
  exit 2
fi
BUILD=$(readlink -f "$1")
SHOTS=$2
HERE=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
SOURCE=$(readlink -f "$HERE/../..")
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian Xvfb openbox xdotool xprop \
  xwininfo import convert compare setpriv; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL tool '$tool' is not installed (bash scripts/setup.sh test)" >&2
    exit 2
  fi
done
mkdir -p "$SHOTS"
SHOTS=$(readlink -f "$SHOTS")
rm -f "$SHOTS"/package-*

WORK=$(mktemp -d /tmp/trotix-package.XXXXXX)
chmod 755 "$WORK" # the test user walks through it to the unpacked game

# shellcheck source=/dev/null
source "$SOURCE/shell/tests/e2e/virtual_display.sh"
# shellcheck source=/dev/null
source "$SOURCE/shell/tests/e2e/game_windows.sh"

trap end_run EXIT

# ---- The package ----

rm -f "$BUILD"/trotix_*.deb
(cd "$BUILD" && cpack -G DEB) >"$WORK/cpack.log" 2>&1 || {
  cat "$WORK/cpack.log"
  fatal "cpack -G DEB failed"
}
DEB=$(find "$BUILD" -maxdepth 1 -name 'trotix_*.deb' | head -n 1)
[[ -f $DEB ]] || fatal "cpack made no trotix_*.deb in $BUILD"
ok "cpack made $(basename "$DEB") ($(($(stat -c %s "$DEB") / 1024)) KiB)"

field() { dpkg-deb -f "$DEB" "$1"; }
depends=$(field Depends)
if [[ $depends == *libqt6widgets6* && $depends == *libc6* && $depends == *fonts-ipafont-gothic* && $(field Section) == games &&
  -n $(field Maintainer) && $(field Description) == *$'\n'* ]]; then
  ok "control: section games, a maintainer, a long description, Depends on the font and from shlibdeps: $depends"
else
  fail "control fields: Section=$(field Section) Maintainer=$(field Maintainer) Depends=$depends"
fi

lintian --no-tag-display-limit "$DEB" >"$WORK/lintian.log" 2>&1
errors=$(grep -c '^E:' "$WORK/lintian.log")
if ((errors == 0)); then
  ok "lintian: no errors; $(grep -c '^W:' "$WORK/lintian.log") warning(s)"
else
  fail "lintian: $errors error(s)"
fi
grep -E '^[EW]:' "$WORK/lintian.log" | sed 's/^/# /'

ROOT=$WORK/root
dpkg-deb -x "$DEB" "$ROOT" || fatal "dpkg-deb -x failed"
GAME=$ROOT/usr/games/trotix
APP_ID=io.github.trotix.Trotix
[[ -x $GAME ]] || fatal "the package holds no usr/games/trotix"

# __FILE__ once left the builder's folders in the binary, three times.
builder=$(strings "$GAME" | grep -cF -e "$SOURCE" -e "$BUILD")
if ((builder == 0)); then
  ok "the installed game names neither the source nor the build folder"
else
  fail "the installed game names the builder's folders $builder time(s): $(strings "$GAME" | grep -F -e "$SOURCE" | head -n 3)"
fi

if desktop-file-validate "$ROOT/usr/share/applications/$APP_ID.desktop" >"$WORK/desktop.log" 2>&1 &&
  ! grep -q . "$WORK/desktop.log" && grep -qx 'Categories=Game;.*' "$ROOT/usr/share/applications/$APP_ID.desktop" &&
  grep -q '^Name\[ja\]=' "$ROOT/usr/share/applications/$APP_ID.desktop"; then
  ok "desktop-file-validate passes on $APP_ID.desktop (category Game, a Name[ja] line)"
else
  fail "desktop-file-validate on $APP_ID.desktop: $(cat "$WORK/desktop.log")"
fi
if appstreamcli validate --no-net "$ROOT/usr/share/metainfo/$APP_ID.metainfo.xml" >"$WORK/appstream.log" 2>&1; then
  ok "appstreamcli validate --no-net passes on $APP_ID.metainfo.xml"
else
  fail "appstreamcli validate --no-net: $(cat "$WORK/appstream.log")"
fi
if [[ -f $ROOT/usr/share/doc/trotix/README.md ]]; then
  ok "the README is in usr/share/doc/trotix"
else
  fail "no usr/share/doc/trotix/README.md"
fi

# Every icon is the 32 x 32 window icon scaled by nearest neighbour (pixel
# centres), compared over two backgrounds so transparency counts too.
bad_icons=""
for size in 16 32 48 64 128 256; do
  icon=$ROOT/usr/share/icons/hicolor/${size}x$size/apps/$APP_ID.png
  for bg in black magenta; do
    convert "$SOURCE/shell/images/trotix.xpm" -filter point -resize "${size}x$size!" -background $bg -flatten \
      "$WORK/want.png" 2>/dev/null
    convert "$icon" -background $bg -flatten "$WORK/have.png" 2>/dev/null
    if [[ $(identify -format %wx%h "$icon" 2>/dev/null) != "${size}x$size" ]] ||
      [[ $(compare -metric AE "$WORK/have.png" "$WORK/want.png" null: 2>&1) != 0 ]]; then
      bad_icons+=" $size"
      break
    fi
  done
done
if [[ -z $bad_icons ]]; then
  ok "hicolor icons 16..256 are the window icon scaled by nearest neighbour"
else
  fail "icons missing or not nearest-neighbour scaled at size(s):$bad_icons"
fi

# ---- The unpacked game, run by an ordinary user ----

CONFIG=$WORK/config # the user's XDG_CONFIG_HOME
USER_DIR=$CONFIG/trotix
if [[ $(id -u) -eq 0 ]]; then
  PLAYER=trotix-test
  if ! id "$PLAYER" >/dev/null 2>&1; then
    useradd --no-create-home --shell /usr/sbin/nologin "$PLAYER" || fatal "could not make the user $PLAYER"
  fi
else
  PLAYER=$(id -un)
  chmod a-w "$ROOT/usr/games" # as a package manager would leave it
fi
mkdir -p "$CONFIG" "$WORK/home" "$WORK/player-runtime"
chown "$PLAYER:" "$CONFIG" "$WORK/home" "$WORK/player-runtime"
chmod 700 "$WORK/player-runtime"
GAME_COMMAND=(setpriv --reuid="$(id -u "$PLAYER")" --regid="$(id -g "$PLAYER")" --clear-groups
  env HOME="$WORK/home" USER="$PLAYER" XDG_CONFIG_HOME="$CONFIG" XDG_RUNTIME_DIR="$WORK/player-runtime" "$GAME")
[[ $(id -u) -ne 0 ]] && GAME_COMMAND=("${GAME_COMMAND[@]:4}") # already the player: no change of user

start_xvfb 201 260 "$WORK/xvfb.log" || fatal "could not start Xvfb on any display from :201 to :260"
start_wm || fatal "openbox did not come up on $DISPLAY"
echo "# X server $DISPLAY, work folder $WORK, player $PLAYER"

start_game || fatal "the unpacked game showed no window as $PLAYER (log: $(cat "$SHOTS/game-run1.log"))"
ok "the unpacked game's window appeared, run by $PLAYER"
steady_shot "$MAIN_WIN" package-01-start >/dev/null
open_listing package-02-listing-random
RANDOM_LISTING=$LISTING_SHOT
close_game || fatal "the game did not end after Alt+F4 (run 1)"

printf '50\t40\t1\r\n50\t40\t2\r\n50\t40\t3\r\n50\t40\t4\r\n50\t40\t1\r\n50\t40\t2\r\n' >"$USER_DIR/horsedat.txt"
start_game || fatal "no window (run 2)"
open_listing package-03-listing-file-1
FILE_LISTING_1=$LISTING_SHOT
xdotool windowmove "$MAIN_WIN" 240 120
moved() { [[ $(frame_position "$MAIN_WIN") == "240 120" ]]; }
wait_for 30 moved || fail "the frame did not move to (240,120)"
close_game || fatal "the game did not end after Alt+F4 (run 2)"

expected=$(printf '[Trotix]\r\nTop=1800\r\nLeft=3600\r\n' | od -An -c)
if [[ $(od -An -c <"$USER_DIR/Trotix.ini" 2>/dev/null) == "$expected" && $(stat -c %U "$USER_DIR/Trotix.ini") == "$PLAYER" ]]; then
  ok "closing wrote the player's own Trotix.ini in XDG_CONFIG_HOME/trotix (Top=1800 Left=3600)"
else
  fail "XDG_CONFIG_HOME/trotix/Trotix.ini is missing, not the player's, or holds: $(tr '\r\n' '|~' <"$USER_DIR/Trotix.ini" 2>/dev/null)"
fi
if [[ ! -e $ROOT/usr/games/Trotix.ini ]]; then
  ok "nothing was written beside the program"
else
  fail "a Trotix.ini appeared in usr/games"
fi
cp "$USER_DIR/Trotix.ini" "$SHOTS/package-Trotix.ini" 2>/dev/null

start_game || fatal "no window (run 3)"
read -r nx ny < <(frame_position "$MAIN_WIN")
if [[ "$nx $ny" == "240 120" ]]; then
  ok "the next start opened with its frame at (240,120), from the user's Trotix.ini"
else
  fail "the next start opened with its frame at ($nx,$ny), not (240,120)"
fi
open_listing package-04-listing-file-2
FILE_LISTING_2=$LISTING_SHOT
close_game || fail "the game did not end after Alt+F4 (run 3)"

same_picture() { [[ -f $1 && -f $2 && $(crop_hash "$1" 10000 10000 0 0) == $(crop_hash "$2" 10000 10000 0 0) ]]; }
if same_picture "$FILE_LISTING_1" "$FILE_LISTING_2" && ! same_picture "$FILE_LISTING_1" "$RANDOM_LISTING"; then
  ok "horsedat.txt in the user's folder was used (the same field twice, unlike the random one)"
else
  fail "with horsedat.txt in the user's folder the two listings differ, or match the random one"
fi

echo "# $((SECONDS - T0)) s"
if ((FAILURES > 0)); then
  echo "$FAILURES check(s) failed"
  exit 1
fi
echo "all checks passed"
