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
echo "release archive: build/windows/$archive"
