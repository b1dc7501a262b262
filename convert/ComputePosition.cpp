// The centre of the coded small square, in minutes of arc.
#include <cmath>

#include "convert/GridLookup.h"
#include "convert/Position.h"
#include "data/GridDatabase.h"

namespace {

const double kHalfTurn = 180 * 60; // minutes of longitude
const double kFullTurn = 360 * 60;

// A quad that straddles the 180th meridian is written as one record that
// reaches past it; a longitude up to a whole turn beyond +-180 degrees is
// brought back by a turn, so that 180 deg 3' E reads 179 deg 57' W.
// Values within +-180 degrees, and values further out (which no grid
// reaches), are returned as they are.
double WithinHalfTurn(double longitude)
{
    if (longitude > kHalfTurn && longitude <= kHalfTurn + kFullTurn)
        return longitude - kFullTurn;
    if (longitude < -kHalfTurn && longitude >= -kHalfTurn - kFullTurn)
        return longitude + kFullTurn;
    return longitude;
}

// Half a small square of a located record, signed the way the quad
// extends: its side over its cells and the 9 small squares of each,
// halved; false for a record that cannot have been located.
bool SignedHalfSize(int16_t quadIndex, GridPosition &half)
{
    if (quadIndex < 0 || quadIndex >= Grid.QuadCount || quadIndex >= kMaxQuadRecords)
        return false;
    const QuadRecord &quad = Grid.Quads[quadIndex];
    if (quad.Quadtype < 0 || quad.Quadtype >= kMaxQuadTypes)
        return false;
    const QuadForm &form = Grid.Forms[quad.Quadtype];
    if (form.FormX < 1 || form.FormY < 1)
        return false;
    half.Latitude = static_cast<double>(quad.SizeLat) / (9 * form.FormY) * 0.5;
    half.Longitude = static_cast<double>(quad.SizeLon) / (9 * form.FormX) * 0.5;
    return true;
}

} // namespace

GridPosition SmallSquareHalfSize(int16_t quadIndex)
{
    GridPosition half = {0.0, 0.0};
    if (!SignedHalfSize(quadIndex, half))
        return {0.0, 0.0};
    return {std::fabs(half.Latitude), std::fabs(half.Longitude)};
}

// Corner plus offset, then half a small square, each step in double on the
// float inputs; the sizes are signed, so the half square points the way the
// quad extends; the longitude is kept within a half turn.  A record that
// cannot have been located gives 0, 0.
GridPosition ComputePosition(int16_t quadIndex)
{
    GridPosition position = {0.0, 0.0}, half = {0.0, 0.0};
    if (!SignedHalfSize(quadIndex, half))
        return position;
    const QuadRecord &quad = Grid.Quads[quadIndex];

    double halfLat = half.Latitude;
    double cornerLat = static_cast<double>(SubsquareOffset.fracY) * quad.SizeLat + quad.DownLeftLat;
    position.Latitude = cornerLat + halfLat;

    double halfLon = half.Longitude;
    double cornerLon = static_cast<double>(SubsquareOffset.fracX) * quad.SizeLon + quad.DownLeftLon;
    position.Longitude = WithinHalfTurn(cornerLon + halfLon);
    return position;
}
