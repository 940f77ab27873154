#!/usr/bin/env bash
# The running program under Xvfb with a 1 Hz replay: time to the first window, CPU over
# a minute, peak resident memory.   program_bench.sh PROGRAM NMEA_REPLAY SOURCE_DIR [SECONDS]
set -euo pipefail
program=$1 replay=$2 source=$3 seconds=${4:-60}
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
# shellcheck source=../tools/program-session.sh
. "$source/tools/program-session.sh"
start_session "$source" "$replay"

start=$(date +%s%N)
start_program
xdotool search --sync --onlyvisible --name '^Moltrevane$' > /dev/null
echo "start to first window: $(( ($(date +%s%N) - start) / 1000000 )) ms"
ticks() { awk '{print $14 + $15}' "/proc/$program_pid/stat"; }
before=$(ticks); sleep "$seconds"; after=$(ticks)
hz=$(getconf CLK_TCK)
echo "CPU over ${seconds} s: $(awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN{printf "%.3f", 100*t/hz/s}') % of a core"
echo "peak resident memory: $(awk '/VmHWM/{print $2, $3}' "/proc/$program_pid/status")"
kill -TERM "$program_pid"; wait "$program_pid"
