#!/usr/bin/env bash
# Fails when a C++ file of the tree is not formatted as .clang-format says.
# Usage: check_format.sh [SOURCE_DIR]
set -euo pipefail
top=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$top"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find src tools tests fuzz bench -name '*.cpp' -o -name '*.h' | sort)
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "no C++ files found below $top" >&2
  exit 1
fi
"${CLANG_FORMAT:-clang-format}" --dry-run -Werror "${files[@]}"
echo "${#files[@]} files formatted"
