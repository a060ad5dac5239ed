#!/usr/bin/env bash
# Installs what is missing, builds the programs and runs Varndell in a demo game folder
# (build/demo-game, with a data folder and save files, Varndell.exe and Quorrin.exe beside them).
# With $DISPLAY set, Varndell opens there and the script waits until it is closed; without one it
# runs under Xvfb, a picture of its window is saved to artifacts/varndell-demo.png and it is closed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Varndell Quorrin minimal_dialog e2e_snapshot

game="$root/build/demo-game"
mkdir -p "$game/data"
cp "$root/build/windows/switcher/Varndell.exe" "$root/build/windows/bpcalc/Quorrin.exe" "$game/"
# Stand-ins for the game client, so that "XG起動" has something to start.
for client in xgpuk.exe CrossGate.EXE xgpuk2.exe; do
  [[ -e "$game/$client" ]] || cp "$root/build/windows/bench/minimal_dialog.exe" "$game/$client"
done
# A save file for the installed account and one for each of the six accounts.
for save in save.dat save{1..6}.dat; do
  [[ -e "$game/data/$save" ]] || printf 'demo %s\r\n' "$save" >"$game/data/$save"
done

if [[ -n "${DISPLAY:-}" ]]; then
  export WINE_ENV_USE_DISPLAY=1
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  echo "demo: Varndell runs in $game; close it to end the demo"
  (cd "$game" && wine Varndell.exe)
else
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  mkdir -p "$root/artifacts"
  shot="$root/build/varndell-demo.bmp"
  rm -f "$shot"
  wine "$root/build/windows/tests/e2e/e2e_snapshot.exe" "$game/Varndell.exe" "$game" "$shot"
  convert "$shot" "$root/artifacts/varndell-demo.png"
  echo "demo: screenshot in artifacts/varndell-demo.png"
fi
