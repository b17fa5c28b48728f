#include "sensordata/IDeviceSettingsSheet.h"

namespace {

IDeviceSettingsSheet::Factory& FactoryRef() {
    static IDeviceSettingsSheet::Factory s_factory;
    return s_factory;
}

}  // namespace

void IDeviceSettingsSheet::SetFactory(Factory factory) {
    FactoryRef() = std::move(factory);
}

std::unique_ptr<IDeviceSettingsSheet> IDeviceSettingsSheet::Create() {
    return FactoryRef() ? FactoryRef()() : nullptr;
}
