#!/usr/bin/env bash
# Builds the Debian package nfp-envio_<version>_<arch>.deb with CPack and
# prints its path as the last line.
#
#   scripts/package.sh
#
# NFP_BUILD_DIR    the build folder (default build/)
# NFP_PACKAGE_DIR  where the package goes (default: packages/ in the build folder)
# NFP_SKIP_BUILD=1 packs the build folder as it is, without installing or building
#
# Install it with: sudo apt install ./nfp-envio_<version>_<arch>.deb
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${NFP_BUILD_DIR:-$here/build}
[ "${NFP_SKIP_BUILD:-0}" = 1 ] || bash "$here/scripts/build.sh"
[ -f "$build_dir/CPackConfig.cmake" ] || { echo "No build in $build_dir: run scripts/build.sh first." >&2; exit 1; }

package_dir=${NFP_PACKAGE_DIR:-$build_dir/packages}
mkdir -p "$package_dir"
package_dir=$(cd "$package_dir" && pwd)
log=$package_dir/cpack.log
if ! cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$package_dir" >"$log" 2>&1; then
  echo "CPack failed; the last lines of $log:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi
rm -rf "$package_dir/_CPack_Packages"
deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$log" | tail -n 1)
[ -n "$deb" ] && [ -f "$deb" ] || { echo "CPack made no package; see $log" >&2; exit 1; }
echo "$deb"
