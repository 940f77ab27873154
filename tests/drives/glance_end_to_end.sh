#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the driver reads at a glance and hears, on a car's landscape panel: a generated drive
# east at 100 km/h with follow at 1 km and speech, through a stand-in for espeak-ng that keeps
# what it was given. The first announcement names the station in front phonetically, with its
# tone, "ahead"; the wide main screen draws the stations around the car, the one in front above
# it; the first row shows the station's tone. By day and by night, with screenshots of both.
#
#   glance_end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run, 800 × 480)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"

new_home
mkdir -p "$home/bin"

# Three minutes east from 52° 12' N 20° 54' E at 54 knots (100 km/h): 1.466' of longitude a minute.
for second in $(seq 0 179); do
  minutes=$(awk -v s="$second" 'BEGIN { printf "%08.5f", 54 + s * 100 / 3.6 / (1852 * cos(52.2 * 3.14159265 / 180)) }')
  body="GNRMC,12$(printf %02d $((second / 60)))$(printf %02d $((second % 60))).00,A,5212.0000,N,020$minutes,E,54.0,90.0,071226,,,A"
  sum=0; for ((i = 0; i < ${#body}; i++)); do sum=$((sum ^ $(printf %d "'${body:i:1}"))); done
  printf '$%s*%02X\r\n' "$body" "$sum"
done > "$home/track.nmea"
# SR5KAB 4 km in front, 1.4 km right of the road; the others farther, ahead and behind. Invented.
sqlite3 "$folder/Moltrevane.sqlite" \
  "CREATE TABLE repeater (call TEXT, loc TEXT, asl TEXT, mode TEXT, qth TEXT, aus TEXT, ein TEXT, kanal TEXT, rem1 TEXT, rem2 TEXT);
   INSERT INTO repeater VALUES ('SR5KAB', 'KO02LE', '120', 'FM', 'Wschod', '439.3750', '431.7750', '', '127.3', 'invented'),
     ('SP5ZZA', 'KO02ME', '80', 'DMR', 'Dalej', '438.2000', '430.6000', '', '', 'invented'),
     ('SR5KAC', 'KO02IE', '100', 'FM', 'Zachod', '145.6000', '145.0000', '', '88.5', 'invented'),
     ('SP5ZZB', 'KO02LC', '95', 'C4FM', 'Poludnie', '439.0000', '431.4000', '', '', 'invented'),
     ('SR5ZZC', 'KO02NG', '110', 'FM', 'Las', '145.7750', '145.1750', '', '1750', 'invented'),
     ('SR5ZZD', 'KO02JH', '105', 'D-STAR', 'Pole', '439.2250', '431.6250', '', '', 'invented')"
printf '231-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
# espeak-ng as the program finds it on PATH: what it was to say, a line each time.
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/said"\n' "$home" > "$home/bin/espeak-ng"
chmod +x "$home/bin/espeak-ng"

said_ahead() {
  grep -q "Nearest Sierra Romeo Five Kilo Alpha Bravo, four three nine point three seven five minus seven point six, FM, tone one two seven point three, [0-9]* kilometres ahead$" \
    "$home/said" 2> /dev/null
}
red_pixels() {  # title x y width height in the design's pixels → the drawing's red there, by day
  local left top
  design_point "$1" "$2" "$3"; left=$px top=$py
  design_point "$1" $(($2 + $4)) $(($3 + $5))
  shot "$1" "$home/part.png"
  convert "$home/part.png" -crop "$((px - left))x$((py - top))+$left+$top" +repage -fuzz 30% -fill black +opaque red \
    -fill white -opaque red -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}
# The picture's area (226, 30, 220 × 206) and the car at its middle, 336, 133.
in_front_drawn() { [ "$(red_pixels Moltrevane 300 40 72 95)" -gt 20 ]; }  # SR5KAB's dot and call above the car
first_row_tone() {  # the first row's channel beside its call, read by OCR: the tone at its end
  local left top
  design_point Repeater 180 2; left=$px top=$py
  design_point Repeater 387 19
  ocr Repeater "$((px - left))x$((py - top))+$left+$top" | tee "$home/first-row.txt" | grep -q "FM [T1I]127\.3"  # OCR may take T for 1
}
way_shown() {  # the first row's direction, while moving an arrow: some of its part stands out, by day or night
  local left top
  design_point Repeater 140 2; left=$px top=$py
  design_point Repeater 180 19
  shot Repeater "$home/way.png"
  [ "$(convert "$home/way.png" -crop "$((px - left))x$((py - top))+$left+$top" +repage -colorspace gray \
        -format '%[fx:maxima - minima > 0.3]' info:)" = 1 ]
}
dark() { [ "$(convert "$1" -format '%[fx:round(255*mean)]' -crop 4x4+2+2 info:)" -lt 40 ]; }

drive() {  # palette
  rm -f "$home/said"
  printf '# the driver\nfollow = 1\nalert = speech\npalette = %s\n' "$1" > "$folder/Moltrevane.ini"
  "${with_drive[@]}" "$replay" --folder "$folder" --port COM2 "$home/track.nmea" > /dev/null &
  local replay_pid=$!
  wait_for 30 test -L "$folder/COM2" || fail "nmea-replay made no COM2 link"
  PATH=$home/bin:$PATH start_program
  window Moltrevane > /dev/null || fail "no main window"
  wait_for 60 said_ahead || fail "the first announcement was '$(head -1 "$home/said" 2> /dev/null)'"
  if [ "$1" = Day ]; then
    wait_for 30 in_front_drawn || fail "no station drawn in front of the car"
  fi
  shot Moltrevane "$shots/${1,,}-main.png"
  [ "$1" = Day ] || dark "$shots/night-main.png" || fail "the night's main screen is not dark"
  at Moltrevane 224 257          # Repeater
  window Repeater > /dev/null || fail "no repeater screen"
  wait_for 30 way_shown || fail "the first row shows no way to its station"
  if [ "$1" = Day ]; then  # OCR reads dark letters on light
    wait_for 30 first_row_tone || fail "the first row reads '$(cat "$home/first-row.txt")', without the tone"
  fi
  shot Repeater "$shots/${1,,}-repeater.png"
  close_window Repeater
  close_window Moltrevane
  await_exit "after the drive by ${1,,}"
  kill "$replay_pid"; wait "$replay_pid" || true
}

drive Day
drive Night
grep -qx 'alert = speech' "$folder/Moltrevane.ini" || fail "the ini file reads '$(cat "$folder/Moltrevane.ini")'"
echo "glance end to end: the station in front said with its call, tone and 'ahead', drawn above the car, its tone on the first row; screenshots in $shots"
