#!/usr/bin/env bash
# Orvanta's one top-level command.
#   ./build.sh run    build the program and start it under Wine
#                     (--pacific: on the Pacific grid)
#   ./build.sh test   build every tree and run every test
# Each installs the Debian packages it needs first.
set -euo pipefail
CDPATH= cd -P -- "$(dirname -- "$0")"
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

# The trees the test command builds compile quickly: line tables instead of
# full debug information, and the test programs' own sources without
# optimization (the code they test keeps -O2).
quick_test_sources="-DORVANTA_TEST_COMPILE_OPTIONS=-O0;-g1"
quick_test_trees=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" "$quick_test_sources")

# Builds one Windows tree: build_windows_tree win32|win64 <host gridtool>
# [cmake options...]
build_windows_tree() {
  local tree=$1 gridtool=$2 toolchain=mingw-x86_64
  shift 2
  [ "$tree" = win64 ] || toolchain=mingw-i686
  build_tree "$tree" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain.cmake" -DORVANTA_HOST_GRIDTOOL="$gridtool" "$@"
}

# Runs a Windows tree's tests under Wine on a virtual display, in parallel
# except those marked RUN_SERIAL (they use the screen): run_windows_tests
# <tree> <loader>.  One Wine server and one desktop serve the whole run.  A
# program that waits on an empty pipe until the end starts them with its
# output sent nowhere, before the first test: Wine's service and desktop
# processes keep the output of the program that started them open, and
# ctest would wait for a test's until the server ended.
run_windows_tests() {
  cd "$top/build/$1"
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    rm -f wine-hold && mkfifo wine-hold || exit 1
    trap "wineserver -k; rm -f wine-hold" EXIT
    trap "exit 1" INT TERM
    "$1" cmd /c pause <>wine-hold >/dev/null 2>&1 &
    "$1" cmd /c exit </dev/null >/dev/null 2>&1
    ctest --output-on-failure -j "$2"' sh "$2" "$jobs"
}

# The host gridtool a Windows tree makes its data files with: the one its
# cache names when that still exists (the test command's), else the native
# tree's.
cached_host_gridtool() {
  sed -n 's/^ORVANTA_HOST_GRIDTOOL:FILEPATH=//p' "$top/build/$1/CMakeCache.txt" 2>/dev/null || true
}
host_gridtool_of() {
  local named
  named=$(cached_host_gridtool "$1")
  if [ -n "$named" ] && [ -x "$named" ] && [ "$named" != "$top/build/native/bin/gridtool" ]; then
    echo "$named"
  else
    echo "$top/build/native/bin/gridtool"
  fi
}
# Sets gridtool to the host gridtool of a Windows tree, building the native
# one when that is it: use_host_gridtool <tree>
use_host_gridtool() {
  gridtool=$(host_gridtool_of "$1")
  if [ "$gridtool" = "$top/build/native/bin/gridtool" ]; then
    build_targets native gridtool
  fi
}

# Builds the given targets of a tree, configuring it first when it is new
# (an existing tree keeps its settings, so that run and test do not undo
# each other's): build_targets <dir> "<targets>" [cmake options...]
build_targets() {
  local dir=$1 targets=$2; shift 2
  if [ ! -f "$top/build/$dir/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$top/build/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_WERROR=ON \
      -DBUILD_TESTING=OFF "$@" >/dev/null
  fi
  # shellcheck disable=SC2086
  cmake --build "$top/build/$dir" -j "$jobs" --target $targets
}

# Whether DISPLAY names a display; a local one (:N, unix:N) must have its server's
# socket, so that a display left over from an ended Xvfb fails at once.
have_display() {
  case ${DISPLAY:-} in
    '') return 1 ;;
    :[0-9]* | unix:[0-9]*) local number=${DISPLAY#*:}; [ -S "/tmp/.X11-unix/X${number%%.*}" ] ;;
    *) return 0 ;;
  esac
}

# Builds what the window needs and starts it: the Windows program this
# kernel runs, its data files (made by a native gridtool) and the prefix,
# which Wine makes while the program compiles.  The cross compilers and
# Wine install while the native gridtool compiles.
run_program() {
  if ! have_display; then
    echo "No display${DISPLAY:+ at $DISPLAY}: start one with 'Xvfb :1 -screen 0 1024x768x24 & export DISPLAY=:1' (or log in to a desktop) and run ./build.sh run again."
    exit 1
  fi
  mkdir -p "$top/build"
  "$top/tools/install-deps.sh" host
  local deps_log=$top/build/install-deps.log
  "$top/tools/install-deps.sh" run >"$deps_log" 2>&1 &
  local deps=$!
  local tree=win32 loader=wine toolchain=mingw-i686 prefix=wine32prefix
  local gridtool
  use_host_gridtool "$tree"
  finish_install "$deps" "$deps_log"
  if ! can_run_wine32; then
    echo "This kernel cannot run the 32-bit Wine loader; starting the 64-bit build of the same program instead."
    tree=win64 loader=/usr/lib/wine/wine64 toolchain=mingw-x86_64 prefix=wine64prefix
    use_host_gridtool "$tree"
  fi
  (use_wine_prefix "$prefix" "$tree") &
  local prefix_ready=$!
  if [ -f "$top/build/$tree/CMakeCache.txt" ] && [ "$(cached_host_gridtool "$tree")" != "$gridtool" ]; then
    cmake -B "$top/build/$tree" -DORVANTA_HOST_GRIDTOOL="$gridtool" >/dev/null
  fi
  build_targets "$tree" "orvanta griddata" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain.cmake" \
    -DORVANTA_HOST_GRIDTOOL="$gridtool"
  wait "$prefix_ready"
  export WINEPREFIX="$top/build/$prefix"
  ORVANTA_HOME="$top/build/$tree/bin" ORVANTA_WINE=$loader exec "$top/tools/launcher/orvanta" "$@"
}

