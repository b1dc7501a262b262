#!/usr/bin/env bash
# fuzz/run.sh [SECONDS [TARGET...]]
# Builds the fuzz targets with clang and runs each (or the named ones) for
# SECONDS seconds (default 5), one per core at a time; fails on any finding.
#   fuzz/run.sh                  the short run of the test command
#   fuzz/run.sh 600              a long run: ten minutes per target
#   fuzz/run.sh 600 convert_code one target
# The build goes to build/fuzz (or $ORVANTA_FUZZ_BUILD); ORVANTA_WERROR=ON
# makes compiler warnings errors, as build.sh does.  Inputs that the
# fuzzer finds interesting are kept in <build>/corpus/<target> from one run
# to the next; crashes land in <build>/artifacts/<target>/.
set -euo pipefail

seconds=${1:-5}
shift || true
here=$(CDPATH= cd -P -- "$(dirname -- "$0")" && pwd)
top=$(dirname "$here")
build=${ORVANTA_FUZZ_BUILD:-$top/build/fuzz}

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANTA_WERROR="${ORVANTA_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j "$(nproc)"

# The committed seed folders of a target (a target's own corpus folder
# holds its seeds and the inputs of past findings).
seed_dirs() {
  case $1 in
    loader_plain) echo "$here/corpus/loader_plain $here/fixtures $top/tests/data/fixtures" ;;
    gridtool_check | gridtool_dump) echo "$(seed_dirs loader_plain)$([ -d "$here/corpus/$1" ] && echo " $here/corpus/$1")" ;;
    orvanta_convert_points) echo "$here/corpus/convert_loaded $here/corpus/$1" ;;
    *) [ -d "$here/corpus/$1" ] && echo "$here/corpus/$1" ;;
  esac
  return 0
}

# Extra libFuzzer options of a target.
target_options() {
  case $1 in
    loader_plain | convert_loaded | gridtool_check | gridtool_dump | orvanta_convert_points) echo "-dict=$here/keywords.dict" ;;
  esac
  return 0
}

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets <"$build/fuzz-targets.txt"
fi

for target in "${targets[@]}"; do
  if [ -n "$target" ] && [ ! -x "$build/bin/$target" ]; then
    echo "fuzz: no target $target" >&2
    exit 2
  fi
done

# Runs one target, prints its result line and leaves ok or FAILED in
# <build>/<target>.result.
run_target() {
  local target=$1 result runs
  local work=$build/corpus/$target artifacts=$build/artifacts/$target log=$build/$target.log
  mkdir -p "$work" "$artifacts"
  if [ "$target" = loader_scrambled ]; then
    # shellcheck disable=SC2046
    "$build/bin/scramble_seeds" "$work" $(seed_dirs loader_plain)
  fi
  # shellcheck disable=SC2046
  if "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" $(target_options "$target") "$work" $(seed_dirs "$target") >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  echo "fuzz $target: $result, ${runs:-?} runs in ${seconds} s"
  echo "$(date -u +%FT%TZ) $target seconds=$seconds runs=${runs:-?} result=$result" >>"$build/fuzz-history.log"
  echo "$result" >"$build/$target.result"
}

# One target per core at a time (ORVANTA_FUZZ_JOBS to choose).
jobs=${ORVANTA_FUZZ_JOBS:-$(nproc)}
running=0
for target in "${targets[@]}"; do
  [ -n "$target" ] || continue
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
  rm -f "$build/$target.result"
  run_target "$target" &
  running=$((running + 1))
done
wait

failed=()
for target in "${targets[@]}"; do
  [ -n "$target" ] || continue
  if [ "$(cat "$build/$target.result" 2>/dev/null)" != ok ]; then
    failed+=("$target")
    echo "fuzz $target: the end of $build/$target.log:"
    tail -n 40 "$build/$target.log"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}; inputs in $build/artifacts" >&2
  exit 1
fi
