#!/usr/bin/env bash
# Orvanta's one top-level command.
#   ./build.sh run    build the program and start it under Wine
#                     (--pacific: on the Pacific grid)
#   ./build.sh test   build every tree and run every test
# Each installs the Debian packages it needs first.
set -euo pipefail
cd "$(dirname "$0")"
top=$PWD
jobs=$(nproc)

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# Configures and builds one tree: configure <dir> [cmake options...]
# The project's own builds treat every compiler warning as an error.
build_tree() {
  local dir=$1; shift
  cmake -S "$top" -B "$top/build/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_WERROR=ON "$@" >/dev/null
  cmake --build "$top/build/$dir" -j "$jobs"
}

# Whether this machine's kernel runs the 32-bit Wine loader (some virtual
# machines lack 32-bit support; the 64-bit tree then runs the Windows tests).
can_run_wine32() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Prepares a Wine prefix once (creation, Wine's fonts for the dialog
# metrics), as the launcher does: use_wine_prefix <dir> <win32|win64>
use_wine_prefix() {
  export WINEPREFIX="$top/build/$1"
  if [ "$2" = win32 ]; then export WINEARCH=win32; else unset WINEARCH; fi
  local loader=wine
  [ "$2" = win32 ] || loader=/usr/lib/wine/wine64
  if [ ! -f "$WINEPREFIX/orvanta-prefix-ready" ]; then
    sh "$top/tools/launcher/orvanta-wine-prefix" "$WINEPREFIX" "$2" "$loader"
    wineserver -w
  fi
}

native_gridtool() {
  echo "$top/build/native/bin/gridtool"
}

# Builds the 32-bit and the 64-bit Windows trees; extra cmake options go to
# the 32-bit tree only.
build_windows_trees() {
  build_tree win32 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DORVANTA_HOST_GRIDTOOL="$(native_gridtool)" "$@"
  build_tree win64 -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-x86_64.cmake" -DORVANTA_HOST_GRIDTOOL="$(native_gridtool)"
}

# Runs a Windows tree's tests under Wine on a virtual display, one at a
# time: Wine's service processes, started by the first program of a test,
# hold that test's output open until the Wine server ends, so a server kept
# up for the whole run would make ctest wait for them for ever.
run_windows_tests() {
  cd "$top/build/$1"
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure
}

run_program() {
  if [ -z "${DISPLAY:-}" ]; then
    echo "No display: start one with 'Xvfb :1 -screen 0 1024x768x24 & export DISPLAY=:1' (or log in to a desktop) and run ./build.sh run again."
    exit 1
  fi
  "$top/tools/install-deps.sh"
  build_tree native
  build_windows_trees
  local tree=win32 loader=wine
  if can_run_wine32; then
    use_wine_prefix wine32prefix win32
  else
    echo "This kernel cannot run the 32-bit Wine loader; starting the 64-bit build of the same program instead."
    tree=win64 loader=/usr/lib/wine/wine64
    use_wine_prefix wine64prefix win64
  fi
  ORVANTA_HOME="$top/build/$tree/bin" ORVANTA_WINE=$loader exec "$top/tools/launcher/orvanta" "$@"
}

run_tests() {
  "$top/tools/install-deps.sh"
  build_tree native
  (cd "$top/build/native" && ctest --output-on-failure -j "$jobs")
  build_tree sanitize -DORVANTA_SANITIZE=ON
  (cd "$top/build/sanitize" && ctest --output-on-failure -j "$jobs")
  ORVANTA_WERROR=ON "$top/fuzz/run.sh" 5
  if can_run_wine32; then
    build_windows_trees -DBUILD_TESTING=ON
    use_wine_prefix wine32prefix win32
    (run_windows_tests win32)
  else
    build_windows_trees -DBUILD_TESTING=OFF
    echo "Skipping the 32-bit Windows tests: this kernel cannot run the 32-bit Wine loader (the program is built; the 64-bit tree runs the tests)."
  fi
  use_wine_prefix wine64prefix win64
  (run_windows_tests win64)
}

case "${1:-}" in
  run) shift; run_program "$@" ;;
  test) run_tests ;;
  *) echo "usage: ./build.sh run [--pacific] | ./build.sh test" >&2; exit 2 ;;
esac
