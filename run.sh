#!/usr/bin/env bash
# Sets up, builds and opens the bundled sample card in Veltrin View. Without a
# display it prints the card's flight list instead.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
VELTRIN_BUILD_FUZZ=0 "$top/scripts/setup.sh"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY is not set): listing the sample card with veltrin-export instead."
  exec "$top/build/tools/export/veltrin-export" list "$top/samples/VELT"
fi
exec "$top/build/src/shell/veltrin-view" "$top/samples/VELT"
