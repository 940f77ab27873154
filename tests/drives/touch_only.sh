#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program on an 800 × 480 panel without window manager and without keyboard: taps only.
# Every screen opened and left by "Back"; a target locator tapped in on the program's keypad and
# measured; a call tapped in on the keypad after a row's "N" and looked up; a list in Downloads
# ticked in the picker of "Import stations…" and added to the directory. Screenshots of the
# keypad and the picker for the README.
#
#   touch_only.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"
start_session "$source" "$replay"
mkdir -p "$home/Downloads"
cp "$source/tests/import/fixtures/german.csv" "$home/Downloads/german.csv"
demo_stations=$(sqlite3 "$folder/Moltrevane.sqlite" "SELECT count(*) FROM repeater")
start_program
window Moltrevane > /dev/null || fail "no main window"

# The wide layout's places, in the design's pixels.
settings_button="75 254" repeater_button="224 254" info_button="373 254" back="392 254"
search_button="56 254" follow_button="168 254" links_button="250 254" target="52 208"
import_button="86 254" first_list="193 43" add_button="56 254"
first_info_button="432 17" distance="98 199 66 17"

# The keypad's keys in its window's pixels: 50-pixel keys 54 apart in ten columns below the
# text, on the 3.12 pixels a unit of this panel.
tap_key() {  # keys-of-the-kind character
  local keys=$1 index
  if [ "$2" = Del ]; then index=${#keys}; else index=${keys%%"$2"*}; index=${#index}; fi
  click Keypad $((4 + index % 10 * 54 + 25)) $((4 + (index / 10 + 1) * 54 + 25))
}
tap_ok() { click Keypad 137 299; wait_for 20 gone Keypad || fail "OK left the keypad open"; }
locator_keys=0123456789ABCDEFGHIJKLMNOPQRSTUVWX call_keys=0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ/

leave_by_back() {  # title: "Back" closes the screen
  at "$1" $back
  wait_for 30 gone "$1" || fail "Back left $1 open"
}
opens() {  # from-title x y to-title
  at "$1" "$2" "$3"
  window "$4" > /dev/null || fail "no $4 screen"
}

opens Moltrevane $settings_button Settings; shot Settings "$shots/touch-settings.png"; leave_by_back Settings
opens Moltrevane $info_button Info
opens Info $links_button Links; leave_by_back Links

# The list in Downloads, the only one the picker finds, ticked and added.
opens Info $import_button "Station lists"
listed() { has_text "Station lists" 20 28 300 30; }
wait_for 30 listed || fail "the picker lists no file"
at "Station lists" $first_list
shot "Station lists" "$shots/picker.png"
at "Station lists" $add_button
wait_for 30 gone "Station lists" || fail "Add left the picker open"
window "Import stations" > /dev/null || fail "no report of the import"
shot "Import stations" "$shots/touch-import-report.png"
report_read() {  # its lines, read as a block
  shot "Import stations" "$home/report.png"
  convert "$home/report.png" -resize 300% -colorspace gray -threshold 60% "$home/report-big.png"
  tesseract "$home/report-big.png" - --psm 6 2> /dev/null | tr '\n' ' ' > "$home/report.txt"
  grep -q "german.csv: 11" "$home/report.txt"
}
geometry "$(window "Import stations")"
wait_for 10 report_read || fail "the report reads '$(cat "$home/report.txt")'"
click "Import stations" $((WIDTH - 81)) $((HEIGHT - 33))  # OK
wait_for 30 gone "Import stations" || fail "OK left the report open"
added=$(sqlite3 "$folder/Moltrevane.sqlite" "SELECT count(*) FROM repeater WHERE call = 'DB0GB'")
total=$(sqlite3 "$folder/Moltrevane.sqlite" "SELECT count(*) FROM repeater")
# The demo's stations kept, the list's 11 beside them.
[ "$added" -ge 1 ] && [ "$total" -eq $((demo_stations + 11)) ] || fail "after Add the directory holds $total stations, DB0GB $added times"
leave_by_back Info
opens Moltrevane $repeater_button Repeater
opens Repeater $follow_button Driving; leave_by_back Driving

# A call after row 4's "N": the keypad opens by itself. The rows keep the order of distance, so
# the only station listed may move up to the first row.
at Repeater 16 $(( (1 + 19 * 3 + 9) * 7 / 4 ))
window Keypad > /dev/null || fail "N opened no keypad"
for key in D B 0 R P T; do tap_key "$call_keys" "$key"; done
shot Keypad "$shots/keypad-call.png"
tap_ok
row_place() { ocr Repeater "680x28+57+$(( (1 + 19 * $1 + 10) * 3117 / 1000 ))"; }
place_read() {
  local text; text="$(row_place 0) $(row_place 3)"
  printf '%s' "$text" > "$home/row.txt"
  [[ $text == *"Wasserturm Nord"* ]]
}
wait_for 30 place_read || fail "the call typed on the keypad shows '$(cat "$home/row.txt")'"
shot Repeater "$shots/touch-repeater.png"

at Repeater $search_button
row_filled() { has_text Repeater 31 19 385 16; }
wait_for 30 row_filled || fail "the search filled no row"
opens Repeater $first_info_button "Info Station"; shot "Info Station" "$shots/touch-station-info.png"; leave_by_back "Info Station"
leave_by_back Repeater

# The target: the session's JN58SD erased, JO62QM tapped in; only valid keys are offered.
at Moltrevane $target
window Keypad > /dev/null || fail "the target field opened no keypad"
for _ in 1 2 3 4 5 6; do tap_key "$locator_keys" Del; done
for key in J O 6 2 Q M; do tap_key "$locator_keys" "$key"; done
shot Keypad "$shots/keypad-locator.png"
tap_ok
measured() {
  local x y w h left top
  read -r x y w h <<< "$distance"
  design_point Moltrevane "$x" "$y"; left=$px top=$py
  design_point Moltrevane $((x + w)) $((y + h))
  ocr Moltrevane "$((px - left))x$((py - top))+$left+$top" | tee "$home/distance.txt" | grep -Eq "^[0-9]{3} km"
}
wait_for 30 measured || fail "the target tapped in measures '$(cat "$home/distance.txt")'"
shot Moltrevane "$shots/touch-main.png"

kill -TERM "$program_pid"
await_exit "after SIGTERM"
echo "touch only: every screen left by Back, JO62QM measured $(cat "$home/distance.txt"), DB0RPT typed into a row, german.csv added from the picker ($demo_stations + the list's = $total stations), all by taps"
