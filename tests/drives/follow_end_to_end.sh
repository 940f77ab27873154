#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The list follows the car: a generated drive north past a line of stations, with follow = 5 in
# Moltrevane.ini; the repeater screen's first row turns to the station ahead without a press.
#
#   follow_end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"

new_home

# A kilometre north a second from 48° 00' N 11° 00' E, 40 seconds long.
for km in $(seq 0 39); do
  minutes=$(awk -v k="$km" 'BEGIN { printf "%07.4f", k / 1.852 }')
  body="GPRMC,1200$(printf %02d "$km").000,A,48$minutes,N,01100.0000,E,1944.0,0.0,071226,,"
  sum=0; for ((i = 0; i < ${#body}; i++)); do sum=$((sum ^ $(printf %d "'${body:i:1}"))); done
  printf '$%s*%02X\r\n' "$body" "$sum"
done > "$home/track.nmea"
# Stations on the road every 10 km: JN58MA at the start, JN58MC, JN58ME and JN58MG at 30 km.
sqlite3 "$folder/Moltrevane.sqlite" \
  "CREATE TABLE repeater (call TEXT, loc TEXT, asl TEXT, mode TEXT, qth TEXT, aus TEXT, ein TEXT, kanal TEXT, rem1 TEXT, rem2 TEXT);
   INSERT INTO repeater (call, loc, mode, qth, aus) VALUES ('DB0KMA', 'JN58MA', 'FM', 'Start', '145.6000'),
     ('DB0KMC', 'JN58MC', 'FM', 'Zehn', '145.6250'), ('DB0KME', 'JN58ME', 'FM', 'Zwanzig', '145.6500'),
     ('DB0KMG', 'JN58MG', 'FM', 'Dreissig', '145.6750')"
printf '231-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
printf '# the driver\nfollow = 5\nalert = off\n' > "$folder/Moltrevane.ini"

"${with_drive[@]}" "$replay" --folder "$folder" --port COM2 "$home/track.nmea" > /dev/null &
wait_for 30 test -L "$folder/COM2" || fail "nmea-replay made no COM2 link"
start_program
click Moltrevane 121 257       # Repeater; "Search Stn." is never pressed
window Repeater > /dev/null || fail "no repeater screen"
first_is() { [ "$(text_at Repeater 66 12)" = "$1" ]; }
wait_for 60 first_is DB0KME || fail "20 km on, the first row reads '$(text_at Repeater 66 12)'"
wait_for 60 first_is DB0KMG || fail "30 km on, the first row reads '$(text_at Repeater 66 12)'"
shot Repeater "$shots/follow-repeater.png"
close_window Repeater
close_window Moltrevane
await_exit "after the drive"
grep -qx 'follow = 5' "$folder/Moltrevane.ini" || fail "the ini file reads '$(cat "$folder/Moltrevane.ini")'"
echo "follow end to end: the first row followed the car to DB0KME and DB0KMG without a press"
