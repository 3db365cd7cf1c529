#!/usr/bin/env bash
# Starts the program; a desktop program needs a display.
set -eu
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: OvrelTrainer needs a window system (set DISPLAY, or run under xvfb-run)." >&2
  exit 1
fi
exec "$1"
