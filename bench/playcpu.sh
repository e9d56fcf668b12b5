#!/usr/bin/env bash
# Processor time of the program and of mpv showing the same media at the same
# output size, playing and paused, in one run under Xvfb (no graphics
# processor) with openbox. Two media, both 640x360 with sound:
#   talk    a moving picture (test pattern) with an .srt beside it, written
#           as a plain mp4 (index at the end of the file)
#   lesson  the reference-style lesson: a still picture for its whole length
# Each has an .srt beside it, so the program shows the lesson text beside
# the player pane. The program opens each through its player's context menu
# and plays it in the pane; mpv plays it (with the same subtitles) with its
# plain X11 output in a window of the pane's video size, read off the X
# server (PANE=WxH to give it), so both scale the picture alike.
# Figures are clock ticks of the whole process (user + system) over SECONDS
# seconds (default 10) after 3 s of playback, then again while paused, with
# the share of one core; the program's stderr lines per second while playing
# show whether the engine keeps retrying an output. The load average is given
# first: other work on the machine slows both programs alike.
# Needs xdotool, openbox, ffmpeg, python3 and mpv (apt-get install mpv; not
# needed by the tests).
# SHOTS=<folder> keeps a screenshot of each while it plays.
# Usage: bench/playcpu.sh [program]   (default build/program/quenlow)
set -euo pipefail
program=$(realpath "${1:-build/program/quenlow}")
display=${DISPLAY_NUMBER:-:78}
seconds=${SECONDS_MEASURED:-10}
pane=${PANE:-}
hz=$(getconf CLK_TCK)
work=$(mktemp -d)
home=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work" "$home"' EXIT

command -v mpv >/dev/null || { echo "mpv is not installed (apt-get install mpv)" >&2; exit 1; }

length=40
ffmpeg -nostdin -loglevel error -y -f lavfi -i "testsrc=s=640x360:r=25:d=$length" \
  -f lavfi -i "sine=frequency=440:duration=$length" -c:v libx264 -preset veryfast -pix_fmt yuv420p \
  -c:a aac -shortest "$work/talk.mp4"
for i in $(seq 0 11); do
  printf '%d\n00:00:%02d,000 --> 00:00:%02d,500\nSentence number %d of the talk.\n第%d句。\n\n' \
    $((i + 1)) $((i * 3 + 1)) $((i * 3 + 3)) $((i + 1)) $((i + 1))
done >"$work/talk.srt"
for i in $(seq 0 11); do
  printf '%d\n00:00:%02d,000 --> 00:00:%02d,500\nLine %d of the lesson.\n第%d行。\n\n' \
    $((i + 1)) $((i * 3 + 1)) $((i * 3 + 3)) $((i + 1)) $((i + 1))
done >"$work/lesson.srt"
ffmpeg -nostdin -loglevel error -y -f lavfi -i "color=c=0x2a4d69:s=640x360:r=25:d=$length" \
  -f lavfi -i "sine=frequency=330:duration=$length" -c:v libx264 -preset veryfast -tune stillimage \
  -pix_fmt yuv420p -c:a aac -shortest "$work/lesson.mp4"

Xvfb $display -screen 0 1280x800x24 >/dev/null 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The size of the program's video window: the window of ours that holds a
# window of another X client (the engine's).
video_window_size() {
  xwininfo -root -tree | python3 -c '
import re, sys
stack = []
for line in sys.stdin:
    m = re.match(r"^(\s+)(0x[0-9a-f]+) .*?\s(\d+)x(\d+)\+-?\d+\+-?\d+", line)
    if not m:
        continue
    indent, wid, size = len(m.group(1)), int(m.group(2), 16), m.group(3) + "x" + m.group(4)
    while stack and stack[-1][0] >= indent:
        stack.pop()
    if len(stack) >= 2 and stack[-1][1] >> 21 == stack[-2][1] >> 21 and wid >> 21 != stack[-1][1] >> 21:
        print(stack[-1][2])
        break
    stack.append((indent, wid, size))
'
}
# "<ticks> ticks, <share>% of a core" over $seconds for a process.
measure() {
  local before after
  before=$(ticks "$1")
  sleep "$seconds"
  after=$(ticks "$1")
  awk -v t=$((after - before)) -v s="$seconds" -v hz="$hz" \
    'BEGIN { printf "%4d ticks, %5.1f%% of a core", t, t * 100 / (s * hz) }'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores; ${seconds} s per figure, ${hz} ticks/s"

# The program: the player pane from the ribbon, then 打开媒体 > 打开本地媒体
# in the player's context menu and the path typed into the file dialog.
run_program() {
  local media=$1 log="$work/program.log" lines_before lines_after playing paused
  HOME=$home "$program" >/dev/null 2>"$log" &
  local ours=$!
  pids+=($ours)
  sleep 5
  xdotool mousemove 196 100 click 1; sleep 1
  xdotool mousemove 640 450 click 3; sleep 1
  xdotool mousemove 700 466; sleep 0.5; xdotool mousemove 840 466; sleep 0.3
  # The file dialog takes a few seconds to come up on a busy machine.
  xdotool mousemove 840 492; sleep 0.5; xdotool click 1; sleep 4
  xdotool key ctrl+l; sleep 1; xdotool type --delay 20 "$media"; sleep 1; xdotool key Return; sleep 1
  xdotool key Return 2>/dev/null || true
  # The second Return may open the application menu, whose loop would keep
  # the program from ending.
  xdotool key Escape
  xdotool mousemove 640 790
  sleep 3
  [ -z "${PANE:-}" ] && pane=$(video_window_size)
  if [ -n "${SHOTS:-}" ]; then
    import -window root "$SHOTS/program-$2.png"
    xwininfo -root -tree >"$SHOTS/windows-$2.txt"
  fi
  lines_before=$(wc -l <"$log")
  playing=$(measure $ours)
  lines_after=$(wc -l <"$log")
  # Space pauses through the main window's playback keys; the figure is
  # taken once the pause has settled (the video output rests half a second
  # into a pause).
  xdotool key space; sleep 2
  paused=$(measure $ours)
  printf 'program %-7s playing: %s; paused: %s; stderr %d lines/s while playing (video %s)\n' "$2" "$playing" \
    "$paused" $(( (lines_after - lines_before) / seconds )) "$pane"
  kill $ours; wait $ours 2>/dev/null || true
}

run_mpv() {
  local media=$1 playing paused
  mpv --no-config --vo=x11 --ao=null --keep-open=yes --geometry="$pane" --input-ipc-server="$work/mpv.sock" \
    --sub-file="${media%.*}.srt" "$media" >/dev/null 2>&1 &
  local other=$!
  pids+=($other)
  sleep 3
  [ -n "${SHOTS:-}" ] && import -window root "$SHOTS/mpv-$2.png"
  playing=$(measure $other)
  python3 - "$work/mpv.sock" <<'EOF'
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.connect(sys.argv[1])
s.sendall(b'{"command": ["set_property", "pause", true]}\n')
s.recv(256)
EOF
  sleep 1
  paused=$(measure $other)
  printf 'mpv     %-7s playing: %s; paused: %s (window %s)\n' "$2" "$playing" "$paused" "$pane"
  kill $other; wait $other 2>/dev/null || true
}

for name in talk lesson; do
  run_program "$work/$name.mp4" $name
  run_mpv "$work/$name.mp4" $name
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
