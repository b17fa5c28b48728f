#pragma once

// The simulated driver's families: one camera family and one data-card family. How many
// devices each has and their subtypes come from a configuration (the plugin reads it from the
// environment: REELMARK_SIM_CAMERAS, REELMARK_SIM_COLOUR_CAMERAS, REELMARK_SIM_CARDS,
// REELMARK_SIM_CAMERA_SUBTYPE, REELMARK_SIM_CARD_SUBTYPE). All the devices of one set of
// families are chained on one sync line.

#include "devices/core/DriverApi.h"

#include <memory>
#include <vector>

struct SimDriverConfig {
    int cameras = 2;
    int colourCameras = 1;  // the last cameras of the family are colour ones
    int cards = 1;
    int cameraSubtype = 1;
    int cardSubtype = 1;
    // Each device's second identifier is this plus its index in its family.
    int secondIdBase = 100;
    int cardChannels = 8;
    int cardCapacityScans = 1 << 20;
    int64_t cameraMemoryBytes = int64_t(2) << 30;

    static SimDriverConfig FromEnvironment();
};

std::vector<std::shared_ptr<IDriverFamily>> MakeSimFamilies(const SimDriverConfig& config,
                                                            const DriverHostServices* host);
