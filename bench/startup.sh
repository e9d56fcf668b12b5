#!/usr/bin/env bash
# Start-up figures of the program under Xvfb: time from exec until the main
# window is mapped, and resident memory one second later. Median of 5 runs.
# Usage: bench/startup.sh [program]   (default build/program/quenlow)
set -euo pipefail
program=${1:-build/program/quenlow}
display=:77
Xvfb $display -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
sleep 1
kill -0 $xvfb 2>/dev/null || { echo "cannot start Xvfb on $display" >&2; exit 1; }
times=()
rss=()
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  DISPLAY=$display "$program" >/dev/null 2>"${QUENLOW_STARTUP_LOG:-/dev/null}" &
  pid=$!
  # Poll every 10 ms (xdotool's own --sync waits in half-second steps).
  until DISPLAY=$display xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "the program ended before its window appeared" >&2; exit 1; }
    sleep 0.01
  done
  end=$(date +%s%N)
  sleep 1
  times+=($(( (end - start) / 1000000 )))
  rss+=($(awk '/VmRSS/ {print int($2/1024)}' /proc/$pid/status))
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
median() { printf '%s\n' "$@" | sort -n | sed -n 3p; }
echo "window mapped after: $(median "${times[@]}") ms (runs: ${times[*]})"
echo "resident memory 1 s later: $(median "${rss[@]}") MB (runs: ${rss[*]})"
