// The parameter record inside the plug-in: the record format of
// params/record/ and the defaults taken from the document's view.
#pragma once

#include "params/record/record_codec.h"
#include "params/record/spiral_parameters.h"

// Writes every default but `fromGo` and the four dialog bounds, which keep
// their values. The centre is taken from document view 0 (100 points left of
// its middle); the view calls are made through the bound host suites and
// their results are not tested.
void setDefaultParameters(SpiralParameters& record);
