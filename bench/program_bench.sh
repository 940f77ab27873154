#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The running program under Xvfb with a 1 Hz replay: time to the first window, CPU over
# a minute, peak resident memory, window size.
#   program_bench.sh PROGRAM NMEA_REPLAY SOURCE_DIR [SECONDS] [SCREEN, e.g. 800x480; the
#   design's 243x270 gives the window of the fixed-size program]
set -euo pipefail
program=$1 replay=$2 source=$3 seconds=${4:-60} screen=${5:-800x480}
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-noreset -screen 0 ${screen}x24" "$0" "$@"
# shellcheck source=../tools/program-session.sh
. "$source/tools/program-session.sh"
start_session "$source" "$replay"

# The clock starts once the display answers, at the program's start. The window is looked for
# every 5 ms (each look itself takes a few): xdotool's --sync looks only every half second,
# which would be most of what is measured.
ready_for_program
start=$(date +%s%N)
launch_program
until xdotool search --onlyvisible --name '^Moltrevane$' > /dev/null 2>&1; do
  [ $(( $(date +%s%N) - start )) -lt 30000000000 ] || fail "no window after 30 s"
  sleep 0.005
done
echo "start to first window: $(( ($(date +%s%N) - start) / 1000000 )) ms"
before=$(cpu_nanoseconds "$program_pid"); sleep "$seconds"; after=$(cpu_nanoseconds "$program_pid")
echo "CPU over ${seconds} s: $(awk -v t=$((after - before)) -v s="$seconds" 'BEGIN{printf "%.4f", 100*t/1e9/s}') % of a core"
echo "peak resident memory: $(awk '/VmHWM/{print $2, $3}' "/proc/$program_pid/status")"
echo "window on a $screen screen: $(xdotool getwindowgeometry "$(window Moltrevane)" | awk '/Geometry/{print $2}')"
kill -TERM "$program_pid"; wait "$program_pid"
