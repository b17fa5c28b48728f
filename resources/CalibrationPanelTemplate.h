#pragma once

// The dialog template of the calibration panel (1629): the scale points, distance and units
// with the pixels-per-unit read-out, the origin, x-direction, flip and the eight preset buttons
// on their small diagram, the origin and tilt read-outs, and the default and file buttons.

#include "platform/framework/ResourceChain.h"

DialogTemplate CalibrationPanelTemplate();
