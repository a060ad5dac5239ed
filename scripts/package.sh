#!/usr/bin/env bash
# Makes the release archive from the Windows build (build/windows/CrossGateTools-<version>.zip)
# and checks that it holds both programs and both guides.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root/build/windows"
cpack -G ZIP >/dev/null
archive=$(ls -t CrossGateTools-*.zip | head -n 1)
listing=$(unzip -Z1 "$archive")
for name in Varndell.exe Quorrin.exe guide-ja.txt guide-en.txt; do
  grep -q "/$name\$" <<<"$listing" || { echo "package: $name is missing from $archive" >&2; exit 1; }
done
# What players get: programs without debug information, guides that every Notepad reads as
# UTF-8 (a byte-order mark) with CR LF line ends.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$archive" -d "$unpacked"
for name in Varndell.exe Quorrin.exe; do
  if x86_64-w64-mingw32-objdump -h "$(find "$unpacked" -name "$name")" | grep -q '\.debug_'; then
    echo "package: $name in $archive carries debug information" >&2
    exit 1
  fi
done
for name in guide-ja.txt guide-en.txt; do
  guide=$(find "$unpacked" -name "$name")
  if [[ $(head -c 3 "$guide" | od -An -tx1 | tr -d ' ') != efbbbf ]] ||
    (($(grep -c $'\r$' "$guide") != $(wc -l <"$guide"))); then
    echo "package: $name in $archive lacks its byte-order mark or CR LF line ends" >&2
    exit 1
  fi
done
echo "release archive: build/windows/$archive"
