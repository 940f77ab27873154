#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU of the program reading the sample track through gpsd beside reading it from the replay's
# pseudo-terminal, alternating in one run, at 1 Hz and 20×; and of gpsd's own client cgps on
# the same gpsd. Needs gpsd and gpsd-clients.
#   gpsd_cpu.sh PROGRAM NMEA_REPLAY SOURCE_DIR [SECONDS] [ROUNDS] [SPEEDS]
set -euo pipefail
program=$1 replay=$2 source=$3 seconds=${4:-60} rounds=${5:-2} speeds=${6:-1 20}
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-noreset -screen 0 800x600x24" "$0" "$@"
# shellcheck source=../tools/program-session.sh
. "$source/tools/program-session.sh"

percent() { awk -v t="$1" -v s="$seconds" 'BEGIN{printf "%.4f", 100 * t / 1e9 / s}'; }
listening() { (exec 3<> "/dev/tcp/127.0.0.1/$1") 2> /dev/null; }

reader_nanoseconds() {  # the program's threads but its first: the reader
  local total=0 task
  for task in /proc/"$1"/task/*; do [ "${task##*/}" = "$1" ] || total=$((total + $(cut -d' ' -f1 "$task/schedstat"))); done
  echo "$total"
}
# measure PID: % of a core over the measuring time, the whole program and its reader thread
measure() {
  local before reader; before=$(cpu_nanoseconds "$1") reader=$(reader_nanoseconds "$1")
  sleep "$seconds"
  echo "$(percent $(( $(cpu_nanoseconds "$1") - before ))) % (reader $(percent $(( $(reader_nanoseconds "$1") - reader ))) %)"
}

# serial SPEED: the program reads the replay's pseudo-terminal on COM2
serial() {
  replay_port=COM2 start_session "$source" "$replay" --speed "$1"
  start_program; window Moltrevane > /dev/null; sleep 2
  echo "serial  ${1}x: program $(measure "$program_pid")"
  kill "$program_pid" "$replay_pid"; wait "$program_pid" "$replay_pid" 2> /dev/null || true
  rm -rf "$home"; trap - EXIT
}

# through_gpsd SPEED: gpsd reads the replay, COM2 is linked to gpsd; cgps watches the same gpsd
through_gpsd() {
  replay_port=COM5 start_session "$source" "$replay" --speed "$1"
  local port; for port in $(shuf -i 20000-60000 -n 20); do listening "$port" || break; done
  gpsd -N -n -b -S "$port" -F "$home/gpsd.sock" "$(readlink -f "$folder/COM5")" 2> /dev/null &
  local gpsd_pid=$!
  for _ in $(seq 50); do listening "$port" && break; sleep 0.1; done
  ln -s "gpsd:127.0.0.1:$port" "$folder/COM2"
  start_program; window Moltrevane > /dev/null
  script -qfc "exec cgps 127.0.0.1:$port" /dev/null > /dev/null 2>&1 &  # exec: cgps is script's own child
  local script_pid=$! cgps_pid=""
  for _ in $(seq 50); do cgps_pid=$(pgrep -P "$script_pid" -x cgps) && break; sleep 0.1; done  # ours, not any cgps
  [ -n "$cgps_pid" ] || fail "cgps did not start"
  sleep 2
  local before_cgps before_gpsd; before_cgps=$(cpu_nanoseconds "$cgps_pid") before_gpsd=$(cpu_nanoseconds "$gpsd_pid")
  echo "gpsd    ${1}x: program $(measure "$program_pid"), cgps $(percent $(( $(cpu_nanoseconds "$cgps_pid") - before_cgps ))) %," \
       "gpsd $(percent $(( $(cpu_nanoseconds "$gpsd_pid") - before_gpsd ))) %"
  kill "$program_pid" "$cgps_pid" "$script_pid" "$gpsd_pid" "$replay_pid" 2> /dev/null || true
  wait 2> /dev/null || true
  rm -rf "$home"; trap - EXIT
}

for round in $(seq "$rounds"); do
  for speed in $speeds; do
    serial "$speed"
    through_gpsd "$speed"
  done
done
