#!/usr/bin/env bash
# Sets up, builds and starts the program. Without a display it runs under
# xvfb-run, so the window exists even on a machine with no screen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target quillmere
if [ -z "${DISPLAY-}" ] && [ -z "${WAYLAND_DISPLAY-}" ]; then
  echo "run: no display; starting under xvfb-run"
  exec xvfb-run -a ./build/app/exe/quillmere "$@"
fi
exec ./build/app/exe/quillmere "$@"
