// The chart view's remembered position.
#include "display/ChartCentre.h"

ChartCentreValue ChartCentre = kInitialChartCentre;
