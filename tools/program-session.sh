# Sourced by the scripts that run the real program on an X display: a throw-away home with
# the demo directory and settings for a receiver on COM2, nmea-replay playing the sample track
# as that receiver, and xdotool helpers for the program's windows.
# The caller sets program (its path) and starts it with start_program.

# COM2 at 4800 baud, port in use, offline locator JO31OM, target JN58SD, every filter set.
session_settings='231-JO31OM-JN58SD-11111-1111101'

fail() { echo "FAIL: $*" >&2; exit 1; }

# start_session SOURCE_DIR NMEA_REPLAY [nmea-replay options…]: sets home, folder and replay_pid.
# The replay's link is COM2 unless replay_port names another. The EXIT trap stops everything
# the script started and removes the home.
start_session() {
  local source=$1 replay=$2 port=${replay_port:-COM2}; shift 2
  home=$(mktemp -d)
  folder=$home/Programme/Moltrevane
  trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
  mkdir -p "$folder"
  sqlite3 "$folder/Moltrevane.sqlite" < "$source/data/demo-directory.sql"
  printf '%s' "$session_settings" > "$folder/Moltrevane.cfg"
  "$replay" --folder "$folder" --port "$port" "$@" "$source/data/sample-track.nmea" > /dev/null &
  replay_pid=$!
  for _ in $(seq 50); do [ -L "$folder/$port" ] && return 0; sleep 0.1; done
  fail "nmea-replay made no $port link"
}

# start_program: runs $program in the home, in the background, after PROGRAM_WRAPPER when that
# is set (Valgrind, for one); sets program_pid.
start_program() {
  # shellcheck disable=SC2086  # the wrapper is a command with its options
  HOME=$home ${PROGRAM_WRAPPER:-} "$program" &
  program_pid=$!
}

window() {  # title → window id, waiting for it to show
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1
}
click() {  # title x y (pixels inside the window)
  local id; id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
close_window() {  # Escape ends a screen as its close button does
  local id; id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + 120)) $((Y + 120)) key Escape
  for _ in $(seq 50); do xdotool search --onlyvisible --name "^$1\$" > /dev/null || return 0; sleep 0.1; done
  fail "$1 did not close"
}
shot() {  # title file.png
  local id; id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$2"
}
await_exit() {  # when: the program started by start_program ends with status 0
  timeout 30 tail --pid="$program_pid" -f /dev/null || fail "the program did not end $1"
  local status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program exited with $status $1"
  ! pgrep -f "^$program\$" > /dev/null || fail "a program is still running $1"
}
text_at() {  # title x y → the text of the control there, through the clipboard
  click "$1" "$2" "$3"
  xdotool key ctrl+a ctrl+c
  sleep 0.2
  xclip -o -selection clipboard 2> /dev/null || true
}
cpu_nanoseconds() {  # pid → its threads' time on a CPU so far; finer than /proc/PID/stat's ticks
  local total=0 task
  for task in /proc/"$1"/task/*/schedstat; do total=$((total + $(cut -d' ' -f1 "$task"))); done
  echo "$total"
}
