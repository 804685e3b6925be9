#!/usr/bin/env bash
# Installs what is missing, builds, and starts Q5CFG. Without a display it runs the
# command-line tool against the built-in simulated unit instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/src/gui/q5cfg ]; then
  exec build/src/gui/q5cfg "$@"
fi
echo "No display: identifying the simulated unit sim:Q5T3NML3-6-AI4 with q5cfg-cli"
exec build/src/cli/q5cfg-cli --port sim:Q5T3NML3-6-AI4 identify
