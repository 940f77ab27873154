#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A long run of the real program under Xvfb: nmea-replay at 20× speed, the receiver unplugged
# and plugged back every 2 minutes, the repeater screen's search pressed every minute. Reports
# resident memory and open descriptors each minute, checks that the screen keeps changing and
# that the settings file is exact after the program is closed.
#   soak.sh PROGRAM NMEA_REPLAY SOURCE_DIR [MINUTES]   (30 minutes unless told)
set -euo pipefail
program=$1 replay=$2 source=$3 minutes=${4:-30}
# On a screen of the design's size: the clicks below are in its pixels.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-noreset -screen 0 243x270x24" "$0" "$@"
# One block, read whole before it runs: editing or pulling the checkout during the half hour
# must not change what bash reads next.
{
# shellcheck source=../tools/program-session.sh
. "$source/tools/program-session.sh"
start_session "$source" "$replay" --speed 20 --unplug-every 120
shots=$(mktemp -d "$home/shots.XXXXXX")

start_program
window Moltrevane > /dev/null || fail "no main window"
click Moltrevane 121 257                  # Repeater
window Repeater > /dev/null || fail "no repeater screen"

rss() { awk '/VmRSS/{print $2}' "/proc/$program_pid/status"; }
fds() { find "/proc/$program_pid/fd" -mindepth 1 | wc -l; }
unchanged=0
echo "minute  resident kB  descriptors  screen"
for minute in $(seq "$minutes"); do
  click Repeater 40 257                   # Search Stn.
  sleep 60
  shot Repeater "$shots/$minute.png"
  screen=changed
  if [ "$minute" -gt 1 ] && cmp -s "$shots/$minute.png" "$shots/$((minute - 1)).png"; then
    screen=UNCHANGED; unchanged=$((unchanged + 1))
  fi
  sample="$(rss) $(fds)"
  [ "$minute" -eq 1 ] && first=$sample
  last=$sample
  printf '%6d  %11d  %11d  %s\n' "$minute" ${sample} "$screen"
done

close_window Repeater
close_window Moltrevane
await_exit "after its windows closed"
record=$(cat "$folder/Moltrevane.cfg")
read -r first_rss first_fds <<< "$first"
read -r last_rss last_fds <<< "$last"
echo "resident memory: first ${first_rss} kB, last ${last_rss} kB; descriptors: first ${first_fds}, last ${last_fds}"
echo "minutes without a change on screen: ${unchanged} of $((minutes - 1))"
[ "$record" = "$session_settings" ] || fail "settings file reads '$record'"
echo "settings file at exit: exact (${record})"
[ "$unchanged" -eq 0 ] || fail "the screen stopped changing"
exit
}
