#!/bin/sh
# Rebuild resources/coastline.json, the coastline that orvanta-convert's map
# page draws, from the GSHHG shorelines shipped in Debian's GMT packages.
#
# Needs: gmt, gmt-gshhg-low (its crude, low and intermediate sets),
# python3 (standard library only).
#   apt-get install -y gmt gmt-gshhg-low python3
# Usage: tools/make-chart/make-coastline.sh [output.json]
# The result is committed; the normal build never runs this script.
set -eu

here=$(CDPATH= cd -P -- "$(dirname -- "$0")" && pwd)
root=$(CDPATH= cd -P -- "$here/../.." && pwd)
out=${1:-$root/resources/coastline.json}
case $out in /*) ;; *) out=$PWD/$out ;; esac   # the work below runs elsewhere
python=${PYTHON:-python3}

command -v gmt >/dev/null 2>&1 || {
    echo "make-coastline: gmt not found (apt-get install gmt gmt-gshhg-low)" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
export GMT_SESSION_NAME=orvanta-coastline.$$
CDPATH= cd -P -- "$work"

# Two levels of shorelines between land and ocean (level 1) and of lakes
# (level 2).  The world view draws the low-resolution set without islands
# and lakes under 1000 km2, simplified to 0.05 degrees (about 5 km); from
# zoom 5 on (a view some 20 degrees wide) the page draws the intermediate
# set, with every island and lake of 5 km2 or more, simplified to 0.01
# degrees (about 1 km, two pixels at zoom 8).  About 0.9 MB in all.
gmt coast -Rd -Dl -A1000/1/2 -W -M > low.txt
gmt coast -Rd -Di -A5/1/2 -W -M > intermediate.txt

"$python" "$here/simplify_coastline.py" 0:0.05:low.txt 5:0.01:intermediate.txt > "$out.tmp"
mv "$out.tmp" "$out"
echo "make-coastline: wrote $out ($(wc -c < "$out") bytes)"
