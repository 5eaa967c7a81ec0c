// The record a new filter instance starts with. Pure: the caller supplies the
// view centre (the plug-in asks the host for it, the host knows it).
#pragma once

#include "params/record/spiral_parameters.h"

// Every field at its default; centerX and centerY are offsets from the view
// centre (the spiral starts 100 points left of it), each sum evaluated in
// double and stored as float.
SpiralParameters defaultParameters(float viewCentreX, float viewCentreY);
