#!/bin/sh
# Builds the native tree and times orvanta-convert on one million codes of
# the shipped grid data file: tools/benchmark/benchmark.sh [BUILD_DIR] [COUNT]
set -eu
top=$(CDPATH= cd -P -- "$(dirname -- "$0")/../.." && pwd)
build=${1:-$top/build/native}
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target orvanta-convert gridtool griddata >/dev/null
exec python3 "$top/tools/benchmark/benchmark.py" "$build/bin" "${2:-1000000}"
