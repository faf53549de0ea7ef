#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang into their own build folder and
# runs each one, one process at a time, for SECONDS (default 60).
#
#   scripts/fuzz.sh [SECONDS]
#
# Each target starts from its committed seeds (fuzz/corpus/<target>/) and
# grows a working corpus in the build folder, which later runs reuse; the
# committed seeds are never written. A target that finds a fault leaves the
# input in $build_dir/artifacts/ and the script ends with status 1 after the
# other targets have run. The build folder is $NFP_FUZZ_BUILD_DIR (default
# build-fuzz/).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
case $seconds in
  ''|*[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 64 ;;
esac
build_dir=${NFP_FUZZ_BUILD_DIR:-$here/build-fuzz}

if ! command -v clang++ >/dev/null; then
  echo "clang++ is not installed: run scripts/install-deps.sh" >&2
  exit 1
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
mkdir -p "$build_dir"
log=$build_dir/build.log
CXX=clang++ cmake -S "$here" -B "$build_dir" -DNFP_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  >"$log" 2>&1 || { tail -n 30 "$log" >&2; exit 1; }
cmake --build "$build_dir" -j"$(nproc)" --target nfp_fuzz_targets >>"$log" 2>&1 || { tail -n 30 "$log" >&2; exit 1; }

mkdir -p "$build_dir/artifacts"
failed=()
for seeds in "$here"/fuzz/corpus/*/; do
  target=$(basename "$seeds")
  program=$build_dir/fuzz/$target
  if [ ! -x "$program" ]; then
    echo "$target: not built" >&2
    failed+=("$target")
    continue
  fi
  corpus=$build_dir/corpus/$target
  mkdir -p "$corpus"
  echo "== $target ($seconds s)"
  if "$program" "$corpus" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=8192 -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$target-" \
       >"$build_dir/$target.log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$build_dir/$target.log" | sed "s/^/$target: /" || true
  else
    echo "$target: FAULT (log: $build_dir/$target.log)" >&2
    grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$build_dir/$target.log" | head -n 8 >&2 || true
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
echo "fuzzing: every target ran ${seconds} s without a fault"
