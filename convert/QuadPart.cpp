// The area of a part of one quad record: a small square, a cell or the
// whole large square.
#include <algorithm>

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
