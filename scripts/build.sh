#!/usr/bin/env bash
# Configures and builds one build folder; the compiler's output is kept in
# FOLDER/build.log and shown only when the build fails.
# usage: scripts/build.sh FOLDER [cmake options...]
set -euo pipefail
folder=$1; shift
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$root/$folder"
log="$root/$folder/build.log"
if ! { cmake -S "$root" -B "$root/$folder" "$@" && \
       cmake --build "$root/$folder" -j "$(nproc)"; } >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "Build of $folder failed; the whole log is in $log" >&2
  exit 1
fi
