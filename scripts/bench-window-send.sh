#!/usr/bin/env bash
# Timed script: the Enviar button's send of 200 receipt files of 20 KB
# through the window on an X display (Xvfb with openbox, as a desktop has),
# against a bare libcurl loop posting the same requests, both to the local
# service over loopback TLS in the same run. Prints both times and their
# ratio (target <= 1.3).
#
#   scripts/bench-window-send.sh [FILES]
#
# The benchmark is looked up in $NFP_BUILD_DIR (default build/).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${NFP_BUILD_DIR:-$here/build}
program=$build_dir/benchmarks/app/bench_window_send
if [ ! -x "$program" ]; then
  echo "bench_window_send is not built yet: run scripts/build.sh first" >&2
  exit 1
fi
files=${1:-200}
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  status=0
  "$0" "$1" 2>/dev/null || status=$?
  kill "$wm" 2>/dev/null || true
  exit "$status"
' "$program" "$files"
