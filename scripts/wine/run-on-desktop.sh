#!/usr/bin/env bash
# ctest's emulator for the Windows tests: runs the program under Wine on the desktop that ctest
# gave the test (the "desktop" resource of tests/desktops.json), using the display and prefix
# that scripts/wine-env.sh prepared for it. Without a resource (listing a program's tests) it
# runs on the environment's own DISPLAY and WINEPREFIX.
set -euo pipefail
if [[ -n "${CTEST_RESOURCE_GROUP_0_DESKTOP:-}" ]]; then
  id=${CTEST_RESOURCE_GROUP_0_DESKTOP#id:}
  id=${id%%,*}
  display_var=WINE_DESKTOP_${id}_DISPLAY
  prefix_var=WINE_DESKTOP_${id}_PREFIX
  if [[ -z "${!display_var:-}" || -z "${!prefix_var:-}" ]]; then
    echo "run-on-desktop: desktop $id is not prepared; run the tests through scripts/test.sh" >&2
    exit 1
  fi
  export DISPLAY=${!display_var} WINEPREFIX=${!prefix_var}
fi
exec wine "$@"
