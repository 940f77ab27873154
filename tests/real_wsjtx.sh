#!/usr/bin/env bash
# The real WSJT-X (Debian's wsjtx) and the real program: WSJT-X, on a virtual display of its
# own, sends to a private port; the program in offline mode hands it the offline locator, and
# the links screen says "confirmed" only once WSJT-X's own Status reports that locator (its
# settings hold another).
#
#   real_wsjtx.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR
# Run it inside xvfb-run on a screen of 243 × 270, like end_to_end.sh.
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"

. "$source/tools/program-session.sh"
session_settings='230-JO62QM-JN58SD-11111-1111101'  # offline, offline locator JO62QM
start_session "$source" "$replay"
port=$((20000 + RANDOM % 20000))
printf 'wsjtx = on\nwsjtx_address = 127.0.0.1:%d\n' "$port" > "$folder/Moltrevane.ini"

# A rig name of its own: another WSJT-X on this computer keeps its shared memory and settings.
rig=moltrevane-$$
mkdir -p "$home/.config"
cat > "$home/.config/WSJT-X - $rig.ini" <<INI
[Configuration]
MyCall=DL1ABC
MyGrid=JN58SD
UDPServer=127.0.0.1
UDPServerPort=$port
AcceptUDPRequests=true
AutoGrid=true
INI
HOME=$home setsid xvfb-run -a -s "-screen 0 1280x1024x24" wsjtx --rig-name="$rig" > "$home/wsjtx.log" 2>&1 &
wsjtx_group=$!
trap 'kill -- -$wsjtx_group 2>/dev/null || true; kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT

start_program
window Moltrevane > /dev/null || fail "no main window"
click Moltrevane 201 257       # Info
click Info 178 246             # Links
window Links > /dev/null || fail "no links screen"
state=""
for _ in $(seq 60); do
  shot Links "$shots/links-wsjtx.png"
  convert "$shots/links-wsjtx.png" -crop 232x20+5+52 +repage -resize 400% -colorspace gray -threshold 60% "$home/state.png"
  state=$(tesseract "$home/state.png" - --psm 7 2> /dev/null)
  [[ $state == *"JO62QM confirmed"* ]] && break
  sleep 1
done
[[ $state == *"JO62QM confirmed"* ]] || fail "the WSJT-X line reads '$state'; WSJT-X said: $(tail -5 "$home/wsjtx.log")"
close_window Links
close_window Info
close_window Moltrevane
await_exit "after its window closed"
