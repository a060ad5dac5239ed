# Sourced by test.sh, demo.sh and bench.sh: prepares a display and a private Wine prefix for
# running the Windows programs, and exports what Wine needs:
#   DISPLAY      a fresh Xvfb, unless WINE_ENV_USE_DISPLAY=1 and DISPLAY is already set
#   WINEPREFIX   a per-run copy of a template prefix kept in build/wine-template
#   LANG, LC_ALL ja_JP.UTF-8, so that Wine's ANSI code page is 932
#   WINEDEBUG, WINEDLLOVERRIDES  quiet, and no Mono/Gecko prompts
# It installs an EXIT trap that runs wine_env_cleanup (ends our wineserver and Xvfb, removes the
# per-run prefix); a caller with its own EXIT trap calls wine_env_cleanup from it.
# shellcheck shell=bash

wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_env_template="$wine_env_root/build/wine-template"
wine_env_marlett=/usr/share/wine/fonts/marlett.ttf  # Debian's fonts-wine, which wine depends on
wine_env_xvfb_pid=
wine_env_run_prefix=

export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

wine_env_cleanup() {
  if [[ -n "$wine_env_run_prefix" ]]; then
    WINEPREFIX="$wine_env_run_prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$wine_env_run_prefix" timeout 20 wineserver -w 2>/dev/null || true
    rm -rf "$wine_env_run_prefix"
    wine_env_run_prefix=
  fi
  if [[ -n "$wine_env_xvfb_pid" ]]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
    wine_env_xvfb_pid=
  fi
}

# Starts Xvfb on the first free display from :90 and waits for its socket.
wine_env_start_xvfb() {
  local n
  for ((n = 90; n < 190; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    wine_env_xvfb_pid=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
      if [[ -S /tmp/.X11-unix/X$n ]]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$wine_env_xvfb_pid" 2>/dev/null || break  # lost the display to someone else
      sleep 0.1
    done
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
    wine_env_xvfb_pid=
  done
  echo "wine-env: no free X display" >&2
  return 1
}

# The template prefix: wineboot once, then the registry settings of scripts/wine/prefix.reg.
# Rebuilt when the Wine version or that file changes.
wine_env_build_template() {
  local stamp
  stamp="$(wine --version 2>/dev/null) $(sha256sum "$wine_env_root/scripts/wine/prefix.reg" | cut -c1-16) marlett"
  if [[ -f "$wine_env_template/.cgtools-stamp" && "$(cat "$wine_env_template/.cgtools-stamp")" == "$stamp" ]]; then
    return 0
  fi
  echo "wine-env: creating the template Wine prefix (once)"
  local tmp="$wine_env_template.new.$$"
  rm -rf "$tmp"
  mkdir -p "$(dirname "$tmp")"
  # regedit reads UTF-16 with a byte-order mark; the source is UTF-8 with LF line ends.
  local reg="$wine_env_root/build/prefix-utf16.reg"
  { printf '\xff\xfe'; sed 's/$/\r/' "$wine_env_root/scripts/wine/prefix.reg" | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  (
    export WINEPREFIX="$tmp"
    wineboot -i >/dev/null 2>&1
    wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1
    wineserver -w
    # Caption buttons are glyphs of the Marlett font; this Wine does not find its own copy, and
    # without it the close box shows the letter "r". Fonts in the prefix's Fonts folder are found.
    cp "$wine_env_marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
  ) || { rm -rf "$tmp"; echo "wine-env: wineboot failed" >&2; return 1; }
  if ! grep -q '"Managed"="N"' "$tmp/user.reg" || ! grep -q 'IPAPGothic' "$tmp/system.reg" ||
    [[ ! -f "$tmp/drive_c/windows/Fonts/marlett.ttf" ]]; then
    rm -rf "$tmp"
    echo "wine-env: the registry settings did not reach the template prefix" >&2
    return 1
  fi
  echo "$stamp" >"$tmp/.cgtools-stamp"
  rm -rf "$wine_env_template"
  mv "$tmp" "$wine_env_template"
}

wine_env_setup() {
  if [[ "${WINE_ENV_USE_DISPLAY:-0}" == 1 && -n "${DISPLAY:-}" ]]; then
    echo "wine-env: using display $DISPLAY"
  else
    wine_env_start_xvfb || return 1
    echo "wine-env: Xvfb on $DISPLAY (pid $wine_env_xvfb_pid)"
  fi
  mkdir -p "$wine_env_root/build"
  (
    flock 9
    wine_env_build_template
  ) 9>"$wine_env_root/build/wine-template.lock" || return 1
  # Hard links share the unchanging files; the registry files are rewritten in place, so
  # they get real copies.
  wine_env_run_prefix=$(mktemp -d "$wine_env_root/build/wine-run.XXXXXX")
  cp -al "$wine_env_template/." "$wine_env_run_prefix/"
  local f
  for f in "$wine_env_run_prefix"/*.reg; do
    cp --remove-destination "$wine_env_template/$(basename "$f")" "$f"
  done
  export WINEPREFIX="$wine_env_run_prefix"
  # A persistent server keeps each program start of a test run quick.
  wineserver -p
  # Start the prefix's background services now, with their output going nowhere: started by a
  # test, they would inherit its output pipes and keep ctest waiting for them to close.
  wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null || true
  echo "wine-env: WINEPREFIX=$WINEPREFIX"
}

trap wine_env_cleanup EXIT
# Interrupted runs leave through the EXIT trap too.
trap 'exit 130' INT
trap 'exit 143' TERM
wine_env_setup || return 1
