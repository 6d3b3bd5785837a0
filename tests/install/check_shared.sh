#!/bin/sh
# check_shared.sh [BUILD_DIR]: the install checks once more with shared
# libraries. Configures BUILD_DIR (default build-shared) with
# -DBUILD_SHARED_LIBS=ON, builds only what the install takes, and runs the
# install steps there: the consumers then link the installed .so files.
# Takes a few minutes from scratch, so it is not part of make test.
set -eu
case "${1:-}" in
  -h|--help) sed -n '2,6s/^# \{0,1\}//p' "$0"; exit 0 ;;
esac
build=${1:-build-shared}
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
cmake -S "$source_dir" -B "$build" -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target morvane-installable -j "$(nproc)"
ctest --test-dir "$build" -R '^install_' --output-on-failure
libs=$(find "$build/tests/install/work/prefix" -name 'libmorvane_*.so*' -type f | wc -l)
[ "$libs" -gt 0 ] || { echo "check_shared: no shared library was installed" >&2; exit 1; }
echo "check_shared: $libs shared libraries installed, consumers linked against them"
