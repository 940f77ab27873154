#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under Xvfb with a replayed receiver: drives every screen with xdotool,
# keeps a screenshot of each, and checks what the program shows and what it leaves behind.
#
#   end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR
# Run it inside xvfb-run (DISPLAY set) on a screen of 243 × 270, the design's size. PROGRAM_WRAPPER, when set, is put before the program.
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"

# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"
start_session "$source" "$replay"

# Pixels of the drawn red text (time, locator) inside and outside their cells of 9 × 23 pixels
# a character: "inside outside".
red_pixels() {
  local count='-fuzz 30% -fill black +opaque red -fill white -opaque red -colorspace gray -format %[fx:round(mean*w*h)]'
  # shellcheck disable=SC2086
  echo "$(convert "$1" -fill black -draw 'rectangle 0,0 300,300' -fill red \
            \( "$1" -crop 72x23+40+27 \) -geometry +40+27 -composite \
            \( "$1" -crop 54x23+130+77 \) -geometry +130+77 -composite $count info:)" \
       "$(convert "$1" -fill white -draw 'rectangle 40,27 111,49' -draw 'rectangle 130,77 183,99' $count info:)"
}
row_call() { text_at Repeater 66 $(( ($1 * 20 + 7) * 7 / 4 )); }  # row 0 … 6 of the repeater screen
row_info() { ocr Repeater 200x14+30+$(( 23 + $1 * 35 )); }  # row 0 … 6 → its info line
fix_drawn() {  # the main screen draws the time and the locator of a fix
  shot Moltrevane "$shots/main.png"
  read -r inside outside <<< "$(red_pixels "$shots/main.png")"
  [ "$inside" -gt 50 ]
}
target_shows_jo62qm() { [[ $(ocr Moltrevane 72x17+19+116) == *62QM* ]]; }  # its J and O may read as a border
row_filled() { has_text Repeater 32 23 200 14; }  # the first row's info line
nearest_reads_db0bak() { [[ $(ocr Repeater 66x15+34+4) =~ D[B8][0O]BAK ]]; }  # OCR may take 0 for O
nmea_shown() { has_text Settings 7 89 210 18; }  # inside the NMEA view, its scroll bar left out
is_beacon() { [ "$(sqlite3 "$folder/Moltrevane.sqlite" "SELECT count(*) FROM repeater WHERE call = '$1' AND mode = 'Bake'")" -gt 0 ]; }
record_is() {  # expected-bytes (printf format) when
  printf "$1" > "$home/expected.cfg"
  cmp -s "$home/expected.cfg" "$folder/Moltrevane.cfg" || fail "$2 the settings file reads '$(cat -v "$folder/Moltrevane.cfg")'"
}

printf '# by the drive\nwsjtx_address = 127.0.0.1:%d\n' $((20000 + RANDOM % 20000)) > "$folder/Moltrevane.ini"
start_program
window Moltrevane > /dev/null || fail "no main window"
# A second start brings the running program forward and ends at once.
HOME=$home timeout 10 "$program" 2> "$home/second.txt" || fail "a second start ended with $?"
grep -q "already running" "$home/second.txt" || fail "a second start said '$(cat "$home/second.txt")'"
kill -0 "$program_pid" || fail "the first program ended when a second was started"
inside=0 outside=0
wait_for 90 fix_drawn || fail "no time or locator drawn ($inside red pixels)"  # under Valgrind the first fix comes late
[ "$outside" -eq 0 ] || fail "the drawn time or locator covers $outside pixels beyond its cells"
# The track starts at 48° 51' N 11° 48' E. A field rewritten by the next second between the
# drive's select-all and copy copies nothing, so the reading is tried again until it holds.
position=""
at_track() { position="$(text_at Moltrevane 45 63) $(text_at Moltrevane 170 63)"; [[ $position == 485[0-9].*" "0114[0-9].* ]]; }
wait_for 60 at_track || fail "the main screen shows the position '$position', not the track's"

# A call typed into an empty row and the screen closed at once: it is still looked up.
click Moltrevane 121 257       # Repeater
window Repeater > /dev/null || fail "no repeater screen"
xprop -id "$(window Repeater)" _MOTIF_WM_HINTS | grep -q '= 0x3, 0x9, 0x21,' ||
  fail "a modal screen may be minimised: $(xprop -id "$(window Repeater)" _MOTIF_WM_HINTS)"
click Repeater 12 14           # N of the first row
xdotool type db0cr
close_window Repeater
click Moltrevane 121 257
click Repeater 228 14          # I of the first row: only a row with a found call opens it
window "Info Station" > /dev/null || fail "the call typed before closing was lost"
close_window "Info Station"

click Repeater 40 257          # Search Stn.
wait_for 30 nearest_reads_db0bak || fail "the beacon beside the track is not shown nearest"
shot Repeater "$shots/repeater.png"
[ "$(row_call 0)" = DB0BAK ] || fail "the beacon beside the track is not the nearest station"
info=$(row_info 1)             # DB0RPT: 145.6250 MHz, 0.6 MHz below
[[ $info == *145.6250*0.600*FM* ]] || fail "the info line reads '$info', not the channel"
click Repeater 228 14          # I of the first row
window "Info Station" > /dev/null || fail "no station info screen"
shot "Info Station" "$shots/station-info.png"
close_window "Info Station"
close_window Repeater

