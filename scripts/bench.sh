#!/usr/bin/env bash
# Start-up benchmark: Varndell against a minimal dialog program and against its own resources with
# no logic (its floor), all started the same way under Wine; prints the median times and both
# ratios.  scripts/bench.sh [runs]   (default 15)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
runs=${1:-15}

"$root/scripts/setup.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Varndell minimal_dialog template_floor startup_bench

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
wine "$root/build/windows/bench/startup_bench.exe" "$runs"
