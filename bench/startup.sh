#!/usr/bin/env bash
# Start-up figures under Xvfb: time from exec until the main window is mapped,
# and resident memory one second later, median and best of 9 runs (RUNS), for the program and
# in the same run for its peers: a bare toolkit frame with one list
# (build-bench/bench/bareframe) and mpv opening a video (when installed).
# Usage: bench/startup.sh [program] [bare frame]
#   (defaults build/program/quenlow, build-bench/bench/bareframe)
set -euo pipefail
runs=${RUNS:-9}
program=${1:-build/program/quenlow}
bare=${2:-build-bench/bench/bareframe}
display=:77
Xvfb $display -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
kill -0 $xvfb 2>/dev/null || { echo "cannot start Xvfb on $display" >&2; exit 1; }
best() { printf "%s\n" "$@" | sort -n | head -1; }
median() { printf "%s\n" "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }

# measure <name> <command...>: $runs starts, each ended after the figures.
measure() {
  local name=$1
  shift
  local times=() rss=()
  for run in $(seq 1 $runs); do
    start=$(date +%s%N)
    HOME=$work DISPLAY=$display "$@" >/dev/null 2>"${QUENLOW_STARTUP_LOG:-/dev/null}" &
    pid=$!
    # Poll every 10 ms (xdotool's own --sync waits in half-second steps).
    until DISPLAY=$display xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
      kill -0 "$pid" 2>/dev/null || { echo "$name ended before its window appeared" >&2; return 1; }
      sleep 0.01
    done
    end=$(date +%s%N)
    sleep 1
    times+=($(( (end - start) / 1000000 )))
    rss+=($(awk '/VmRSS/ {print int($2/1024)}' /proc/$pid/status))
    kill "$pid"; wait "$pid" 2>/dev/null || true
  done
  echo "$name: window mapped after $(median "${times[@]}") ms, best $(best "${times[@]}") ms (runs: ${times[*]}), resident memory 1 s later $(median "${rss[@]}") MB"
}

measure program "$program"
[ -x "$bare" ] && measure "bare frame" "$bare"
if command -v mpv >/dev/null; then
  ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=s=640x360:d=10 -c:v libx264 -preset ultrafast \
    -pix_fmt yuv420p "$work/clip.mp4"
  measure mpv mpv --no-config --vo=x11 --ao=null --pause "$work/clip.mp4"
fi
