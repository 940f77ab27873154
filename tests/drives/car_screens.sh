#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck disable=SC2086  # the controls' places below are numbers to split
# The program on a car's panel (xvfb-run's screen: 800 × 480, 1024 × 600 or 480 × 800): the
# window's size after start, every screen in the day and the night palette kept as screenshots
# (the main screen's once more with the stations found around the car),
# the palette chosen by the sun (night for a fix at 22:00 UTC in December at 48° N 11° E, day at
# 12:00), the nearest station's 25-character place name read whole and its tone, and a tap on the
# "KW" check box kept in the settings record.
#
#   car_screens.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"
screen=$(xdpyinfo | awk '/dimensions:/{print $2}')
screen_w=${screen%x*} screen_h=${screen#*x}

# A minute of fixes at 48° N 11° E on 2026-12-07 from the hour given, driving east at 30 km/h.
track() {
  local second body sum i longitude
  for second in $(seq -w 0 59); do
    longitude=$(awk -v s="$second" 'BEGIN { printf "%09.4f", 1102.4 + s * 0.00672 }')
    body="GPRMC,$1$(printf %02d 0)$second.000,A,4801.5000,N,0$longitude,E,16.2,90.0,071226,,"
    sum=0; for ((i = 0; i < ${#body}; i++)); do sum=$((sum ^ $(printf %d "'${body:i:1}"))); done
    printf '$%s*%02X\r\n' "$body" "$sum"
  done
}
# Without a window manager FLTK makes a full-screen window of its own, which has no title.
fills_screen() { xwininfo -root -tree | grep -q " ${screen}+0+0 "; }
sized() {  # the main window is WIDTHxHEIGHT again
  geometry "$(window Moltrevane)"
  [ "${WIDTH}x$HEIGHT" = "$1" ]
}
full_screen_and_back() {  # F11 fills the screen, and F11 again restores the window
  local size
  geometry "$(window Moltrevane)"
  size=${WIDTH}x$HEIGHT
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) key F11
  wait_for 30 fills_screen || fail "F11 did not fill the $screen screen"
  import -window root "$shots/full-screen.png"
  xdotool key F11
  wait_for 30 sized "$size" || fail "F11 again left the window ${WIDTH}x$HEIGHT, not $size"
}
# Where the controls are, in the design's pixels of the layout shown: the wide one on a
# landscape panel.
if [ "$screen_w" -gt "$screen_h" ]; then
  left_button="75 257" middle_button="224 257" right_button="373 257" links_button="250 254"
  first_row_info_button="432 17" latitude="12 100 60 14" nmea_view="7 100 190 60" first_row_info="31 19 385 16"
  first_row_channel="180 2 207 17" hf_box="264 38"
else
  left_button="40 387" middle_button="121 387" right_button="201 387" links_button="178 339"
  first_row_info_button="227 16" latitude="12 84 70 20" nmea_view="7 133 190 27" first_row_info="3 40 236 14"
  first_row_channel="3 26 236 14" hf_box="49 205"
fi
fix_shown() { has_text Moltrevane $latitude; }
palette_is() {  # day|night: the main screen's corner is bright or dark
  shot Moltrevane "$shots/$1-main.png"
  local brightness; brightness=$(background "$shots/$1-main.png")
  if [ "$1" = night ]; then [ "$brightness" -lt 40 ]; else [ "$brightness" -gt 200 ]; fi
}
nmea_shown() { has_text Settings $nmea_view; }  # inside the NMEA view, its scroll bar left out
row_filled() { has_text Repeater $first_row_info; }
first_place_read() {  # the first row's info line, by OCR, holds the nearest station's place name whole
  local x y w h left top
  read -r x y w h <<< "$first_row_info"
  design_point Repeater "$x" "$y"; left=$px top=$py
  design_point Repeater $((x + w)) $((y + h))
  ocr Repeater "$((px - left))x$((py - top))+$left+$top" | tee "$home/first-row.txt" | grep -q "Kaufering Lechfeld Sender"
}
first_tone_read() {  # the first row's channel, by OCR: the station's tone after its mode
  local x y w h left top
  read -r x y w h <<< "$first_row_channel"
  design_point Repeater "$x" "$y"; left=$px top=$py
  design_point Repeater $((x + w)) $((y + h))
  ocr Repeater "$((px - left))x$((py - top))+$left+$top" | tee "$home/first-channel.txt" | grep -Eq "FM ?[T17I]?123\.0"
}
time_drawn() {  # the main screen's red time is drawn (in either palette): no other screen has red
  local left top
  design_point Moltrevane 42 31; left=$px top=$py
  design_point Moltrevane 102 49
  shot Moltrevane "$home/time.png"
  [ "$(convert "$home/time.png" -crop "$((px - left))x$((py - top))+$left+$top" +repage -fuzz 25% -fill black \
        +opaque red -fill white -opaque red -colorspace gray -format '%[fx:round(mean*w*h)]' info:)" -gt 20 ]
}
background() { convert "$1" -format '%[fx:round(255*mean)]' -crop 4x4+2+2 info:; }  # a corner's brightness

drive() {  # hour palette: every screen's screenshot, and the palette the main screen chose
  track "$1" > "$home/track.nmea"
  "${with_drive[@]}" "$replay" --folder "$folder" --port COM2 "$home/track.nmea" > /dev/null &
  local replay_pid=$!
  wait_for 30 test -L "$folder/COM2" || fail "nmea-replay made no COM2 link"
  start_program
  local id; id=$(window Moltrevane)
  geometry "$id"
  if [ "$screen_w" -gt "$screen_h" ]; then
    [ "$HEIGHT" -ge 460 ] || fail "at $screen the window is only $HEIGHT pixels high"
  else
    [ "$WIDTH" -ge 460 ] || fail "at $screen the window is only $WIDTH pixels wide"
  fi
  wait_for 60 fix_shown || fail "no fix shown"
  wait_for 30 palette_is "$2" || fail "a fix at $1:00 UTC in December shows the wrong palette for $2"
  [ "$2" = night ] || full_screen_and_back
  at Moltrevane $left_button; window Settings > /dev/null
  wait_for 30 nmea_shown || fail "the NMEA view stays empty"
  [ "$2" = night ] || at Settings $hf_box  # a finger hides HF: the record shows it after the run
  shot Settings "$shots/$2-settings.png"; close_window Settings
  at Moltrevane $middle_button; window Repeater > /dev/null
  at Repeater $left_button
  wait_for 30 row_filled || fail "the search filled no row"
  if [ "$2" = day ]; then  # OCR reads dark letters on light
    wait_for 30 first_place_read || fail "the first row reads '$(cat "$home/first-row.txt")', not the whole place name"
    wait_for 30 first_tone_read || fail "the first row's channel reads '$(cat "$home/first-channel.txt")', not its tone"
  fi
  shot Repeater "$shots/$2-repeater.png"
  at Repeater $first_row_info_button; window "Info Station" > /dev/null; shot "Info Station" "$shots/$2-station-info.png"
  close_window "Info Station"; close_window Repeater
  wait_for 30 time_drawn || fail "the main screen is not drawn again after the repeater screen"
  shot Moltrevane "$shots/$2-main.png"  # again, with the stations the search found around the car
  at Moltrevane $right_button; window Info > /dev/null; shot Info "$shots/$2-info.png"
  at Info $links_button; window Links > /dev/null; shot Links "$shots/$2-links.png"; close_window Links; close_window Info
  close_window Moltrevane
  await_exit "after its window closed"
  kill "$replay_pid"; wait "$replay_pid" || true
  if [ "$2" = day ]; then
    [ "$(cut -c19-23 "$folder/Moltrevane.cfg")" = 01111 ] || fail "after a tap on KW the record is $(cat "$folder/Moltrevane.cfg")"
    printf '%s' "$record" > "$folder/Moltrevane.cfg"
  fi
}

new_home
sqlite3 "$folder/Moltrevane.sqlite" < "$source/data/demo-directory.sql"
sqlite3 "$folder/Moltrevane.sqlite" < "$source/tests/drives/car-stations.sql"
record=231-JO31OM-JN58SD-11111-1111101
printf '%s' "$record" > "$folder/Moltrevane.cfg"
printf 'palette = Auto\n' > "$folder/Moltrevane.ini"  # the sun chooses: this drive reads both palettes
drive 12 day
drive 22 night
echo "car screens at $screen: the window fits, the sun chose day at 12:00 and night at 22:00 UTC; screenshots in $shots"
