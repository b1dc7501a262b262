// The area of a part of one quad record (a small square, a cell or the
// whole large square), and the area around several parts.
#include <algorithm>
#include <cmath>

#include "convert/Position.h"
#include "data/GridDatabase.h"

// Both edges of each axis from the corner and the signed sizes, ordered so
// that the bounds name the south, west, north and east edges.
GridBounds QuadPart(int16_t quadIndex, double fracX, double fracY, double width, double height,
                    const GridDatabase &db)
{
    GridBounds bounds = {0.0, 0.0, 0.0, 0.0};
    if (quadIndex < 0 || quadIndex >= db.QuadCount || quadIndex >= kMaxQuadRecords)
        return bounds;
    const QuadRecord &quad = db.Quads[quadIndex];
    double lat1 = quad.DownLeftLat + fracY * quad.SizeLat, lat2 = lat1 + height * quad.SizeLat;
    double lon1 = quad.DownLeftLon + fracX * quad.SizeLon, lon2 = lon1 + width * quad.SizeLon;
    bounds.South = std::min(lat1, lat2);
    bounds.North = std::max(lat1, lat2);
    bounds.West = std::max(lon1, lon2);
    bounds.East = std::min(lon1, lon2);
    return bounds;
}

// The shift is a whole number of turns from the difference of the centres;
// a difference that is not finite (only a hostile data file gives one)
// leaves b where it is.
GridBounds JoinBounds(const GridBounds &a, const GridBounds &b)
{
    const double fullTurn = 360 * 60;
    double turns = std::round((b.West + b.East - a.West - a.East) / 2 / fullTurn);
    double shift = std::isfinite(turns) ? turns * fullTurn : 0.0;
    return {std::min(a.South, b.South), std::max(a.West, b.West - shift), std::max(a.North, b.North),
            std::min(a.East, b.East - shift)};
}
