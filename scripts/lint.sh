#!/usr/bin/env bash
# Static checks of the project's own code; fails when either reports anything:
#   clang-tidy (checks in .clang-tidy) over the portable sources, from the native build's
#              compile commands (build/native must be configured);
#   cppcheck   over every source and header of both programs, Win32 code included (the tests'
#              own code is left to the compilers' warnings).
# A suppression names its reason where it stands.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out="$root/build/lint"
mkdir -p "$out"

# clang has no Shift-JIS execution charset and no GCC-only warning options; neither changes
# what the checks see.
sed -e 's/-fexec-charset=CP932//g' -e 's/-Wno-restrict//g' build/native/compile_commands.json \
  >"$out/compile_commands.json"
mapfile -t portable < <(git ls-files 'common/*.cpp' 'switcher/*.cpp' 'bpcalc/*.cpp' | grep -v -E '/(tests|fuzz|win)/')
echo "lint: clang-tidy on ${#portable[@]} files"
if ! run-clang-tidy -quiet -j "$(nproc)" -p "$out" "${portable[@]/#/$root/}" >"$out/clang-tidy.log" 2>&1; then
  grep -E '(warning|error):' "$out/clang-tidy.log" | sort -u >&2 || tail -n 30 "$out/clang-tidy.log" >&2
  echo "lint: clang-tidy found problems (full output: $out/clang-tidy.log)" >&2
  exit 1
fi

echo "lint: cppcheck"
mapfile -t sources < <(git ls-files 'common/*' 'win32/*' 'switcher/*' 'bpcalc/*' | grep -E '\.(cpp|h)$' | grep -v -E '/(tests|fuzz)/')
# invalidLifetime, danglingTemporaryLifetime: cppcheck 2.10 takes a string_view parameter bound to
# the caller's string for a local of the callee that has gone out of scope.
if ! cppcheck --quiet --std=c++20 --language=c++ --library=windows --enable=warning,performance,portability \
  --inline-suppr --error-exitcode=1 --suppress=missingIncludeSystem \
  --suppress=invalidLifetime --suppress=danglingTemporaryLifetime \
  -I common -I win32 -I switcher -I bpcalc "${sources[@]}" 2>"$out/cppcheck.log"; then
  cat "$out/cppcheck.log" >&2
  echo "lint: cppcheck found problems" >&2
  exit 1
fi
echo "lint: clean"
