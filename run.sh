#!/usr/bin/env bash
# Sets up, builds and shows the bundled sample card.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
VELTRIN_BUILD_FUZZ=0 "$top/scripts/setup.sh"
exec "$top/build/tools/export/veltrin-export" list "$top/samples/VELT"
