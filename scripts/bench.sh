#!/usr/bin/env bash
# Runs every benchmark program that `make bench` built.
set -eu
# These show the whole window, whose OpenGL views need a display: a virtual one when xvfb-run is there.
window_benches="bench_window_layout"
status=0
for b in "$1"/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  if [[ " $window_benches " == *" $(basename "$b") "* ]] && command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1920x1080x24" "$b" || status=1
  else
    QT_QPA_PLATFORM=offscreen "$b" || status=1
  fi
done
exit $status
