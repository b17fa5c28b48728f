#include "sensorres/SensorResource.h"

CSensorResource::CSensorResource() = default;

CSensorResource::CSensorResource(const CSensorResource&) {}

CSensorResource& CSensorResource::operator=(const CSensorResource&) {
    return *this;
}

CSensorResource::~CSensorResource() = default;