# Runs the Windows trees' tests: the 32-bit tree's where this kernel runs
# the 32-bit Wine loader, the 64-bit tree's always.
run_all_windows_tests() {
  if [ -n "$wine32" ]; then
    use_wine_prefix wine32prefix win32
    (run_windows_tests win32 wine)
  fi
  use_wine_prefix wine64prefix win64
  (run_windows_tests win64 /usr/lib/wine/wine64)
}

# Waits for the Windows tests started in the background, shows their
# output and fails the command if they failed (on every exit of run_tests).
finish_windows_tests() {
  local status=0
  wait "$windows_tests" || status=$?
  cat "$windows_log"
  [ "$status" -eq 0 ] || exit "$status"
}

# Waits until a file exists or the process that would make it has ended:
# wait_for_file <file> <pid>; fails when the file never came.
wait_for_file() {
  while [ ! -e "$1" ] && kill -0 "$2" 2>/dev/null; do
    sleep 1
  done
  [ -e "$1" ]
}

# Waits for the package installation started in the background; shows what
# it installed, or all it printed when it failed.
finish_install() {
  if ! wait "$1"; then
    cat "$2"
    echo "Installing the packages failed (see above)." >&2
    exit 1
  fi
  grep '^Installing:' "$2" || true
}

# Every test runs in the sanitized tree, which also makes the host tools of
# the Windows trees; the native tree is left to ./build.sh run.  Packages
# install while the trees compile: the native ones first, then the cross
# compilers (the Windows trees wait for them), then what the tests use.
run_tests() {
  mkdir -p "$top/build"
  "$top/tools/install-deps.sh" native
  local cross_ready=$top/build/cross-compilers-ready deps_log=$top/build/install-deps.log
  rm -f "$cross_ready"
  "$top/tools/install-deps.sh" all --cross-ready "$cross_ready" >"$deps_log" 2>&1 &
  local deps=$!
  build_tree sanitize -DORVANTA_SANITIZE=ON "${quick_test_trees[@]}"
  local gridtool=$top/build/sanitize/bin/gridtool
  if ! wait_for_file "$cross_ready" "$deps"; then
    finish_install "$deps" "$deps_log"
  fi
  build_windows_tree win64 "$gridtool" "${quick_test_trees[@]}"
  # The shipped 32-bit program keeps its own flags; its tests, built once
  # Wine shows that this kernel can run them, build quickly.
  build_windows_tree win32 "$gridtool" -DBUILD_TESTING=OFF "$quick_test_sources"
  finish_install "$deps" "$deps_log"
  wine32=
  if can_run_wine32; then wine32=yes; fi
  # The Wine prefixes are made while the 32-bit tests build (Wine mostly
  # waits).
  (if [ -n "$wine32" ]; then use_wine_prefix wine32prefix win32; fi
   use_wine_prefix wine64prefix win64) &
  local prefixes=$!
  if [ -n "$wine32" ]; then
    build_windows_tree win32 "$gridtool" -DBUILD_TESTING=ON
  else
    echo "Skipping the 32-bit Windows tests: this kernel cannot run the 32-bit Wine loader (the program is built; the 64-bit tree runs the tests)."
  fi
  wait "$prefixes"
  # The Windows tests run beside the sanitized tree's tests and the fuzz
  # targets (Wine mostly waits on the display); their output comes at the
  # end.
  windows_log=$top/build/windows-tests.log
  run_all_windows_tests >"$windows_log" 2>&1 &
  windows_tests=$!
  trap finish_windows_tests EXIT
  (cd "$top/build/sanitize" && ctest --output-on-failure -j "$jobs")
  ORVANTA_WERROR=ON "$top/fuzz/run.sh" 5
}

case "${1:-}" in
  run) shift; run_program "$@" ;;
  test) run_tests ;;
  *) echo "usage: ./build.sh run [--pacific] | ./build.sh test" >&2; exit 2 ;;
esac
