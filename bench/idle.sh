#!/bin/bash
# The idle program under Xvfb against a bare Qt Widgets window: CPU time
# (% of one core) and wake-ups (context switches of all threads, per second)
# over a window of N seconds (default 10), while the banner glides, then
# with the window minimised (WM_STATE iconic and unmapped, as a window
# manager does it).
#   bash bench/idle.sh [BUILD_FOLDER] [SECONDS]
# QZU_PROGRAM names another build of the program to measure.
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-10}
if [ -z "${QZU_UNDER_XVFB:-}" ]; then
  QZU_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$build" "$seconds"
fi
probe=$build/bench/startup/window_probe
folder=$(mktemp -d)
cp "${QZU_PROGRAM:-$build/app/exe/quillmere}" "$folder/quillmere"
ticks=$(getconf CLK_TCK)

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'; }
# Prints "CPU% WAKEUPS/s" of process $1 over the window.
measure() {
  local c0 s0 c1 s1
  c0=$(cpu_ticks "$1"); s0=$(switches "$1")
  sleep "$seconds"
  c1=$(cpu_ticks "$1"); s1=$(switches "$1")
  awk -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v t="$seconds" -v hz="$ticks" \
    'BEGIN {printf "cpu %.2f %% of a core, %.1f wake-ups/s", 100 * c / hz / t, s / t}'
}

read -r bare_pid bare_window _ < <("$probe" start "$build/bench/startup/bare_window")
read -r pid window _ < <("$probe" start "$folder/quillmere")
sleep 3
trap 'kill -9 $pid $bare_pid 2>/dev/null; rm -rf "$folder"' EXIT
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "bare window, shown:      $(measure "$bare_pid")"
echo "program, gliding:        $(measure "$pid")"
"$probe" iconify "$window"
sleep 1
echo "program, minimised:      $(measure "$pid")"
"$probe" restore "$window"
sleep 1
echo "program, restored:       $(measure "$pid")"
