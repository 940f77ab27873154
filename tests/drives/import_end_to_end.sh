#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# "Import stations…" in the real program: the Info screen's button, the picker's "Other file…"
# and the toolkit's file chooser behind it, "Replace", the report in a message, and the next search listing the imported stations.
#
#   import_end_to_end.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"

# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"
start_session "$source" "$replay"
cp "$source/tests/import/fixtures/german.csv" "$home/stations.csv"
demo=$(sha256sum < "$folder/Moltrevane.sqlite")

# GTK's chooser would start a session bus and an accessibility bus of its own for the display,
# which outlive the drive and keep the next drive's program off its display.
export NO_AT_BRIDGE=1 DBUS_SESSION_BUS_ADDRESS=disabled:
start_program
window Moltrevane > /dev/null || fail "no main window"
click Moltrevane 201 257       # Info
window Info > /dev/null || fail "no about screen"
shot Info "$shots/import-info.png"
click Info 61 226              # Import stations…
window "Station lists" > /dev/null || fail "no picker of station lists"
click "Station lists" 131 256  # Other file…
chooser=$(window "Station lists to import") || fail "no file chooser"
xdotool windowactivate --sync "$chooser" 2> /dev/null || true
# Pasted, not typed: GTK's chooser completes a folder's name while it is typed. Whether the
# chooser has taken the paste before the Return shows only in what follows: the report, or the
# chooser still open for another try.
printf '%s' "$home/stations.csv" | xclip -selection clipboard > /dev/null 2>&1
holds_path() { [ "$(xclip -o -selection clipboard 2> /dev/null)" = "$home/stations.csv" ]; }
wait_for 10 holds_path || fail "the clipboard does not hold the list's path"
chosen() { gone "Station lists to import"; }
for _ in 1 2 3 4 5; do
  visible "Station lists to import" || break
  xdotool key ctrl+l ctrl+a ctrl+v Return
  wait_for 10 chosen && break
done
chosen || fail "the file chooser stays open"
shot "Station lists" "$shots/import-picker.png"
click "Station lists" 70 256   # Replace: the file chosen is ticked
window "Import stations" > /dev/null || fail "no report of the import"
shot "Import stations" "$shots/import-report.png"
report=$(sqlite3 "$folder/Moltrevane.sqlite" "SELECT count(*) FROM repeater")
[ "$report" = 11 ] || fail "the directory holds $report stations, not the list's 11"
[ "$(sha256sum < "$folder/Moltrevane.sqlite.old")" = "$demo" ] || fail "the demo directory was not kept"
xdotool key Return
close_window Info

click Moltrevane 121 257       # Repeater
click Repeater 40 257          # Search Stn.
imported_first() { call=$(text_at Repeater 66 12); [[ $call == DB0G[B-L] ]]; }
wait_for 30 imported_first || fail "the search after the import lists '$call' first"
shot Repeater "$shots/import-repeater.png"
close_window Repeater
kill -TERM "$program_pid"
await_exit "after the import"

# Every kind of list through the command, each then searched by the program from JO50AA: every
# fixture lays out the same plan (B … J ever farther, L at the middle of the square JO50), so
# the seven are its calls B to G and H, or L where the list can give only a square.
importer=$(dirname "$program")/moltrevane-import
printf '230-JO50AA-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
start_program
click Moltrevane 121 257       # Repeater
row_calls() {  # the seven rows' calls, one line
  local row calls=""
  for row in 0 1 2 3 4 5 6; do calls+="$(text_at Repeater 66 $(( (row * 20 + 7) * 7 / 4 ))) "; done
  echo "$calls"
}
nearest_first() { click Repeater 40 257; [ "$(text_at Repeater 66 12)" = "$1" ]; }  # Search Stn.
for fixture in repeaterbook.json:K0RJ:BCDEFGH repeaterbook.csv:K0RC:BCDEFGH hearham.json:W0HH:BCDEFGH \
               przemienniki.xml:SR0X:BCDEFGL przemienniki-eu.json:SR0E:BCDEFGL uk-repeaters.csv:GB3U:BCDEFGL \
               english.csv:DB0E:BCDEFGH polish.csv:SR0P:BCDEFGL directory-columns.csv:DB0T:BCDEFGL \
               sral.json:OH0S:BCDEFGL uk-all.csv:GB3A:BCDEFGL; do
  IFS=: read -r file prefix letters <<< "$fixture"
  "$importer" --output "$folder/Moltrevane.sqlite" "$source/tests/import/fixtures/$file" > /dev/null ||
    fail "moltrevane-import refused $file"
  # The program reads the replaced directory beside its window; the search waits for it.
  wait_for 30 nearest_first "${prefix}B" || fail "after $file the search lists '$(text_at Repeater 66 12)' first"
  expected=""; for ((i = 0; i < ${#letters}; i++)); do expected+="$prefix${letters:i:1} "; done
  calls=$(row_calls)
  [ "$calls" = "$expected" ] || fail "after $file the rows read '$calls', not '$expected'"
done

# Measured to the site where the directory has it: DL0SQR's square is JO50AA itself, the own
# square, but it stands at its corner, 3.8 km off; DL0SIT's square's centre is 4.6 km away, its
# site 1.0 km. By the squares' centres DL0SQR would be first.
sqlite3 "$folder/sites.sqlite" \
  "CREATE TABLE repeater (call TEXT, loc TEXT, asl TEXT, mode TEXT, qth TEXT, aus TEXT, ein TEXT, kanal TEXT, rem1 TEXT,
                          rem2 TEXT, lat TEXT, lon TEXT);
   INSERT INTO repeater VALUES ('DL0SQR', 'JO50AA', '', 'FM', 'Ecke', '145.6000', '145.0000', '', '', 'invented', '50.0', '10.0'),
     ('DL0SIT', 'JO50AB', '', 'FM', 'Nah', '145.6250', '145.0250', '', '', 'invented', '50.03', '10.0417')"
mv "$folder/sites.sqlite" "$folder/Moltrevane.sqlite"
wait_for 30 nearest_first DL0SIT || fail "measured to the sites, the search lists '$(text_at Repeater 66 12)' first"
first_km() { [[ $(ocr Repeater 62x17+108+1) =~ ^2\ ?km ]]; }  # its site 1.04 km away, rounded up
wait_for 10 first_km || fail "the first row's distance reads '$(ocr Repeater 62x17+108+1)', not 2 km"
[ "$(text_at Repeater 66 $(( (1 * 20 + 7) * 7 / 4 )))" = DL0SQR ] || fail "the station by its square's centre is not second"
shot Repeater "$shots/import-sites.png"
close_window Repeater
close_window Moltrevane
await_exit "after every kind of list"
echo "import end to end: Import stations… in the program, every kind of list through moltrevane-import, searched by the program, and the sites measured to"
