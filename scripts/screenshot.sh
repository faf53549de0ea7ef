#!/usr/bin/env bash
# Starts the program on a virtual screen (Xvfb with openbox as the window
# manager) and saves a PNG of its main window, so a person can look at it.
#
#   scripts/screenshot.sh [out.png] [-- program arguments]
#
# NFP_BUILD_DIR   build folder holding src/app/nfp-envio (default build/)
# NFP_SHOT_WAIT   seconds to wait after the window appears (default 2)
# NFP_SHOT_SCREEN whole screen instead of the window when set to 1
# XDG_CONFIG_HOME is passed on: point it at a throwaway folder to show demo
# profiles without touching your own.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$PWD/nfp-envio.png}
[ $# -gt 0 ] && shift
[ "${1:-}" = "--" ] && shift
build_dir=${NFP_BUILD_DIR:-$here/build}
program=$build_dir/src/app/nfp-envio
[ -x "$program" ] || { echo "No program at $program; build first (scripts/build.sh)." >&2; exit 1; }
for tool in Xvfb openbox import xwininfo; do
  command -v "$tool" >/dev/null || { echo "Missing $tool; run scripts/install-deps.sh." >&2; exit 1; }
done

# A display number nobody uses.
display=
for n in $(seq 90 199); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "No free X display number." >&2; exit 1; }

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display
unset QT_QPA_PLATFORM
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
"$program" "$@" &
pids+=($!)

title="Software de Envio de arquivos da Nota Fiscal Paulista"
window=
for _ in $(seq 1 100); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "The main window did not appear." >&2; exit 1; }
sleep "${NFP_SHOT_WAIT:-2}"
if [ "${NFP_SHOT_SCREEN:-0}" = 1 ]; then
  import -window root "$out"
else
  import -window "$window" -frame "$out" 2>/dev/null || import -window "$window" "$out"
fi
echo "Saved $out"
