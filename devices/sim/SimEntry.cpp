// The plugin's one entry: the simulated families, configured from the environment.

#include "devices/sim/SimDriver.h"

extern "C" __attribute__((visibility("default"))) int ReelmarkDriverEntry(
    int hostVersion, const DriverHostServices* host, DriverModule** module) {
    if (hostVersion != kDriverApiVersion || !module)
        return kDriverApiVersion;
    *module = new DriverModule{MakeSimFamilies(SimDriverConfig::FromEnvironment(), host)};
    return kDriverApiVersion;
}
