#pragma once

// The dialog template "Camera Color Adjustment" (30117) of the Bayer colour adjustment window:
// preset, file and coefficient controls on top, gray balance and channel gains below, and the
// advanced decoding options at the bottom, shown only with "Advanced >>".

#include "platform/framework/ResourceChain.h"

DialogTemplate ColorAdjustmentTemplate();
