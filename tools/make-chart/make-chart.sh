#!/bin/sh
# Rebuild resources/chart.bmp (bitmap resource 138, the world chart) from the
# GSHHG shorelines, rivers and borders shipped in Debian's GMT packages.
#
# Needs: gmt, gmt-gshhg-low, python3 (standard library only).
#   apt-get install -y gmt gmt-gshhg-low python3
# Usage: tools/make-chart/make-chart.sh [output.bmp]
# The result is committed; the normal build never runs this script.
set -eu

here=$(CDPATH= cd -P -- "$(dirname -- "$0")" && pwd)
root=$(CDPATH= cd -P -- "$here/../.." && pwd)
out=${1:-$root/resources/chart.bmp}
python=${PYTHON:-python3}

command -v gmt >/dev/null 2>&1 || {
    echo "make-chart: gmt not found (apt-get install gmt gmt-gshhg-low)" >&2
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
export GMT_SESSION_NAME=orvanta-chart.$$
CDPATH= cd -P -- "$work"

# Mask grid: 2' of longitude by 1' of latitude, pixel registered. The chart's
# pixels are about 16' wide and at least 2.8' high (near 80 degrees), so
# this is finer than the chart everywhere. Its rows reach past the chart's
# top (about 82 N) and bottom (about 80 S).
W=-180 E=180 S=-82 N=84
DLON=2 DLAT=1   # arc minutes
RES=l           # GSHHG low resolution: far finer than one chart pixel

# Ocean against everything else, keeping islands of 100 km2 and more.
gmt grdlandmask -R$W/$E/$S/$N -I${DLON}m/${DLAT}m -r -D$RES -A100 \
    -N0/1/1/1/1 -Gocean.nc
# Lakes as water, only those of 5000 km2 and more (Great Lakes, Caspian,
# Victoria, Baikal, Ladoga, ...); smaller lakes and the river-lakes (wide
# stretches of rivers) would be specks at this scale.
gmt grdlandmask -R$W/$E/$S/$N -I${DLON}m/${DLAT}m -r -D$RES -A5000+l \
    -N1/1/0/1/0 -Glakes.nc
gmt grdmath ocean.nc lakes.nc MUL = land.nc
# Raw bytes, one per node, rows from north to south.
gmt grd2xyz land.nc -ZTLu > mask.bin

# National borders (level 1) and the permanent major rivers (level 1).
gmt coast -Rd -D$RES -N1 -M > borders.txt
gmt coast -Rd -D$RES -I1 -M > rivers.txt

"$python" "$here/rasterize_chart.py" \
    --mask mask.bin --west $W --east $E --south $S --north $N \
    --dlon $DLON --dlat $DLAT \
    --borders borders.txt --rivers rivers.txt --out "$out"
echo "make-chart: wrote $out"
