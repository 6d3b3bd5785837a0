#!/usr/bin/env bash
# Starts the game from its data folder (the game opens bmp/, wav/, mid/ and
# M_score.dat relative to the current directory).
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
if [ -x "$build/dovrex" ]; then
  cd "$build/data" && exec "$build/dovrex"
fi
exec "$build/platform-demo"
