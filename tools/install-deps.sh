#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvanta
# need, when they are missing, without the packages they merely recommend
# (the tests pass on a bare Debian 12 with these alone).  Uses sudo only
# when not run as root.
#   tools/install-deps.sh                  everything
#   tools/install-deps.sh native           what the Linux trees compile with
#   tools/install-deps.sh host             the same but emscripten (the atlas),
#                                          for ./build.sh run's gridtool
#   tools/install-deps.sh run              the cross compilers and Wine, which
#                                          ./build.sh run adds to the native ones
#   tools/install-deps.sh all --cross-ready FILE
#       everything, the MinGW-w64 compilers first: FILE is created once they
#       are there, so that the Windows trees can start building while the
#       rest installs (the test command does this)
set -euo pipefail

host=(cmake make g++ python3 googletest libgtest-dev libjs-leaflet)
native=("${host[@]}" emscripten)
cross=(g++-mingw-w64-i686 g++-mingw-w64-x86-64)
wine=(wine wine64 wine32:i386 fonts-wine)
rest=(
  "${wine[@]}"
  xvfb xauth x11-utils imagemagick
  clang libclang-rt-14-dev libxml2-dev
  zip gdal-bin libxml2-utils desktop-file-utils
  chromium groff-base man-db bash-completion
  dpkg-dev lintian
)

group=${1:-all}
cross_ready=
if [ "${2:-}" = --cross-ready ] && [ -n "${3:-}" ]; then
  cross_ready=$3
elif [ $# -gt 1 ]; then
  group=usage
fi
case "$group" in
  native) first=("${native[@]}") second=() ;;
  host) first=("${host[@]}") second=() ;;
  run) first=("${cross[@]}" "${wine[@]}") second=() ;;
  # The Windows trees' installer target looks for makensis when they are
  # configured.
  all) first=("${native[@]}" "${cross[@]}" nsis) second=("${rest[@]}") ;;
  *) echo "usage: tools/install-deps.sh [native | host | run | all [--cross-ready FILE]]" >&2; exit 2 ;;
esac

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

# What is installed, from one query of the package database; a package of
# the machine's own architecture is known with and without ":<arch>".
arch=$(dpkg --print-architecture)
declare -A installed=()
while read -r state name; do
  if [ "$state" = ii ]; then
    installed[$name]=1
    installed[${name%:"$arch"}]=1
  fi
done < <(dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' 2>/dev/null || true)

# The packages of a list that are not installed.
missing_of() {
  local p
  for p in "$@"; do
    [ -n "${installed[$p]:-}" ] || echo "$p"
  done
}
mapfile -t missing_first < <(missing_of "${first[@]}")
mapfile -t missing_second < <(missing_of "${second[@]}")

# Installs a list of packages, reading the package lists before the first
# install of the run.
updated=
install() {
  [ $# -gt 0 ] || return 0
  echo "Installing: $*"
  if [ -z "$updated" ]; then
    if [[ " ${missing_first[*]} ${missing_second[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    "${sudo_cmd[@]}" apt-get update -q
    updated=yes
  fi
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"
}

install "${missing_first[@]}"
if [ -n "$cross_ready" ]; then
  : >"$cross_ready"
fi
install "${missing_second[@]}"
