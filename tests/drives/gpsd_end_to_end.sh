#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program reading the replayed receiver through Debian's gpsd: gpsd on a free port
# reads the replay's pseudo-terminal, COM2 is linked to gpsd, and the main screen shows the fix.
# No system gpsd and no port 2947 is touched.
#
#   gpsd_end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"
replay_port=COM5 start_session "$source" "$replay"

listening() { (exec 3<> "/dev/tcp/127.0.0.1/$1") 2> /dev/null; }
for port in $(shuf -i 20000-60000 -n 20); do listening "$port" || break; done
listening "$port" && fail "no free port found"
device=$(readlink -f "$folder/COM5")
# -b: read only, never reconfigure the replay's terminal; -F: a control socket of its own.
"${with_drive[@]}" "$(command -v gpsd || echo /usr/sbin/gpsd)" -N -n -b -S "$port" -F "$home/gpsd.sock" -P "$home/gpsd.pid" "$device" 2> "$home/gpsd.log" &
wait_for 30 listening "$port" || fail "gpsd did not start: $(cat "$home/gpsd.log")"
ln -s "gpsd:127.0.0.1:$port" "$folder/COM2"

start_program
window Moltrevane > /dev/null || fail "no main window"
# The track's first fixes lie at 48° 51' N 11° 48' E.
latitude="" longitude=""
at_track() {
  latitude=$(text_at Moltrevane 45 63) longitude=$(text_at Moltrevane 170 63)
  [[ $latitude == 485[0-9].* && $longitude == 0114[0-9].* ]]
}
wait_for 60 at_track || true  # judged below, with what it shows
shot Moltrevane "$shots/main-through-gpsd.png"
[[ $latitude == 485[0-9].* && $longitude == 0114[0-9].* ]] ||
  fail "through gpsd the main screen shows the position '$latitude' '$longitude', not the track's"
close_window Moltrevane
await_exit "after its window closed"
echo "gpsd end to end: the fix came through gpsd on port $port ($latitude N, $longitude E)"
