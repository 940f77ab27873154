#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The radio tuned by a tap, through Debian's real rigctld with its dummy rig, on a car's
# landscape panel: the first row's Tune button sets frequency, shift and tone, read back with
# rigctl; while another program transmits (PTT on from a second client) a tap on the next row
# retunes nothing, and once the PTT is off it does. Then with tune = follow, driving the sample
# track far from both stations, the nearest is tuned by itself and the announcement (through a
# stand-in for espeak-ng that keeps what it was given) ends "radio set".
#
#   radio_end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run, 800 × 480)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"

command -v rigctld > /dev/null || fail "rigctld is missing: apt-get install libhamlib-utils"
new_home
sqlite3 "$folder/Moltrevane.sqlite" \
  "CREATE TABLE repeater (call TEXT, loc TEXT, asl TEXT, mode TEXT, qth TEXT, aus TEXT, ein TEXT, kanal TEXT, rem1 TEXT, rem2 TEXT);
   INSERT INTO repeater VALUES ('DB0AAA', 'JO31OM', '120', 'FM', 'Hier', '439.3750', '431.7750', '', '127.3', 'invented'),
     ('DB0BBB', 'JO31ON', '80', 'FM', 'Nord', '145.6000', '145.0000', '', '', 'invented')"
printf '230-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"  # offline at JO31OM

# rigctld on a loopback port of its own: another drive's may hold the first one tried.
for try in 1 2 3 4 5; do
  port=$((20000 + (RANDOM % 20000)))
  rigctld -m 1 -P RIG -T 127.0.0.1 -t "$port" &
  rigctld_pid=$!
  rig() { rigctl -m 2 -r "127.0.0.1:$port" "$@" 2> /dev/null; }
  wait_for 10 rig f > /dev/null && break
  kill "$rigctld_pid" 2> /dev/null || true
  [ "$try" -lt 5 ] || fail "rigctld did not start"
done
printf 'rig = on\nrig_address = 127.0.0.1:%s\ntune = tap\n' "$port" > "$folder/Moltrevane.ini"

reads() { [ "$(rig "$@" | tr '\n' ' ')" = "$expected" ]; }
start_program
window Moltrevane > /dev/null || fail "no main window"
at Moltrevane 224 257          # Repeater
window Repeater > /dev/null || fail "no repeater screen"
at Repeater 75 257             # Search Stn.
wait_for 30 has_text Repeater 28 2 87 21 || fail "the search filled no first row"
at Repeater 411 14             # the first row's Tune
expected="439375000 - 7600000 1273 "
wait_for 30 reads f r o c || fail "the rig reads '$(rig f r o c | tr '\n' ' ')', not DB0AAA's channel"
shot Repeater "$shots/tuned.png"

[ "$(rig T 1 t)" = 1 ] || fail "the dummy rig took no PTT"
at Repeater 411 49             # the second row's Tune, while the radio transmits
for look in $(seq 1 30); do     # three seconds of transmitting: nothing may change in them
  [ "$(rig f)" = 439375000 ] || fail "retuned while transmitting, at look $look"
  sleep 0.1
done
[ "$(rig T 0 t)" = 0 ] || fail "the dummy rig's PTT stayed on"
expected="145600000 - 600000 "
wait_for 30 reads f r o || fail "after the PTT the rig reads '$(rig f r o | tr '\n' ' ')', not DB0BBB's channel"

close_window Repeater
close_window Moltrevane
await_exit "after tuning the radio"

printf '231-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"  # the receiver on COM2
printf 'rig = on\nrig_address = 127.0.0.1:%s\ntune = follow\nfollow = 1\nalert = speech\n' "$port" > "$folder/Moltrevane.ini"
mkdir -p "$home/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/said"\n' "$home" > "$home/bin/espeak-ng"
chmod +x "$home/bin/espeak-ng"
"$replay" --folder "$folder" --port COM2 "$source/data/sample-track.nmea" > /dev/null &
wait_for 30 test -L "$folder/COM2" || fail "nmea-replay made no COM2 link"
PATH=$home/bin:$PATH start_program
expected="439375000 - 7600000 1273 "  # DB0AAA, a little nearer than DB0BBB from the south
wait_for 60 reads f r o c || fail "following, the rig reads '$(rig f r o c | tr '\n' ' ')', not the nearest's channel"
said_set() { grep -q 'Nearest Delta Bravo Zero Alpha Alpha Alpha, .*\. radio set$' "$home/said" 2> /dev/null; }
wait_for 60 said_set || fail "the announcement was '$(head -1 "$home/said" 2> /dev/null)'"
close_window Moltrevane
await_exit "after following"
kill "$rigctld_pid"
echo "radio end to end: a tap tuned rigctld's rig to the row's frequency, shift and tone; nothing retuned while it transmitted; follow tuned the nearest and said 'radio set'"
