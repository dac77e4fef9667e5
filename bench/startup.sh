#!/bin/bash
# Start-up of the whole program against a bare Qt Widgets window of the same
# size: exec to the first top-level window mapped, under Xvfb, median of N
# interleaved runs (default 10). Each process is killed once its window maps
# (so no settings are written); the program runs from a copy in a fresh
# folder, as on a first start.
#   bash bench/startup.sh [BUILD_FOLDER] [RUNS]
# QZU_PROGRAM names another build of the program to measure.
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-10}
if [ -z "${QZU_UNDER_XVFB:-}" ]; then
  QZU_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$build" "$runs"
fi
probe=$build/bench/startup/window_probe
bare=$build/bench/startup/bare_window
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "${QZU_PROGRAM:-$build/app/exe/quillmere}" "$folder/quillmere"
program=$folder/quillmere

# Prints the microseconds from exec to mapped for one run of a program.
one_run() {
  local pid window micros
  read -r pid window micros < <("$probe" start "$@")
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$micros"
}
median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }

# One warm-up of each (file cache, font cache).
one_run "$bare" >/dev/null
one_run "$program" >/dev/null
bare_times=() program_times=()
for ((i = 0; i < runs; i++)); do
  if ((i % 2)); then
    program_times+=("$(one_run "$program")")
    bare_times+=("$(one_run "$bare")")
  else
    bare_times+=("$(one_run "$bare")")
    program_times+=("$(one_run "$program")")
  fi
done
b=$(printf '%s\n' "${bare_times[@]}" | median)
p=$(printf '%s\n' "${program_times[@]}" | median)
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "bare window: median $(awk -v m="$b" 'BEGIN {printf "%.1f", m / 1000}') ms  (${bare_times[*]} us)"
echo "program:     median $(awk -v m="$p" 'BEGIN {printf "%.1f", m / 1000}') ms  (${program_times[*]} us)"
awk -v b="$b" -v p="$p" 'BEGIN {printf "ratio: %.2f x the bare window\n", p / b}'
