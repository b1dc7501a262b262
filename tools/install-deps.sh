#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvanta
# need, when they are missing.  Uses sudo only when not run as root.
set -euo pipefail

packages=(
  cmake make g++ python3 googletest libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine64 wine32:i386 fonts-wine
  xvfb xauth x11-utils imagemagick
  clang libclang-rt-14-dev
  zip gdal-bin libxml2-utils desktop-file-utils
  libjs-leaflet chromium groff-base bash-completion
)

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

missing=()
for p in "${packages[@]}"; do
  [ -n "${installed[$p]:-}" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
