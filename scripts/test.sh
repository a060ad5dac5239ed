#!/usr/bin/env bash
# The one command that installs what is missing, builds everything and runs every test:
#   native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer; clang-tidy and
#   cppcheck; the Windows build (warnings are errors in both builds) and the release archive; the
#   Windows unit tests and end-to-end tests under Wine (three Xvfb desktops, each with a private
#   prefix); the fuzzers.
# Screenshots of the end-to-end tests end up as PNG files in artifacts/. Exits non-zero when
# any step fails, after running every step that can still run.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

started=$SECONDS
summary=()
failures=0

# step <name> <command...>: runs the command, records PASS or FAIL with its duration.
step() {
  local name=$1
  shift
  local t0=$SECONDS
  echo
  echo "==== $name"
  if "$@"; then
    summary+=("PASS  $name ($((SECONDS - t0)) s)")
    return 0
  else
    summary+=("FAIL  $name ($((SECONDS - t0)) s)")
    failures=$((failures + 1))
    return 1
  fi
}

skip() {
  summary+=("SKIP  $1 ($2)")
  failures=$((failures + 1))
}

print_summary() {
  echo
  echo "==================== summary ($((SECONDS - started)) s) ===================="
  local line
  for line in "${summary[@]}"; do echo "$line"; done
  if ((failures)); then
    echo "RESULT: FAILED ($failures step(s) failed or could not run)"
  else
    echo "RESULT: all tests passed"
  fi
}

# Adds the names of the tests that ctest last saw failing in a build folder to the summary.
list_failed_tests() {
  local log="$root/$1/Testing/Temporary/LastTestsFailed.log" line
  [[ -f "$log" ]] || return 0
  while IFS= read -r line; do summary+=("        failed: ${line#*:}"); done <"$log"
}

# run_logged <log> <command...>: runs the command with its output also written to the log.
run_logged() {
  local log=$1
  shift
  "$@" 2>&1 | tee "$log"
  return "${PIPESTATUS[0]}"
}

# Names the tests that failed and then passed in a log of a run with --repeat until-pass
# (tests that failed every time are named by list_failed_tests).
list_retried_tests() {
  local log=$1 failed=$2 name
  [[ -f "$log" ]] || return 0
  while IFS= read -r name; do
    grep -qx "[0-9]*:$name" "$failed" 2>/dev/null && continue
    summary+=("        passed only on a second run: $name")
  done < <(sed -En 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*\*\*\*(Failed|Timeout|Exception).*/\1/p' "$log" | sort -u)
}

# Converts the tests' BMP screenshots into PNG files in artifacts/.
collect_screenshots() {
  local shots=$1 bmp
  mkdir -p "$root/artifacts"
  shopt -s nullglob
  for bmp in "$shots"/*.bmp; do
    convert "$bmp" "$root/artifacts/$(basename "${bmp%.bmp}").png" && rm -f "$bmp"
  done
  shopt -u nullglob
}

jobs=$(nproc 2>/dev/null || echo 2)

if ! step "install missing packages" "$root/scripts/setup.sh"; then
  print_summary
  exit 1
fi

# The Wine template prefix (made once per Wine version) is made while the builds run; the Wine
# step below waits for it.
mkdir -p "$root/build"
(WINE_ENV_TEMPLATE_ONLY=1 source "$root/scripts/wine-env.sh") >"$root/build/wine-template.log" 2>&1 &

if step "native configure" cmake --preset native; then
  if step "native build" cmake --build --preset native; then
    step "native tests (ASan, UBSan)" ctest --preset native -j "$jobs" || list_failed_tests build/native
    step "static checks (clang-tidy, cppcheck)" "$root/scripts/lint.sh"
  else
    skip "native tests" "build failed"
  fi
else
  skip "native build and tests" "configure failed"
fi

if step "windows configure" cmake --preset windows; then
  # Keep going past a failing target, so that the tests of what did build still run.
  step "windows build" cmake --build --preset windows -- -k 0 &&
    step "release archive" "$root/scripts/package.sh"
  echo
  echo "==== Wine environment"
  # Three desktops (tests/desktops.json): end-to-end tests run three at a time, one on each.
  # They mostly wait for windows and timers, so three keep two cores busy (one at a time took
  # 163 s, two 95 s, three 58 s; a fourth gained nothing).
  export WINE_ENV_DESKTOPS=3
  # shellcheck source=scripts/wine-env.sh
  if source "$root/scripts/wine-env.sh"; then
    export E2E_SCREENSHOTS="$root/build/windows/screenshots"
    rm -rf "$E2E_SCREENSHOTS"
    mkdir -p "$E2E_SCREENSHOTS"
    # Unit tests share a desktop; an end-to-end test has one to itself (run-on-desktop.sh).
    # Wine on a loaded machine now and then loses a step of a test that passes on a second
    # run; such tests get that second run and are named in the summary, so they stay visible.
    wine_log="$root/build/windows/wine-tests.log"
    step "windows tests under Wine" run_logged "$wine_log" \
      ctest --preset windows -j "$WINE_ENV_DESKTOPS" --repeat until-pass:2 || list_failed_tests build/windows
    list_retried_tests "$wine_log" build/windows/Testing/Temporary/LastTestsFailed.log
    collect_screenshots "$E2E_SCREENSHOTS"
    wine_env_cleanup
  else
    skip "windows tests under Wine" "no Wine environment"
  fi
else
  skip "windows build and tests" "configure failed"
fi

if [[ -x "$root/scripts/fuzz.sh" ]]; then
  step "fuzzing" "$root/scripts/fuzz.sh"
elif [[ -f "$root/scripts/fuzz.sh" ]]; then
  step "fuzzing" bash "$root/scripts/fuzz.sh"
fi

if compgen -G "$root/artifacts/*.png" >/dev/null; then
  summary+=("      screenshots: $(cd "$root" && ls artifacts/*.png | tr '\n' ' ')")
fi
print_summary
((failures == 0))
