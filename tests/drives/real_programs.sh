#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real WSJT-X and JS8Call (Debian's wsjtx and js8call) beside the real program. Each runs
# on a virtual display of its own and talks on a private port; its settings hold JN58SD. The
# program, in offline mode, hands them the offline locator JO62QM, and the links screen says
# "confirmed" only once WSJT-X's own Status, and JS8Call's own answer, report JO62QM.
#
#   real_programs.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR
# Run it inside xvfb-run on a screen of 243 × 270, like end_to_end.sh.
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"

. "$source/tools/program-session.sh"
session_settings='230-JO62QM-JN58SD-11111-1111101'  # offline, offline locator JO62QM
start_session "$source" "$replay"
wsjtx_port=$((20000 + RANDOM % 20000)) js8call_port=$((20000 + RANDOM % 20000))
printf 'wsjtx = on\nwsjtx_address = 127.0.0.1:%d\njs8call = on\njs8call_address = 127.0.0.1:%d\n' \
  "$wsjtx_port" "$js8call_port" > "$folder/Moltrevane.ini"

# Rig names of their own: another WSJT-X or JS8Call on this computer keeps its shared memory
# and settings.
rig=moltrevane-$$
mkdir -p "$home/.config"
printf '[Configuration]\nMyCall=DL1ABC\nMyGrid=JN58SD\nUDPServer=127.0.0.1\nUDPServerPort=%d\nAcceptUDPRequests=true\nAutoGrid=true\n' \
  "$wsjtx_port" > "$home/.config/WSJT-X - $rig.ini"
printf '[Configuration]\nMyCall=DL1ABC\nMyGrid=JN58SD\nTCPServer=127.0.0.1\nTCPServerPort=%d\nTCPEnabled=true\nAcceptTCPRequests=true\nAutoGrid=true\n' \
  "$js8call_port" > "$home/.config/JS8Call - $rig.ini"
groups=()
for peer in wsjtx js8call; do
  HOME=$home "${with_drive[@]}" setsid xvfb-run -a -s "-screen 0 1280x1024x24" "$peer" --rig-name="$rig" > "$home/$peer.log" 2>&1 &
  groups+=("$!")
done
trap 'for g in "${groups[@]}"; do kill -- "-$g" 2>/dev/null || true; done; kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT

state_line() {  # y of the line in pixels → its text, read by OCR
  convert "$shots/links.png" -crop "232x20+5+$1" +repage -resize 400% -colorspace gray -threshold 60% "$home/state.png"
  tesseract "$home/state.png" - --psm 7 2> /dev/null
}

start_program
window Moltrevane > /dev/null || fail "no main window"
click Moltrevane 201 257       # Info
click Info 178 226             # Links
window Links > /dev/null || fail "no links screen"
for _ in $(seq 90); do
  shot Links "$shots/links.png"
  wsjtx=$(state_line 52) js8call=$(state_line 122)
  [[ $wsjtx == *"JO62QM confirmed"* && $js8call == *"JO62QM confirmed"* ]] && break
  sleep 1
done
[[ $wsjtx == *"JO62QM confirmed"* ]] || fail "the WSJT-X line reads '$wsjtx'; WSJT-X said: $(tail -3 "$home/wsjtx.log")"
[[ $js8call == *"JO62QM confirmed"* ]] || fail "the JS8Call line reads '$js8call'; JS8Call said: $(tail -3 "$home/js8call.log")"
close_window Links
close_window Info
close_window Moltrevane
await_exit "after its window closed"
