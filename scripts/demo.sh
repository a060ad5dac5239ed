#!/usr/bin/env bash
# Installs what is missing, builds the programs and runs Varndell in a demo game folder
# (build/demo-game, with a data folder and save files, Varndell.exe and Quorrin.exe beside them),
# beside a stand-in game client showing a login screen, with a demo account in slot 1.
# With $DISPLAY set, both open there: press "情報 貼付" to see the account typed into the
# stand-in; the script waits until Varndell is closed. Without one they run under Xvfb, and
# pictures are saved to artifacts/ (their paths are printed): Varndell's window, its settings
# dialog (at 96, 120 and 144 DPI), its tray menu, Quorrin with a computed result, and a login
# paste under way. That screen is 1920 x 1080, a common laptop screen, which is set to 150 % (144
# DPI) as often as not.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/setup.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target Varndell Quorrin xg_standin e2e_snapshot

game="$root/build/demo-game"
mkdir -p "$game/data"
# The stand-in logs each run's input as client-<pid>.log: only this run's are of interest.
rm -f "$game"/client-*.log
cp "$root/build/windows/switcher/Varndell.exe" "$root/build/windows/bpcalc/Quorrin.exe" "$game/"
# Stand-ins for the game client, so that "XG起動" has something to start.
standin="$root/build/windows/tests/standin/xg_standin.exe"
for client in xgpuk.exe CrossGate.EXE xgpuk2.exe; do
  cp "$standin" "$game/$client"
done
# A demo account in slot 1 for the login paste (Shift-JIS file; these lines are ASCII but for the
# section names).
if [[ ! -e "$game/VRND.INI" ]]; then
  printf '[全般]\r\nsetdata=1\r\ntitle1=デモ\r\n[貼付]\r\n01ID=demo_user\r\n01PASS=Pass.word-1\r\n01KEY=DEMO-KEY-0001\r\nspeed=2\r\n' |
    iconv -f UTF-8 -t CP932 >"$game/VRND.INI"
fi
# A save file for the installed account and one for each of the six accounts.
for save in save.dat save{1..6}.dat; do
  [[ -e "$game/data/$save" ]] || printf 'demo %s\r\n' "$save" >"$game/data/$save"
done

if [[ -n "${DISPLAY:-}" ]]; then
  export WINE_ENV_USE_DISPLAY=1
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  echo "demo: Varndell runs in $game beside a stand-in game client; press 情報 貼付 to paste"
  echo "      the demo account into it; close Varndell to end the demo"
  (cd "$game" && wine xgpuk.exe --at 300 60 &)
  (cd "$game" && wine Varndell.exe)
else
  export WINE_ENV_SCREEN=1920x1080x24
  # shellcheck source=scripts/wine-env.sh
  source "$root/scripts/wine-env.sh"
  mkdir -p "$root/artifacts"
  snapshot="$root/build/windows/tests/e2e/e2e_snapshot.exe"
  shot="$root/build/demo-shot.bmp"
  # picture <name> <program> [mode]: one picture of the demo, converted to artifacts/<name>.png.
  picture() {
    rm -f "$shot"
    wine "$snapshot" "$game/$2" "$game" "$shot" ${3:+"$3"} &&
      convert "$shot" "$root/artifacts/$1.png" && echo "demo: picture artifacts/$1.png"
  }
  picture varndell-demo Varndell.exe
  picture varndell-settings-demo Varndell.exe settings
  # at_dpi <dpi>: the screen's DPI for the programs started from now on (Wine reads it as each
  # program starts).
  at_dpi() {
    local key
    for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
      wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    done
  }
  for dpi in 120 144; do
    at_dpi "$dpi"
    picture "varndell-settings-${dpi}dpi-demo" Varndell.exe settings
  done
  at_dpi 96
  picture varndell-tray-menu-demo Varndell.exe tray
  picture quorrin-result-demo Quorrin.exe result
  # The paste picture waits for this client's window to show.
  (cd "$game" && wine xgpuk.exe --at 300 60 &)
  picture varndell-paste-demo Varndell.exe paste
fi
