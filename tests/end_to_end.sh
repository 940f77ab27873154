#!/usr/bin/env bash
# The real program under Xvfb with a replayed receiver: drives every screen with xdotool,
# keeps a screenshot of each, and checks what the program leaves behind when it ends.
#
#   end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR
# Run it inside xvfb-run (DISPLAY set).
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"

home=$(mktemp -d)
folder=$home/Programme/Moltrevane
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$home"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$folder"
sqlite3 "$folder/Moltrevane.sqlite" < "$source/data/demo-directory.sql"
# COM2 at 4800 baud, port in use, offline locator JO31OM, target JN58SD, every filter set.
printf '231-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"

"$replay" --folder "$folder" --port COM2 "$source/data/sample-track.nmea" > /dev/null &
replay_pid=$!; pids+=("$replay_pid")
for _ in $(seq 50); do [ -L "$folder/COM2" ] && break; sleep 0.1; done
[ -L "$folder/COM2" ] || fail "nmea-replay made no COM2 link"

window() {  # title → window id, waiting for it to show
  timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -1
}
click() {  # title x y (pixels inside the window)
  local id; id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
close_window() {  # Escape ends a screen as its close button does
  local id; id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + 120)) $((Y + 120)) key Escape
  for _ in $(seq 50); do xdotool search --onlyvisible --name "^$1\$" > /dev/null || return 0; sleep 0.1; done
  fail "$1 did not close"
}
shot() {  # title file
  local id; id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$shots/$2.png"
}

await_exit() {  # when
  timeout 10 tail --pid="$program_pid" -f /dev/null || fail "the program did not end $1"
  local status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program exited with $status $1"
  ! pgrep -f "^$program\$" > /dev/null || fail "a program is still running $1"
}

HOME=$home "$program" &
program_pid=$!; pids+=("$program_pid")
window Moltrevane > /dev/null || fail "no main window"
sleep 2.5  # a few cycles with fixes
shot Moltrevane main

click Moltrevane 121 257       # Repeater
window Repeater > /dev/null || fail "no repeater screen"
click Repeater 40 257          # Search Stn.
sleep 1.5
shot Repeater repeater
click Repeater 228 14          # I of the first row
window "Info Station" > /dev/null || fail "no station info screen"
shot "Info Station" station-info
close_window "Info Station"
close_window Repeater

click Moltrevane 40 257        # Settings
window Settings > /dev/null || fail "no settings screen"
sleep 1.5                      # the NMEA view fills
shot Settings settings
close_window Settings

click Moltrevane 201 257       # Info
window Info > /dev/null || fail "no about screen"
shot Info about
close_window Info

close_window Moltrevane
await_exit "after its window closed"

record=$(cat "$folder/Moltrevane.cfg")
[ "$(stat -c %s "$folder/Moltrevane.cfg")" -eq 31 ] || fail "settings file is not 31 bytes"
[ "$record" = '231-JO31OM-JN58SD-11111-1111101' ] || fail "settings file reads '$record'"
[ -z "$(ls -A "$folder" | grep -v -x -e Moltrevane.sqlite -e Moltrevane.cfg -e COM2)" ] ||
  fail "left behind: $(ls -A "$folder")"

# A signal ends the program the same way: the typed target is saved.
printf '230-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
HOME=$home "$program" &
program_pid=$!; pids+=("$program_pid")
click Moltrevane 55 124        # into the target entry
xdotool key ctrl+a BackSpace type jo62qm
sleep 1.5
kill -TERM "$program_pid"
await_exit "after SIGTERM"
record=$(cat "$folder/Moltrevane.cfg")
[ "$record" = '230-JO31OM-JO62QM-11111-1111101' ] || fail "after SIGTERM the settings file reads '$record'"

kill "$replay_pid"; wait "$replay_pid" || true
[ ! -e "$folder/COM2" ] || fail "nmea-replay left its link"
echo "end to end: all screens driven, settings saved, nothing left running; screenshots in $shots"
