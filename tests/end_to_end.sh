#!/usr/bin/env bash
# The real program under Xvfb with a replayed receiver: drives every screen with xdotool,
# keeps a screenshot of each, and checks what the program leaves behind when it ends.
#
#   end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR
# Run it inside xvfb-run (DISPLAY set). PROGRAM_WRAPPER, when set, is put before the program.
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"

# shellcheck source=../tools/program-session.sh
. "$source/tools/program-session.sh"
start_session "$source" "$replay"

start_program
window Moltrevane > /dev/null || fail "no main window"
sleep 2.5  # a few cycles with fixes
shot Moltrevane "$shots/main.png"

click Moltrevane 121 257       # Repeater
window Repeater > /dev/null || fail "no repeater screen"
click Repeater 40 257          # Search Stn.
sleep 1.5
shot Repeater "$shots/repeater.png"
click Repeater 228 14          # I of the first row
window "Info Station" > /dev/null || fail "no station info screen"
shot "Info Station" "$shots/station-info.png"
close_window "Info Station"
close_window Repeater

click Moltrevane 40 257        # Settings
window Settings > /dev/null || fail "no settings screen"
sleep 1.5                      # the NMEA view fills
shot Settings "$shots/settings.png"
close_window Settings

click Moltrevane 201 257       # Info
window Info > /dev/null || fail "no about screen"
shot Info "$shots/about.png"
close_window Info

close_window Moltrevane
await_exit "after its window closed"

record=$(cat "$folder/Moltrevane.cfg")
[ "$(stat -c %s "$folder/Moltrevane.cfg")" -eq 31 ] || fail "settings file is not 31 bytes"
[ "$record" = "$session_settings" ] || fail "settings file reads '$record'"
[ -z "$(ls -A "$folder" | grep -v -x -e Moltrevane.sqlite -e Moltrevane.cfg -e COM2)" ] ||
  fail "left behind: $(ls -A "$folder")"

# A signal ends the program the same way: the typed target is saved.
printf '230-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
start_program
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
