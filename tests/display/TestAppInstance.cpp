// The module that holds bitmap 138 for the drawing tests: the test program
// itself, which carries the chart in its resources.
#include "display/ChartView.h"

HINSTANCE AppInstance = GetModuleHandle(nullptr);
