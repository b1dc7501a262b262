#!/bin/sh
# Rebuild resources/coastline.json, the coastline that orvanta-convert's map
# page draws, from the GSHHG shorelines shipped in Debian's GMT packages.
#
# Needs: gmt, gmt-gshhg-low, python3 (standard library only).
#   apt-get install -y gmt gmt-gshhg-low python3
# Usage: tools/make-chart/make-coastline.sh [output.json]
# The result is committed; the normal build never runs this script.
set -eu

here=$(CDPATH= cd -P -- "$(dirname -- "$0")" && pwd)
root=$(CDPATH= cd -P -- "$here/../.." && pwd)
out=${1:-$root/resources/coastline.json}
python=${PYTHON:-python3}

command -v gmt >/dev/null 2>&1 || {
    echo "make-coastline: gmt not found (apt-get install gmt gmt-gshhg-low)" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
export GMT_SESSION_NAME=orvanta-coastline.$$
CDPATH= cd -P -- "$work"

# Shorelines between land and ocean (level 1) and of lakes (level 2) from
# the low-resolution set, leaving out islands and lakes smaller than
# 1000 km2, which would be specks at the scale of a large square; then
# simplified to 0.05 degrees (about 5 km), some 470 KB in all.
gmt coast -Rd -Dl -A1000/1/2 -W -M > shore.txt

"$python" "$here/simplify_coastline.py" --tolerance 0.05 shore.txt > "$out.tmp"
mv "$out.tmp" "$out"
echo "make-coastline: wrote $out ($(wc -c < "$out") bytes)"
