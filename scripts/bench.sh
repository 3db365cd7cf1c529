#!/usr/bin/env bash
# Runs every benchmark program that `make bench` built.
set -eu
status=0
for b in "$1"/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" || status=1
done
exit $status
