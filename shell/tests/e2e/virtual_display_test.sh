#!/usr/bin/env bash
# start_xvfb takes a display only when its lock file names the server it
# started: lock_holds_pid against the lock files an X server writes.
set -uo pipefail
# shellcheck source=/dev/null
source "$(dirname "${BASH_SOURCE[0]}")/virtual_display.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0
check() { # WHAT CONTENT PID EXPECTED(0 ours, 1 not)
  local got=0
  if [[ $2 == none ]]; then rm -f "$dir/lock"; else printf '%b' "$2" >"$dir/lock"; fi
  lock_holds_pid "$dir/lock" "$3" || got=1
  if ((got == $4)); then echo "ok $1"; else echo "FAIL $1"; failed=1; fi
}
check "our server's id, as Xvfb pads it" '      4242\n' 4242 0
check "another server's id" '      4243\n' 4242 1
check "an id that only ends like ours" '     14242\n' 4242 1
check "no lock file" none 4242 1
check "an empty lock file" '' 4242 1
check "no server id asked for" '      4242\n' '' 1
exit $failed
