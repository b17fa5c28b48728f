#include "devices/sim/SimDriver.h"

#include "devices/sim/SimCamera.h"
#include "devices/sim/SimCard.h"

#include <cstdlib>
#include <numeric>

namespace {

int EnvInt(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

class CSimFamily : public IDriverFamily {
public:
    CSimFamily(int type, const SimDriverConfig& config, const DriverHostServices* host,
               std::shared_ptr<CSimSyncLine> sync)
        : m_type(type), m_config(config), m_host(host), m_sync(std::move(sync)) {}

    int GetType() override { return m_type; }
    int GetSubtype() override {
        return m_type == kDeviceTypeCamera ? m_config.cameraSubtype : m_config.cardSubtype;
    }
    std::string GetName() override {
        return m_type == kDeviceTypeCamera ? "Simulated camera" : "Simulated data card";
    }
    std::vector<int> GetDeviceIndices() override {
        std::vector<int> indices(static_cast<size_t>(std::max(0, Count())));
        std::iota(indices.begin(), indices.end(), 0);
        return indices;
    }
    std::unique_ptr<IDriverDevice> Open(int index) override {
        if (index < 0 || index >= Count())
            return nullptr;
        std::unique_ptr<CSimDeviceBase> device;
        if (m_type == kDeviceTypeCamera) {
            const bool colour = index >= m_config.cameras - m_config.colourCameras;
            device = std::make_unique<CSimCamera>(m_host, m_config.cameraSubtype, index, colour,
                                                  m_config.cameraMemoryBytes);
        } else {
            device = std::make_unique<CSimCard>(m_host, m_config.cardSubtype, index,
                                                m_config.cardChannels, m_config.cardCapacityScans,
                                                static_cast<unsigned>(index + 1));
        }
        device->SetSecondId(m_config.secondIdBase + index);
        device->JoinSyncLine(m_sync);
        return device;
    }

private:
    int Count() const { return m_type == kDeviceTypeCamera ? m_config.cameras : m_config.cards; }

    int m_type;
    SimDriverConfig m_config;
    const DriverHostServices* m_host;
    std::shared_ptr<CSimSyncLine> m_sync;
};

}  // namespace

SimDriverConfig SimDriverConfig::FromEnvironment() {
    SimDriverConfig config;
    config.cameras = EnvInt("REELMARK_SIM_CAMERAS", config.cameras);
    config.colourCameras = EnvInt("REELMARK_SIM_COLOUR_CAMERAS", config.colourCameras);
    config.cards = EnvInt("REELMARK_SIM_CARDS", config.cards);
    config.cameraSubtype = EnvInt("REELMARK_SIM_CAMERA_SUBTYPE", config.cameraSubtype);
    config.cardSubtype = EnvInt("REELMARK_SIM_CARD_SUBTYPE", config.cardSubtype);
    config.secondIdBase = EnvInt("REELMARK_SIM_SECOND_ID", config.secondIdBase);
    return config;
}

std::vector<std::shared_ptr<IDriverFamily>> MakeSimFamilies(const SimDriverConfig& config,
                                                            const DriverHostServices* host) {
    // Every device of the driver hangs on one sync line.
    auto sync = std::make_shared<CSimSyncLine>();
    return {std::make_shared<CSimFamily>(kDeviceTypeCamera, config, host, sync),
            std::make_shared<CSimFamily>(kDeviceTypeDataCard, config, host, sync)};
}
