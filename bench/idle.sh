#!/bin/bash
# The idle program under Xvfb against plain Qt Widgets peers: CPU time
# (% of one core) and wake-ups (context switches of all threads, per second)
# over a window of N seconds (default 10). The peers, each measured alone:
# a bare window, the same window with an empty 20 ms timer (the floor of
# anything that ticks at the glide's pace) and with a 210 x 70 opaque picture
# moved by one pixel every 20 ms (the floor of the glide itself). Then the
# program while the banner glides, with the window minimised (WM_STATE
# iconic and unmapped, as a window manager does it), and restored.
#   bash bench/idle.sh [BUILD_FOLDER] [SECONDS]
# QZU_PROGRAM names another build of the program to measure.
#
# CPU time on a shared machine moves with the load; with QZU_IDLE_CALLGRIND=1
# the script counts instead the instructions the process runs per tick of its
# timer (QTimer::timeout calls) under callgrind, once the window is up, for
# the two ticking peers and the program: figures that hold under any load
# (system calls and the X server's work are not in them).
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
# Starts peer $1, lets it settle, measures it, ends it.
peer() {
  local peer_pid
  read -r peer_pid _ < <("$probe" start "$build/bench/startup/$1")
  sleep 3
  measure "$peer_pid"
  kill -9 "$peer_pid" 2>/dev/null || true
}

# Prints "INSTRUCTIONS per tick (TICKS ticks)" of program $1 under callgrind.
instructions_per_tick() {
  local out vpid
  out=$(mktemp -p "$folder")
  read -r vpid _ < <("$probe" start valgrind -q --tool=callgrind --instr-atstart=no --callgrind-out-file="$out" "$1")
  sleep 3
  callgrind_control -i on "$vpid" >/dev/null 2>&1
  sleep "$seconds"
  callgrind_control -d "$vpid" >/dev/null 2>&1
  sleep 1
  kill -9 "$vpid" 2>/dev/null || true
  # The dump holds the counts since instrumentation began; a call line
  # follows the cfn= line that names (or refers to) its callee.
  awk '/^c?fn=\(/ {
         id = $1; sub(/^c?fn=/, "", id); name = $0; sub(/^[^ ]* ?/, "", name)
         if (name != "") names[id] = name
         callee = /^cfn=/ ? names[id] : ""; next }
       /^calls=/ { if (callee ~ /QTimer::timeout/) { split($0, c, /[= ]/); ticks += c[2] } callee = ""; next }
       /^totals:/ { total = $2 }
       END { if (ticks) printf "%.0f instructions per tick (%d ticks)", total / ticks, ticks; else print "no ticks" }' \
    "$out".1
}

pid=
trap 'if [ -n "$pid" ]; then kill -9 $pid 2>/dev/null; fi; rm -rf "$folder"' EXIT
if [ -n "${QZU_IDLE_CALLGRIND:-}" ]; then
  trap 'rm -rf "$folder"' EXIT
  echo "bare, empty 20 ms timer: $(instructions_per_tick "$build/bench/startup/timer_window")"
  echo "bare, picture gliding:   $(instructions_per_tick "$build/bench/startup/glide_window")"
  echo "program, gliding:        $(instructions_per_tick "$folder/quillmere")"
  exit 0
fi
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "bare window, shown:      $(peer bare_window)"
echo "bare, empty 20 ms timer: $(peer timer_window)"
echo "bare, picture gliding:   $(peer glide_window)"
read -r pid window _ < <("$probe" start "$folder/quillmere")
sleep 3
echo "program, gliding:        $(measure "$pid")"
"$probe" iconify "$window"
sleep 1
echo "program, minimised:      $(measure "$pid")"
"$probe" restore "$window"
sleep 1
echo "program, restored:       $(measure "$pid")"
