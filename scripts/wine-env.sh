# Sourced by test.sh, demo.sh and bench.sh: prepares a display and a private Wine prefix for
# running the Windows programs, and exports what Wine needs:
#   DISPLAY      a fresh Xvfb (WINE_ENV_SCREEN, 1280x1024x24 unless set), unless
#                WINE_ENV_USE_DISPLAY=1 and DISPLAY is already set
#   WINEPREFIX   a per-run copy of a template prefix kept in build/wine-template
#   LANG, LC_ALL ja_JP.UTF-8, so that Wine's ANSI code page is 932
#   WINEDEBUG, WINEDLLOVERRIDES  quiet, and no Mono/Gecko prompts
# With WINE_ENV_DESKTOPS=N it prepares N such desktops (a display with a prefix of its own, so
# that programs on one never see the focus, input or clipboard of another) and exports
# WINE_DESKTOP_<i>_DISPLAY and WINE_DESKTOP_<i>_PREFIX for i = 0..N-1; desktop 0 is the one in
# DISPLAY and WINEPREFIX. scripts/wine/run-on-desktop.sh runs a test on the desktop ctest gave it.
# With WINE_ENV_TEMPLATE_ONLY=1 it only makes the template prefix, if it is missing or stale.
# It installs an EXIT trap that runs wine_env_cleanup (ends our wineservers and Xvfbs, removes the
# per-run prefixes); a caller with its own EXIT trap calls wine_env_cleanup from it.
# shellcheck shell=bash

wine_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_env_template="$wine_env_root/build/wine-template"
wine_env_marlett=/usr/share/wine/fonts/marlett.ttf  # Debian's fonts-wine, which wine depends on
wine_env_xvfb_pids=()
wine_env_run_prefixes=()

export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

wine_env_cleanup() {
  local prefix pid
  for prefix in "${wine_env_run_prefixes[@]}"; do
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" timeout 20 wineserver -w 2>/dev/null || true
    rm -rf "$prefix"
  done
  wine_env_run_prefixes=()
  for pid in "${wine_env_xvfb_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  wine_env_xvfb_pids=()
}

# Starts Xvfb on the first free display from :90, waits for its socket and sets
# wine_env_display to it.
wine_env_start_xvfb() {
  local n pid
  for ((n = 90; n < 190; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 "${WINE_ENV_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    local tries
    for ((tries = 0; tries < 100; tries++)); do
      if [[ -S /tmp/.X11-unix/X$n ]]; then
        wine_env_xvfb_pids+=("$pid")
        wine_env_display=":$n"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break  # lost the display to someone else
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
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

# The display of desktop <i> in wine_env_display: a fresh Xvfb, or for desktop 0 the one in
# DISPLAY when WINE_ENV_USE_DISPLAY=1.
wine_env_desktop_display() {
  if [[ $1 == 0 && "${WINE_ENV_USE_DISPLAY:-0}" == 1 && -n "${DISPLAY:-}" ]]; then
    wine_env_display=$DISPLAY
    echo "wine-env: using display $DISPLAY"
  else
    wine_env_start_xvfb || return 1
    echo "wine-env: Xvfb on $wine_env_display"
  fi
}

# Desktop <i> on wine_env_display: a private copy of the template prefix with its server running.
wine_env_desktop_prefix() {
  local id=$1 prefix f
  # Hard links share the unchanging files; the registry files are rewritten in place, so
  # they get real copies.
  prefix=$(mktemp -d "$wine_env_root/build/wine-run.XXXXXX")
  wine_env_run_prefixes+=("$prefix")
  cp -al "$wine_env_template/." "$prefix/"
  for f in "$prefix"/*.reg; do
    cp --remove-destination "$wine_env_template/$(basename "$f")" "$f"
  done
  (
    export DISPLAY=$wine_env_display WINEPREFIX=$prefix
    # A persistent server keeps each program start of a test run quick.
    wineserver -p
    # Start the prefix's background services now, with their output going nowhere: started by
    # a test, they would inherit its output pipes and keep ctest waiting for them to close.
    wine rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null || true
  )
  export "WINE_DESKTOP_${id}_DISPLAY=$wine_env_display" "WINE_DESKTOP_${id}_PREFIX=$prefix"
  echo "wine-env: desktop $id: WINEPREFIX=$prefix"
}

# The template prefix, made on the first desktop's display; whoever comes second waits for it.
wine_env_template() {
  export DISPLAY=$wine_env_display
  mkdir -p "$wine_env_root/build"
  (
    flock 9
    wine_env_build_template
  ) 9>"$wine_env_root/build/wine-template.lock"
}

wine_env_setup() {
  local id
  for ((id = 0; id < ${WINE_ENV_DESKTOPS:-1}; id++)); do
    wine_env_desktop_display "$id" || return 1
    if ((id == 0)); then wine_env_template || return 1; fi
    wine_env_desktop_prefix "$id" || return 1
  done
  export WINEPREFIX=$WINE_DESKTOP_0_PREFIX
}

trap wine_env_cleanup EXIT
# Interrupted runs leave through the EXIT trap too.
trap 'exit 130' INT
trap 'exit 143' TERM
if [[ "${WINE_ENV_TEMPLATE_ONLY:-0}" == 1 ]]; then
  # Only make sure the template exists (test.sh does this early, while it builds).
  wine_env_desktop_display 0 && wine_env_template
  return
fi
wine_env_setup || return 1
