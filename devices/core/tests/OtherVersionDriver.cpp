// A module built for a later driver interface: it answers its own version and hands out nothing.
#include "devices/core/DriverApi.h"

extern "C" __attribute__((visibility("default"))) int ReelmarkDriverEntry(int,
                                                                          const DriverHostServices*,
                                                                          DriverModule**) {
    return kDriverApiVersion + 1;
}
