#!/usr/bin/env bash
# Fuzzes the file readers with libFuzzer: Quorrin's familiar data file loader and xglist.txt
# reader, and Varndell's settings-file reader and writer, each for a bounded time (FUZZ_SECONDS,
# default 10) under AddressSanitizer and UndefinedBehaviorSanitizer. Fails on a crash or any
# sanitizer report.
#
# Built here with clang rather than through CMake: clang has no -fexec-charset=CP932, so the
# sources it compiles must not depend on it (the readers hold no Japanese literals; the CSV
# header lives in another file that is not compiled here).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="$root/build/fuzz"
seconds="${FUZZ_SECONDS:-10}"
cxx="${FUZZ_CXX:-clang++}"
mkdir -p "$out"

flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I"$root/common")
# Each target: its folder and the sources it needs besides its own.
declare -A folders=([familiar_record]=bpcalc [familiar_list]=bpcalc [profile]=switcher)
declare -A sources=(
  [familiar_record]="bpcalc/familiar_record.cpp bpcalc/familiar_list.cpp bpcalc/decimal_text.cpp common/leading_int.cpp common/text_encoding.cpp"
  [familiar_list]="bpcalc/familiar_record.cpp bpcalc/familiar_list.cpp bpcalc/decimal_text.cpp common/leading_int.cpp common/text_encoding.cpp"
  [profile]="switcher/profile.cpp common/text_encoding.cpp"
)

# Builds and runs one target; its output goes to its own log, its verdict to $out/<target>.result.
fuzz_target() {
  local target=$1 folder="$root/${folders[$1]}" extra corpus
  read -r -a extra <<<"${sources[$target]}"
  corpus="$out/corpus/$target"
  mkdir -p "$corpus" "$out/artifacts/$target"
  rm -f "$out/$target.result"
  if ! "$cxx" "${flags[@]}" -I"$folder" "$folder/fuzz/${target}_fuzz.cpp" "${extra[@]/#/$root/}" \
    -o "$out/${target}_fuzz" >"$out/$target.log" 2>&1; then
    echo "build FAILED" >"$out/$target.result"
    return
  fi
  if (cd "$out/artifacts/$target" &&
      UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "$out/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$out/artifacts/$target/" "$corpus" "$folder/fuzz/corpus/$target" \
        >>"$out/$target.log" 2>&1); then
    echo "ok ($(grep -o 'Done [0-9]* runs' "$out/$target.log" || echo 'done'))" >"$out/$target.result"
  else
    echo "FAILED" >"$out/$target.result"
  fi
}

# Each target builds and runs on one core: as many at once as there are cores.
targets=(familiar_record familiar_list profile)
echo "fuzz: ${targets[*]}, ${seconds}s each"
for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= $(nproc))); do wait -n || true; done
  fuzz_target "$target" &
done
wait

status=0
for target in "${targets[@]}"; do
  result=$(cat "$out/$target.result" 2>/dev/null || echo "FAILED")
  echo "fuzz: $target $result"
  if [[ $result != ok* ]]; then
    echo "fuzz: see $out/$target.log and $out/artifacts/$target" >&2
    tail -n 40 "$out/$target.log" >&2
    status=1
  fi
done
exit "$status"
