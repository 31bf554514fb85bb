#!/usr/bin/env bash
# Installs what is missing, builds TaVO and starts it on the bundled sample
# calibration (build/sample/sample.bin).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/ensure-deps.sh"
"$root/scripts/build.sh" build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cd "$root/build"
exec "$root/build/src/app/tavo" "$root/build/sample/sample.bin" "$@"
