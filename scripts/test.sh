#!/usr/bin/env bash
# Sets up, builds and runs every test.
#   bash scripts/test.sh              the whole suite in ./build
#   bash scripts/test.sh --sanitize   the same under AddressSanitizer and UBSan, in ./build-asan
#   bash scripts/test.sh --tsan       the same under ThreadSanitizer, in ./build-tsan
#   --werror (with any of the above)  any compiler warning stops the build, as in CI
# Arguments after "--" go to ctest (e.g. -- -L textlib).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=build
flags=()
werror=OFF
while [ $# -gt 0 ]; do
  case "$1" in
    --sanitize)
      build=build-asan; flags+=(-DQZU_SANITIZE=ON -DQZU_BUILD_BENCH=OFF); shift
      export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" ;;
    --tsan)
      build=build-tsan; flags+=(-DQZU_TSAN=ON -DQZU_BUILD_BENCH=OFF); shift
      # QProcess starts programs through a vfork-style clone, which the tool
      # takes for a fork of a threaded process: the parent goes on threading.
      export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp:die_after_fork=0${TSAN_OPTIONS:+:$TSAN_OPTIONS}" ;;
    --werror) werror=ON; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
# Said every time, so that a CI run does not leave the option on for the next
# plain run in the same folder.
flags+=(-DQZU_WARNINGS_AS_ERRORS=$werror)

cmake -S . -B "$build" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$build"
jobs=$(nproc)
if ! ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"; then
  [ "$build" = build-asan ] || exit 1
  # LeakSanitizer's tracer may crash at the exit of a process that loaded the
  # office's libraries ("Tracer caught signal 11"), after every test in it
  # passed. Under the sanitizers the failed tests run once more, one at a
  # time: a real fault fails again.
  echo "test.sh: the failed tests once more"
  ctest --test-dir "$build" --output-on-failure --rerun-failed
fi
