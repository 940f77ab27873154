# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the real program on an X display: a throw-away home with
# the demo directory and settings for a receiver on COM2, nmea-replay playing the sample track
# as that receiver, and xdotool helpers for the program's windows.
# The caller sets program (its path) and starts it with start_program.

# A drive ends with whoever runs it (ctest's time limit kills xvfb-run, not the drive): the
# kernel sends it SIGTERM then, and its EXIT trap stops what it started.
if [ -z "${MOLTREVANE_DRIVE:-}" ]; then MOLTREVANE_DRIVE=$$ exec setpriv --pdeathsig TERM -- "$BASH" "$0" "$@"; fi
# Put before every program a drive starts in the background: the kernel kills the program when
# the drive's shell ends, however it ends (SIGKILL runs no trap). An array, not a function: a
# function run with & is a subshell of its own, and the program would outlive the drive.
with_drive=(setpriv --pdeathsig KILL --)

# COM2 at 4800 baud, port in use, offline locator JO31OM, target JN58SD, every filter set.
session_settings='231-JO31OM-JN58SD-11111-1111101'

fail() { echo "FAIL: $*" >&2; exit 1; }

# wait_for SECONDS COMMAND…: runs the command every twentieth of a second until it succeeds;
# fails when it has not within SECONDS. A drive waits for what it needs to see, never for a
# time that a busy machine may not keep.
wait_for() {
  local end=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# new_home: a throw-away home with the program's folder; sets home and folder. The EXIT trap
# stops everything the script started and removes the home.
new_home() {
  home=$(mktemp -d)
  folder=$home/Programme/Moltrevane
  trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
  mkdir -p "$folder"
}

# start_session SOURCE_DIR NMEA_REPLAY [nmea-replay options…]: a new home with the demo
# directory and the session's settings; sets replay_pid. The replay's link is COM2 unless
# replay_port names another.
start_session() {
  local source=$1 replay=$2 port=${replay_port:-COM2}; shift 2
  new_home
  sqlite3 "$folder/Moltrevane.sqlite" < "$source/data/demo-directory.sql"
  printf '%s' "$session_settings" > "$folder/Moltrevane.cfg"
  "${with_drive[@]}" "$replay" --folder "$folder" --port "$port" "$@" "$source/data/sample-track.nmea" > /dev/null &
  replay_pid=$!
  wait_for 30 test -L "$folder/$port" || fail "nmea-replay made no $port link"
}

# start_program: runs $program in the home, in the background, after PROGRAM_WRAPPER when that
# is set (Valgrind, for one); sets program_pid.
display_answers() { xdpyinfo > /dev/null 2>&1; }
# A drive reads dark text on light, whatever the hour: the palette is pinned to the day's in
# Moltrevane.ini unless the drive chose one itself (palette = Auto follows the sun on purpose).
pin_palette() {
  grep -qs '^palette' "$folder/Moltrevane.ini" || printf 'palette = Day\n' >> "$folder/Moltrevane.ini"
}
# ready_for_program: the display answers and the palette is pinned; launch_program then starts
# it at once (a benchmark times only that).
ready_for_program() {
  wait_for 30 display_answers || fail "the display $DISPLAY does not answer"
  pin_palette
}
launch_program() {
  # shellcheck disable=SC2086  # the wrapper is a command with its options
  HOME=$home "${with_drive[@]}" ${PROGRAM_WRAPPER:-} "$program" &
  program_pid=$!
}
start_program() { ready_for_program; launch_program; }

visible() { xdotool search --onlyvisible --name "^$1\$" > /dev/null 2>&1; }
gone() { ! visible "$1"; }
window() {  # title → window id, waiting for it to show
  wait_for 60 visible "$1" || return 1
  xdotool search --onlyvisible --name "^$1\$" | head -1
}
# geometry id: the window's place on the screen as X, Y, WIDTH and HEIGHT, as the server has it
# (xdotool's counts a window manager's frame twice).
geometry() {
  eval "$(xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {print "X=" $2+0} /Absolute upper-left Y/ {print "Y=" $2+0}
                                        /Width/ {print "WIDTH=" $2+0} /Height/ {print "HEIGHT=" $2+0}')"
}
click() {  # title x y (pixels inside the window)
  local id; id=$(window "$1")
  geometry "$id"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
}
# design_point title x y: a point given in the design's pixels (1.75 a dialog unit) of the
# layout the window shows, as pixels of the window at its scale, which keeps the layout's shape
# in its middle; sets px and py. A window wider than 4:3 shows the wide layout, 256 units wide;
# one taller than 3:4 the portrait layout, 231 units tall.
design_point() {
  local id; id=$(window "$1")
  geometry "$id"
  read -r px py < <(awk -v W="$WIDTH" -v H="$HEIGHT" -v x="$2" -v y="$3" 'BEGIN {
    u = W * 3 > H * 4 ? 256 : 139; v = W * 4 < H * 3 ? 231 : 154
    s = W / u; if (H / v < s) s = H / v; if (s < 1.75) s = 1.75
    ox = int((W - int(u * s + 0.5)) / 2); oy = int((H - int(v * s + 0.5)) / 2)
    printf "%d %d\n", (ox > 0 ? ox : 0) + int(x * s / 1.75 + 0.5), (oy > 0 ? oy : 0) + int(y * s / 1.75 + 0.5) }')
}
at() {  # title x y in the design's pixels → a click there
  design_point "$1" "$2" "$3"
  xdotool mousemove $((X + px)) $((Y + py)) click 1
}
has_text() {  # title x y width height in the design's pixels: that part is not of one colour
  local left top
  design_point "$1" "$2" "$3"; left=$px top=$py
  design_point "$1" $(($2 + $4)) $(($3 + $5))
  shot "$1" "$home/part.png"
  [ "$(convert "$home/part.png" -crop "$((px - left))x$((py - top))+$left+$top" +repage -colorspace gray \
        -format '%[fx:standard_deviation > 0.05]' info:)" = 1 ]
}
close_window() {  # Escape ends a screen as its close button does
  local id; id=$(window "$1")
  geometry "$id"
  xdotool mousemove $((X + 120)) $((Y + 120)) key Escape
  wait_for 30 gone "$1" || fail "$1 did not close"
}
shot() {  # title file.png
  local id; id=$(window "$1")
  geometry "$id"
  import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$2"
}
await_exit() {  # when: the program started by start_program ends with status 0
  timeout 30 tail --pid="$program_pid" -f /dev/null || fail "the program did not end $1"
  local status=0
  wait "$program_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program exited with $status $1"
  ! still_running || fail "a program is still running $1"
}
still_running() {  # the program in this home: other drives may run it beside this one
  local environ executable; executable=$(realpath "$program")
  for environ in /proc/[0-9]*/environ; do
    [ "$(readlink "${environ%/environ}/exe" 2> /dev/null)" = "$executable" ] &&
      grep -qsxz "HOME=$home" "$environ" && return 0
  done
  return 1
}
# The clipboard holds this mark until the program has copied a control's text over it.
clipboard_mark=$'moltrevane-\a'
copied() { [ "$(xclip -o -selection clipboard 2> /dev/null)" != "$clipboard_mark" ]; }
marked() { ! copied; }
copy_text() {  # → the text of the control with the focus, through the clipboard; empty for none
  printf %s "$clipboard_mark" | xclip -selection clipboard > /dev/null 2>&1  # its server keeps no pipe of ours open
  wait_for 5 marked || fail "the clipboard keeps no text"
  xdotool key ctrl+a ctrl+c
  # An empty control copies nothing, and the mark stays.
  wait_for 5 copied && xclip -o -selection clipboard 2> /dev/null || true
}
text_at() {  # title x y → the text of the control there
  click "$1" "$2" "$3"
  copy_text
}
ocr() {  # title geometry → the text in that part of the window, enlarged smoothly and in black and white
  shot "$1" "$home/ocr.png"
  convert "$home/ocr.png" -crop "$2" +repage -resize 400% -colorspace gray -threshold 60% "$home/ocr-part.png"
  tesseract "$home/ocr-part.png" - --psm 7 2> /dev/null
}
cpu_nanoseconds() {  # pid → its threads' time on a CPU so far; finer than /proc/PID/stat's ticks
  local total=0 task
  for task in /proc/"$1"/task/*/schedstat; do total=$((total + $(cut -d' ' -f1 "$task"))); done
  echo "$total"
}