# An offline locator typed and the screen closed at once is kept.
click Moltrevane 40 257        # Settings
window Settings > /dev/null || fail "no settings screen"
wait_for 30 nmea_shown || fail "the NMEA view stays empty"
shot Settings "$shots/settings.png"
click Settings 164 192         # Bake: beacons are no longer shown
click Settings 148 70          # the offline locator
xdotool key ctrl+a BackSpace type jn58se
close_window Settings

click Moltrevane 121 257       # Repeater
click Repeater 40 257          # Search Stn.
wait_for 30 row_filled || fail "the search filled no row"
for row in 0 1 2 3 4 5 6; do
  call=$(row_call $row)
  [ -n "$call" ] || fail "row $row is empty"
  ! is_beacon "$call" || fail "the beacon $call is shown with Bake cleared"
done
close_window Repeater

click Moltrevane 201 257       # Info
window Info > /dev/null || fail "no about screen"
shot Info "$shots/about.png"
# Links: WSJT-X ticked listens on the private port the user's ini file names, and keeps it.
click Info 178 226
window Links > /dev/null || fail "no links screen"
click Links 14 38              # WSJT-X
wsjtx_not_heard() { state=$(ocr Links 232x20+5+52); [[ $state == *"WSJT-X: not heard"* ]]; }
wait_for 30 wsjtx_not_heard || fail "the WSJT-X line reads '$state'"
shot Links "$shots/links.png"
close_window Links
grep -qx 'wsjtx = on' "$folder/Moltrevane.ini" && grep -qx '# by the drive' "$folder/Moltrevane.ini" ||
  fail "the ini file reads '$(cat "$folder/Moltrevane.ini")'"
close_window Info

close_window Moltrevane
await_exit "after its window closed"
record_is '231-JN58SE-JN58SD-11111-1111001' "after the screens were closed"
[ -z "$(ls -A "$folder" | grep -v -x -e Moltrevane.sqlite -e Moltrevane.cfg -e Moltrevane.ini -e COM2 -e expected.cfg)" ] ||
  fail "left behind: $(ls -A "$folder")"

# A signal ends the program the same way: the target, typed and pasted in lower case, is saved.
printf '230-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
start_program
click Moltrevane 55 124        # into the target entry
printf 2qm | "${with_drive[@]}" xclip -selection clipboard -loops 3 &
xdotool key ctrl+a BackSpace type jo6
xdotool key ctrl+v
wait_for 60 target_shows_jo62qm || fail "the pasted target does not show"
kill -TERM "$program_pid"
await_exit "after SIGTERM"
record_is '230-JO31OM-JO62QM-11111-1111101' "after SIGTERM"

# Open Port leaves an untouched offline locator as it is, whatever is tapped next.
printf '230-\0\0\0\0\0\0-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
start_program
click Moltrevane 40 257        # Settings
window Settings > /dev/null || fail "no settings screen"
click Settings 42 44           # Open Port
click Settings 21 157          # KW, twice: set as before
click Settings 21 157
close_window Settings
close_window Moltrevane
await_exit "after Open Port"
record_is '231-\0\0\0\0\0\0-JN58SD-11111-1111101' "after Open Port"

# A station directory that never ends its query: it is read beside the window, a search says it
# is loading, and a signal still ends the program at once with the settings saved.
mv "$folder/Moltrevane.sqlite" "$home/demo.sqlite"
sqlite3 "$folder/Moltrevane.sqlite" "CREATE VIEW repeater AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL
  SELECT i + 1 FROM n) SELECT 'C' || i AS call, 'JN58SD' AS loc, '' AS aus, '' AS mode FROM n ORDER BY random()"
printf '230-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
start_program
click Moltrevane 121 257       # Repeater
click Repeater 40 257          # Search Stn.
kill -TERM "$program_pid"
await_exit "after SIGTERM during an endless search"
record_is '230-JO31OM-JN58SD-11111-1111101' "after SIGTERM during an endless search"
mv "$home/demo.sqlite" "$folder/Moltrevane.sqlite"

# Losing the display ends the program as closing it does, with the reader stopped.
exec 4> "$home/display"
"${with_drive[@]}" Xvfb -displayfd 4 -noreset -screen 0 243x270x24 > /dev/null 2>&1 &
xvfb_pid=$!
exec 4>&-
wait_for 30 test -s "$home/display" || fail "no second display"
printf '231-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
DISPLAY=:$(cat "$home/display") start_program
DISPLAY=:$(cat "$home/display") click Moltrevane 55 124
DISPLAY=:$(cat "$home/display") xdotool key ctrl+a BackSpace type jo62qm
DISPLAY=:$(cat "$home/display") wait_for 60 target_shows_jo62qm || fail "the typed target does not show"
kill "$xvfb_pid"
timeout 30 tail --pid="$program_pid" -f /dev/null || fail "the program did not end when its display went"
status=0; wait "$program_pid" || status=$?
[ "$status" -eq 1 ] || fail "without its display the program exited with $status"
record_is '231-JO31OM-JO62QM-11111-1111101' "after the display was lost"

kill "$replay_pid"; wait "$replay_pid" || true
[ ! -e "$folder/COM2" ] || fail "nmea-replay left its link"
echo "end to end: all screens driven, what they show checked, settings saved, nothing left running; screenshots in $shots"
