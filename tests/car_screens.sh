#!/usr/bin/env bash
# The program on a car's 7-inch panel (xvfb-run's screen, 800 × 480 or 480 × 800): the window's
# size after start, every screen in the day and the night palette kept as screenshots, and the
# palette chosen by the sun: night for a fix at 22:00 UTC in December at 48° N 11° E, day at 12:00.
#
#   car_screens.sh PROGRAM NMEA_REPLAY SOURCE_DIR SCREENSHOT_DIR   (inside xvfb-run)
set -euo pipefail
program=$1 replay=$2 source=$3 shots=$4
mkdir -p "$shots"
# shellcheck source=../tools/program-session.sh
. "$source/tools/program-session.sh"
screen=$(xdpyinfo | awk '/dimensions:/{print $2}')
screen_w=${screen%x*} screen_h=${screen#*x}

# A minute of fixes at 48° N 11° E on 2026-12-07 from the hour given.
track() {
  local second body sum i
  for second in $(seq -w 0 59); do
    body="GPRMC,$1$(printf %02d 0)$second.000,A,4800.0000,N,01100.0000,E,0.0,0.0,071226,,"
    sum=0; for ((i = 0; i < ${#body}; i++)); do sum=$((sum ^ $(printf %d "'${body:i:1}"))); done
    printf '$%s*%02X\r\n' "$body" "$sum"
  done
}
at() {  # title x y in the design's pixels → a click there at the window's scale
  local id; id=$(window "$1")
  eval "$(xdotool getwindowgeometry --shell "$id")"
  read -r px py < <(awk -v W="$WIDTH" -v H="$HEIGHT" -v x="$2" -v y="$3" 'BEGIN {
    s = W / 139; if (H / 154 < s) s = H / 154; if (s < 1.75) s = 1.75
    ox = int((W - int(139 * s + 0.5)) / 2); oy = int((H - int(154 * s + 0.5)) / 2)
    printf "%d %d\n", (ox > 0 ? ox : 0) + int(x * s / 1.75 + 0.5), (oy > 0 ? oy : 0) + int(y * s / 1.75 + 0.5) }')
  xdotool mousemove $((X + px)) $((Y + py)) click 1
}
full_screen_and_back() {  # F11 fills the screen, and F11 again restores the window
  local size
  eval "$(xdotool getwindowgeometry --shell "$(window Moltrevane)")"
  size=${WIDTH}x$HEIGHT
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) key F11; sleep 1
  # Without a window manager FLTK makes a full-screen window of its own, which has no title.
  xwininfo -root -tree | grep -q " ${screen}+0+0 " || fail "F11 did not fill the $screen screen"
  import -window root "$shots/full-screen.png"
  xdotool key F11; sleep 1
  eval "$(xdotool getwindowgeometry --shell "$(window Moltrevane)")"
  [ "${WIDTH}x$HEIGHT" = "$size" ] || fail "F11 again left the window ${WIDTH}x$HEIGHT, not $size"
}
background() { convert "$1" -format '%[fx:round(255*mean)]' -crop 4x4+2+2 info:; }  # a corner's brightness

drive() {  # hour palette: every screen's screenshot, and the palette the main screen chose
  track "$1" > "$home/track.nmea"
  "$replay" --folder "$folder" --port COM2 "$home/track.nmea" > /dev/null &
  local replay_pid=$!
  for _ in $(seq 50); do [ -L "$folder/COM2" ] && break; sleep 0.1; done
  start_program
  local id; id=$(window Moltrevane)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  if [ "$screen_w" -gt "$screen_h" ]; then
    [ "$HEIGHT" -ge 460 ] || fail "at $screen the window is only $HEIGHT pixels high"
  else
    [ "$WIDTH" -ge 460 ] || fail "at $screen the window is only $WIDTH pixels wide"
  fi
  sleep 2.5
  shot Moltrevane "$shots/$2-main.png"
  local brightness; brightness=$(background "$shots/$2-main.png")
  case $2 in
    night) [ "$brightness" -lt 40 ] || fail "a fix at $1:00 UTC in December shows the day palette ($brightness)";;
    day) [ "$brightness" -gt 200 ] || fail "a fix at $1:00 UTC shows the night palette ($brightness)";;
  esac
  [ "$2" = night ] || full_screen_and_back
  at Moltrevane 40 257; window Settings > /dev/null; sleep 1.2; shot Settings "$shots/$2-settings.png"; close_window Settings
  at Moltrevane 121 257; window Repeater > /dev/null
  at Repeater 40 257; sleep 1.2; shot Repeater "$shots/$2-repeater.png"
  at Repeater 228 14; window "Info Station" > /dev/null; shot "Info Station" "$shots/$2-station-info.png"
  close_window "Info Station"; close_window Repeater
  at Moltrevane 201 257; window Info > /dev/null; shot Info "$shots/$2-info.png"
  at Info 178 246; window Links > /dev/null; shot Links "$shots/$2-links.png"; close_window Links; close_window Info
  close_window Moltrevane
  await_exit "after its window closed"
  kill "$replay_pid"; wait "$replay_pid" || true
}

home=$(mktemp -d)
folder=$home/Programme/Moltrevane
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$home"' EXIT
mkdir -p "$folder"
sqlite3 "$folder/Moltrevane.sqlite" < "$source/data/demo-directory.sql"
printf '231-JO31OM-JN58SD-11111-1111101' > "$folder/Moltrevane.cfg"
drive 12 day
drive 22 night
echo "car screens at $screen: the window fits, the sun chose day at 12:00 and night at 22:00 UTC; screenshots in $shots"
