#!/usr/bin/env bash
# Installs, builds and runs every test through ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/build.sh"
build_dir=${NFP_BUILD_DIR:-$here/build}
export QT_QPA_PLATFORM=offscreen
cd "$build_dir"
ctest --output-on-failure -j"$(nproc)" --timeout 600
