// The centre of the coded small square, in minutes of arc.
#include "convert/GridLookup.h"
#include "convert/Position.h"
#include "data/GridDatabase.h"

namespace {

const double kHalfTurn = 180 * 60; // minutes of longitude
const double kFullTurn = 360 * 60;

} // namespace

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

// Corner plus offset, then half a small square, each step in double on the
// float inputs; the sizes are signed, so the half square points the way the
// quad extends; the longitude is kept within a half turn.  A record that
// cannot have been located gives 0, 0.
GridPosition ComputePosition(int16_t quadIndex, const GridDatabase &db)
{
    GridPosition position = {0.0, 0.0};
    if (quadIndex < 0 || quadIndex >= db.QuadCount || quadIndex >= kMaxQuadRecords)
        return position;
    const QuadRecord &quad = db.Quads[quadIndex];
    if (quad.Quadtype < 0 || quad.Quadtype >= kMaxQuadTypes)
        return position;
    const QuadForm &form = db.Forms[quad.Quadtype];
    if (form.FormX < 1 || form.FormY < 1)
        return position;

    double halfLat = static_cast<double>(quad.SizeLat) / (9 * form.FormY) * 0.5;
    double cornerLat = static_cast<double>(SubsquareOffset.fracY) * quad.SizeLat + quad.DownLeftLat;
    position.Latitude = cornerLat + halfLat;

    double halfLon = static_cast<double>(quad.SizeLon) / (9 * form.FormX) * 0.5;
    double cornerLon = static_cast<double>(SubsquareOffset.fracX) * quad.SizeLon + quad.DownLeftLon;
    position.Longitude = WithinHalfTurn(cornerLon + halfLon);
    return position;
}
