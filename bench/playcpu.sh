#!/usr/bin/env bash
# Processor time and memory while a lesson plays, the program and mpv side by
# side in one run: a 31 s 640x360 lesson with an .srt beside it plays under
# Xvfb (no graphics processor) with openbox; after 3 s of playback the whole
# process's CPU share is taken over 20 s from /proc, and the resident memory
# is sampled each second (the largest sample is given).
# Needs xdotool, openbox, ffmpeg and mpv (apt-get install mpv; not needed by
# the tests). Usage: bench/playcpu.sh [program]   (default build/program/quenlow)
set -euo pipefail
program=$(realpath "${1:-build/program/quenlow}")
display=:78
work=$(mktemp -d)
home=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null || true; rm -rf "$work" "$home"' EXIT

ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=s=640x360:d=31 -f lavfi -i "sine=frequency=440:duration=31" \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$work/talk.mp4"
for i in 0 1 2 3 4 5 6 7; do
  printf '%d\n00:00:%02d,000 --> 00:00:%02d,500\nSentence number %d of the lesson.\n第%d句。\n\n' \
    $((i + 1)) $((i * 3 + 1)) $((i * 3 + 3)) $((i + 1)) $((i + 1))
done >"$work/talk.srt"

Xvfb $display -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_mb() { awk '/VmRSS/ {print int($2 / 1024)}' "/proc/$1/status"; }
# CPU share (% of one core) and largest resident memory of a process over 20 s.
measure() {
  local pid=$1 hz before after peak=0 now
  hz=$(getconf CLK_TCK)
  before=$(ticks "$pid")
  for _ in $(seq 20); do
    sleep 1
    now=$(rss_mb "$pid")
    [ "$now" -gt "$peak" ] && peak=$now
  done
  after=$(ticks "$pid")
  echo "$(( (after - before) * 100 / (20 * hz) ))% of a core, ${peak} MB"
}

# The program: open the lesson through the player's context menu.
export DISPLAY=$display
HOME=$home "$program" >/dev/null 2>&1 &
ours=$!
sleep 4
xdotool mousemove 196 100 click 1; sleep 1
xdotool mousemove 640 450 click 3; sleep 1
xdotool mousemove 700 466; sleep 0.5; xdotool mousemove 840 466; sleep 0.3
xdotool mousemove 840 492; sleep 0.3; xdotool click 1; sleep 2
xdotool key ctrl+l; sleep 0.5; xdotool type --delay 10 "$work/talk.mp4"; xdotool key Return; sleep 1
xdotool key Return 2>/dev/null || true
sleep 3
echo "program: $(measure $ours)"
kill $ours; wait $ours 2>/dev/null || true

# mpv with its plain X11 output and the same subtitles.
mpv --no-config --vo=x11 --ao=null --geometry=640x360 --sub-file="$work/talk.srt" "$work/talk.mp4" >/dev/null 2>&1 &
other=$!
sleep 3
echo "mpv:     $(measure $other)"
kill $other; wait $other 2>/dev/null || true
