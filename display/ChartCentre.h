// The position the chart view shows, kept between draws.
#ifndef ORVANTA_DISPLAY_CHARTCENTRE_H
#define ORVANTA_DISPLAY_CHARTCENTRE_H

#include <cstdint>

// Whole minutes of arc, latitude positive north, longitude positive west.
struct ChartCentreValue {
    int16_t latitude;
    int16_t longitude;
};

// Starts at 55 00 N, 21 00 W; only a chart draw that updates it moves it.
extern ChartCentreValue ChartCentre;

// The centre at the start of a run.
constexpr ChartCentreValue kInitialChartCentre = {3300, 1260};

#endif
