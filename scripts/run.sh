#!/usr/bin/env bash
# Builds everything, starts the local service with demo users and prints how
# to reach it. (The program's window is started here once it exists.)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/build.sh"
echo "Built. The local service and the program are started here as they land."
