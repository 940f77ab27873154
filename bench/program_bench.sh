#!/usr/bin/env bash
# The running program under Xvfb with a 1 Hz replay: time to the first window, CPU over
# a minute, peak resident memory.   program_bench.sh PROGRAM NMEA_REPLAY SOURCE_DIR [SECONDS]
set -euo pipefail
program=$1 replay=$2 source=$3 seconds=${4:-60}
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
home=$(mktemp -d); folder=$home/Programme/Moltrevane; mkdir -p "$folder"
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$home"' EXIT
sqlite3 "$folder/Moltrevane.sqlite" < "$source/data/demo-directory.sql"
printf '231-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
"$replay" --folder "$folder" --port COM2 "$source/data/sample-track.nmea" > /dev/null &
sleep 0.5
start=$(date +%s%N)
HOME=$home "$program" & pid=$!
xdotool search --sync --onlyvisible --name '^Moltrevane$' > /dev/null
echo "start to first window: $(( ($(date +%s%N) - start) / 1000000 )) ms"
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks); sleep "$seconds"; after=$(ticks)
hz=$(getconf CLK_TCK)
echo "CPU over ${seconds} s: $(awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN{printf "%.3f", 100*t/hz/s}') % of a core"
echo "peak resident memory: $(awk '/VmHWM/{print $2, $3}' "/proc/$pid/status")"
kill -TERM "$pid"; wait "$pid"
