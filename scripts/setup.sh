#!/usr/bin/env bash
# Installs what is missing from scripts/packages.txt, makes sure the German
# locale exists (tests compare outputs under it), then configures and builds
# into build/ (and the libFuzzer targets into build/fuzz with clang).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
while read -r pkg; do
  case "$pkg" in ''|'#'*) continue ;; esac
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done < "$top/scripts/packages.txt"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi

jobs=$(nproc)
build_fuzz=${VELTRIN_BUILD_FUZZ:-1}
fuzz_args=()
if [ "$build_fuzz" = 1 ]; then
  cmake -S "$top" -B "$top/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DVELTRIN_DATA_ONLY=ON -DVELTRIN_FUZZ=ON \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined" \
        -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$top/build/fuzz" -j "$jobs"
  fuzz_args=(-DVELTRIN_FUZZ_BUILD_DIR="$top/build/fuzz")
fi
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release "${fuzz_args[@]}" >/dev/null
cmake --build "$top/build" -j "$jobs"
