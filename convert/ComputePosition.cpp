// The centre of the coded small square, in minutes of arc.
#include "convert/GridLookup.h"
#include "convert/Position.h"
#include "data/GridDatabase.h"

// Corner plus offset, then half a small square, each step in double on the
// float inputs; the sizes are signed, so the half square points the way the
// quad extends.  A record that cannot have been located gives 0, 0.
GridPosition ComputePosition(int16_t quadIndex)
{
    GridPosition position = {0.0, 0.0};
    if (quadIndex < 0 || quadIndex >= Grid.QuadCount || quadIndex >= kMaxQuadRecords)
        return position;
    const QuadRecord &quad = Grid.Quads[quadIndex];
    if (quad.Quadtype < 0 || quad.Quadtype >= kMaxQuadTypes)
        return position;
    const QuadForm &form = Grid.Forms[quad.Quadtype];
    if (form.FormX < 1 || form.FormY < 1)
        return position;

    double halfLat = static_cast<double>(quad.SizeLat) / (9 * form.FormY) * 0.5;
    double cornerLat = static_cast<double>(SubsquareOffset.fracY) * quad.SizeLat + quad.DownLeftLat;
    position.Latitude = cornerLat + halfLat;

    double halfLon = static_cast<double>(quad.SizeLon) / (9 * form.FormX) * 0.5;
    double cornerLon = static_cast<double>(SubsquareOffset.fracX) * quad.SizeLon + quad.DownLeftLon;
    position.Longitude = cornerLon + halfLon;
    return position;
}
