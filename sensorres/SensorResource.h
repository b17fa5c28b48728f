#pragma once

// CSensorResource: the one class the sensor-resource library exports. Its objects hold nothing;
// windows of the program keep one as a member so that the library, and with it the templates
// of the sensor windows, stays bound while they exist.

#if defined(SONDREL_BUILD)
#define SONDREL_API __attribute__((visibility("default")))
#else
#define SONDREL_API
#endif

class SONDREL_API CSensorResource {
public:
    CSensorResource();
    // Copying and assigning carry nothing: the objects have no state.
    CSensorResource(const CSensorResource& other);
    CSensorResource& operator=(const CSensorResource& other);
    virtual ~CSensorResource();
};
