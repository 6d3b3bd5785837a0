#!/bin/sh
# check_headers.sh CXX INCLUDE_DIR: compiles every header under INCLUDE_DIR
# alone, two at a time, and fails when one does not compile or when the
# compiler opens a header of SDL, OpenGL, EGL or FluidSynth on its way.
set -eu
cxx=$1
include=$2
find "$include" -name '*.h' | sort | xargs -P 2 -I{} sh -c '
  out=$("$0" -std=c++20 -fsyntax-only -H -I"$1" -x c++ "$2" 2>&1) || { echo "$out"; echo "FAILED: $2 does not compile alone"; exit 255; }
  if echo "$out" | grep -E "/SDL2?/|/fluidsynth|/GL/|/GLES[0-9]*/|/EGL/|/epoxy/"; then
    echo "FAILED: $2 reaches a system library header"; exit 255
  fi' "$cxx" "$include" {}
echo "$(find "$include" -name '*.h' | wc -l) headers compile alone"
