#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Under a window manager (openbox, as on many a Pi's desktop) on an 800 × 480 panel: the main
# window and every sub-screen fit the work area with their frames, title bar included, so that
# no bottom button is cut; each is left by "Back".
#
#   window_manager.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../../tools/program-session.sh
. "$source/tools/program-session.sh"
command -v openbox > /dev/null || fail "openbox is missing: apt-get install openbox"
start_session "$source" "$replay"

"${with_drive[@]}" openbox --sm-disable > /dev/null 2>&1 &
managed() { xprop -root _NET_SUPPORTING_WM_CHECK _NET_WORKAREA 2> /dev/null | grep -q '_NET_WORKAREA(CARDINAL)'; }
wait_for 30 managed || fail "openbox did not start"
read -r area_x area_y area_w area_h < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,/ /g' | awk '{print $1, $2, $3, $4}')

# fits title: the window and its frame lie inside the work area
fits() {
  local id left right top bottom
  id=$(window "$1") || return 1
  geometry "$id"
  read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
  [ -n "$bottom" ] && [ $((X - left)) -ge "$area_x" ] && [ $((Y - top)) -ge "$area_y" ] &&
    [ $((X + WIDTH + right)) -le $((area_x + area_w)) ] && [ $((Y + HEIGHT + bottom)) -le $((area_y + area_h)) ]
}
framed() {  # title: its place, for the failure's message
  local id; id=$(window "$1")
  geometry "$id"
  echo "${WIDTH}x$HEIGHT at $X,$Y, frame $(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //'), work area ${area_w}x$area_h at $area_x,$area_y"
}
check_fits() { wait_for 30 fits "$1" || fail "$1 does not fit: $(framed "$1")"; }
# The wide layout's places, in the design's pixels.
settings_button="75 254" repeater_button="224 254" info_button="373 254" back="392 254"
follow_button="168 254" links_button="250 254" first_info_button="432 17" search_button="56 254"
opens() {  # from-title x y to-title: the screen opened, fitting, pictured
  at "$1" "$2" "$3"
  check_fits "$4"
  shot "$4" "$shots/${4// /-}.png"
}
leave_by_back() { at "$1" $back; wait_for 30 gone "$1" || fail "Back left $1 open"; }

start_program
check_fits Moltrevane
opens Moltrevane $settings_button Settings; leave_by_back Settings
opens Moltrevane $info_button Info
opens Info $links_button Links; leave_by_back Links
leave_by_back Info
opens Moltrevane $repeater_button Repeater
at Repeater $search_button
row_filled() { has_text Repeater 31 19 385 16; }
wait_for 30 row_filled || fail "the search filled no first row"
opens Repeater $first_info_button "Info Station"; leave_by_back "Info Station"
opens Repeater $follow_button Driving; leave_by_back Driving
leave_by_back Repeater
close_window Moltrevane
await_exit "under openbox"
echo "window manager: under openbox every screen fits the work area with its frame and is left by Back; screenshots in $shots"
