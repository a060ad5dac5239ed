#!/usr/bin/env bash
# Benchmarks under Wine:
#   startup: Varndell against a minimal dialog program and against its own resources with no
#            logic (its floor), all started the same way; prints the median times and both ratios.
#   swap:    an account switch with a 1 KiB and with a 1 GiB save file; prints the median time of
#            a switch for each and their ratio.
# scripts/bench.sh [startup|swap] [runs]   (default: both; 15 starts, 41 switches)
#   paste:   the login paste into the stand-in game client at speeds 1, 5 and 10: key hold-time
#            errors as the client saw them and the duration against the nominal schedule.
# scripts/bench.sh paste [rounds]          (default 1 round per speed)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
which=all
if [[ ${1:-} == startup || ${1:-} == swap ]]; then
  which=$1
  shift
fi
runs=${1:-}

"$root/scripts/setup.sh"
cmake --preset windows >/dev/null
if [[ "${1:-}" == paste ]]; then
  cmake --build --preset windows --target Varndell xg_standin paste_bench
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  wine "$root/build/windows/bench/paste_bench.exe" "${2:-1}"
  exit
fi
cmake --build --preset windows --target Varndell minimal_dialog template_floor startup_bench save_swap_bench

# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
if [[ $which != swap ]]; then
  wine "$root/build/windows/bench/startup_bench.exe" "${runs:-15}"
fi
if [[ $which != startup ]]; then
  wine "$root/build/windows/bench/save_swap_bench.exe" "${runs:-41}"
fi
