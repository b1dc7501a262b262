// The program-wide grid database and its start-of-run state.
#include "data/GridDatabase.h"

#include <cstring>

namespace {

const char kInitialAboutText[] = "DataFile ERROR";

// Static storage starts zero-filled; only the About text needs a value.
GridDatabase MakeInitialDatabase()
{
    GridDatabase db;
    ResetGridDatabase(db);
    return db;
}

} // namespace

GridDatabase Grid = MakeInitialDatabase();

// Zero every table and scalar and put back the initial About text.
void ResetGridDatabase(GridDatabase &db)
{
    std::memset(&db, 0, sizeof db);
    std::memcpy(db.AboutText, kInitialAboutText, sizeof kInitialAboutText);
}
