#include "devices/core/DriverLoader.h"

#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "platform/framework/Clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QtGlobal>

#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace {

struct Family {
    std::shared_ptr<IDriverFamily> family;
    QString driver;
};

struct State {
    bool scanned = false;
    std::vector<Family> families;
    QStringList reports;
    std::map<int, DriverLoader::DeviceFactory> factories;
};

State& TheState() {
    static State state;
    return state;
}

int64_t HostNow(void*) {
    const IClock& clock = AfxClock();
    const int64_t frequency = clock.Frequency();
    const int64_t counter = clock.Counter();
    // Split to keep counter * 1e9 from overflowing.
    return counter / frequency * 1000000000 + counter % frequency * 1000000000 / frequency;
}

// The trigger types a device takes, as the record pages read them: switched on.
void OfferTriggerFeatures(CDevice& device) {
    int mask = 0;
    if (!device.Driver() || device.Driver()->GetTriggerTypes(&mask) != 0)
        return;
    const auto takes = [mask](int type) { return (mask >> type & 1) != 0; };
    const bool edges =
        takes(kTriggerRisingEdge) || takes(kTriggerFallingEdge) || takes(kTriggerEitherEdge);
    const std::pair<int, bool> features[] = {
        {CDevice::kFeatureEdgeTrigger, edges},
        {CDevice::kFeatureLevelTrigger, takes(kTriggerRecordOnHigh) || takes(kTriggerRecordOnLow)},
        {CDevice::kFeatureRisingEdge, takes(kTriggerRisingEdge)},
        {CDevice::kFeatureFallingEdge, takes(kTriggerFallingEdge)},
        {CDevice::kFeatureEitherEdge, takes(kTriggerEitherEdge)}};
    for (const auto& [feature, on] : features) {
        if (!on)
            continue;
        device.SetFeatureSupported(feature, 1);
        device.SetFeatureAvailable(feature, 1);
        device.SetFeatureOn(feature, 1);
    }
}

// The windows offer what the driver can do: every camera has its settings dialog, a camera
// with a colour processor its colour adjustment; the trigger pages the trigger types.
// What the record control page may set: the clock source and the counters, and a frame rate
// of the user's own, when the driver tells them.
void OfferRecordClockFeatures(CDevice& device) {
    IDriverDevice* driver = device.Driver();
    if (!driver || device.GetId().m_type != kDeviceTypeCamera)
        return;
    std::vector<double> frequencies;
    int minimum = 0;
    int maximum = 0;
    double lowest = 0;
    double highest = 0;
    const std::pair<int, bool> features[] = {
        {CDevice::kFeatureClockSource,
         driver->GetClockFrequencies(&frequencies) == 0 && frequencies.size() > 1},
        {CDevice::kFeatureRecordCounters, driver->GetCounterRange(1, &minimum, &maximum) == 0},
        {CDevice::kFeatureUserFrameRate,
         driver->GetRateRange(&lowest, &highest) == 0 && lowest < highest}};
    for (const auto& [feature, on] : features) {
        if (!on)
            continue;
        device.SetFeatureSupported(feature, 1);
        device.SetFeatureAvailable(feature, 1);
        device.SetFeatureOn(feature, 1);
    }
}

void OfferDriverFeatures(CDevice& device) {
    OfferTriggerFeatures(device);
    OfferRecordClockFeatures(device);
    if (device.GetId().m_type != kDeviceTypeCamera)
        return;
    std::vector<int> offered = {CDevice::kFeatureCameraSettings};
    if (device.Driver() && device.Driver()->GetColourProcessor())
        offered.push_back(CDevice::kFeatureColourAdjustment);
    for (int feature : offered) {
        device.SetFeatureSupported(feature, 1);
        device.SetFeatureAvailable(feature, 1);
    }
}

void PollOpenDevices() {
    for (int i = 0; i < OpenDevices::GetCount(); ++i) {
        if (IDriverDevice* driver = OpenDevices::GetAt(i)->Driver())
            driver->Poll();
    }
}

void HostRequestPoll(void*, int64_t delayNs) {
    // Timed work runs on the user-interface thread's event loop; without one the caller polls.
    if (!QCoreApplication::instance())
        return;
    const int ms = static_cast<int>(std::clamp<int64_t>(delayNs / 1000000, 0, 60000));
    QTimer::singleShot(ms, QCoreApplication::instance(), PollOpenDevices);
}

void Report(const QString& text) {
    State& state = TheState();
    if (state.reports.contains(text))
        return;
    state.reports.append(text);
    qWarning("%s", qPrintable(text));
}

// Whether path is a whole shared object of this machine: the dynamic loader maps a truncated one
// and faults on the missing pages, so every loaded segment and the section table must lie
// inside the file.
bool IsWholeSharedObject(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    Elf64_Ehdr header;
    if (file.read(reinterpret_cast<char*>(&header), sizeof(header)) != sizeof(header))
        return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_type != ET_DYN ||
        header.e_machine != EM_X86_64 || header.e_phentsize != sizeof(Elf64_Phdr))
        return false;
    const auto inside = [size](uint64_t offset, uint64_t bytes) {
        return offset <= static_cast<uint64_t>(size) &&
               bytes <= static_cast<uint64_t>(size) - offset;
    };
    if (!inside(header.e_phoff, uint64_t(header.e_phnum) * sizeof(Elf64_Phdr)) ||
        !inside(header.e_shoff, uint64_t(header.e_shnum) * header.e_shentsize))
        return false;
    if (!file.seek(static_cast<qint64>(header.e_phoff)))
        return false;
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment;
        if (file.read(reinterpret_cast<char*>(&segment), sizeof(segment)) != sizeof(segment))
            return false;
        if (segment.p_type == PT_LOAD && !inside(segment.p_offset, segment.p_filesz))
            return false;
    }
    return true;
}

void LoadModule(const QString& path) {
    if (!IsWholeSharedObject(path)) {
        Report(QStringLiteral("Driver %1 skipped: not a loadable module.").arg(path));
        return;
    }
    void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        Report(QStringLiteral("Driver %1 skipped: not a loadable module.").arg(path));
        return;
    }
    auto entry = reinterpret_cast<DriverEntry>(dlsym(module, kDriverEntryName));
    if (!entry) {
        Report(QStringLiteral("Driver %1 skipped: it has no driver entry.").arg(path));
        dlclose(module);
        return;
    }
    DriverModule* loaded = nullptr;
    const int version = entry(kDriverApiVersion, DriverLoader::HostServices(), &loaded);
    if (version != kDriverApiVersion || !loaded) {
        Report(QStringLiteral("Driver %1 skipped: built for driver interface %2, not %3.")
                   .arg(path)
                   .arg(version)
                   .arg(kDriverApiVersion));
        dlclose(module);
        return;
    }
    // The module stays loaded for the rest of the run: its families and devices run its code.
    std::unique_ptr<DriverModule> owned(loaded);
    for (auto& family : owned->families) {
        if (family)
            TheState().families.push_back({family, QFileInfo(path).fileName()});
    }
}

const Family* FindFamily(int type, int subtype) {
    for (const Family& family : TheState().families) {
        if (family.family->GetType() == type && family.family->GetSubtype() == subtype)
            return &family;
    }
    return nullptr;
}

}  // namespace

namespace DriverLoader {

QStringList SearchFolders() {
    QStringList folders;
    const QString path = qEnvironmentVariable(kDriverPathVariable);
    for (const QString& folder : path.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.append(folder);
    if (QCoreApplication::instance())
        folders.append(QCoreApplication::applicationDirPath() + QStringLiteral("/drivers"));
    return folders;
}

void Scan() {
    if (TheState().scanned)
        return;
    ScanFolders(SearchFolders());
}

void ScanFolders(const QStringList& folders) {
    TheState().scanned = true;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList names =
            dir.entryList({QStringLiteral("*.so")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : names)
            LoadModule(dir.filePath(name));
    }
}

void RegisterDriver(const QString& name, std::vector<std::shared_ptr<IDriverFamily>> families) {
    for (auto& family : families) {
        if (family)
            TheState().families.push_back({std::move(family), name});
    }
}

QStringList Reports() {
    return TheState().reports;
}

std::vector<DriverFamilyInfo> ListFamilies() {
    Scan();
    std::vector<DriverFamilyInfo> result;
    for (const Family& family : TheState().families) {
        result.push_back({family.family->GetType(), family.family->GetSubtype(),
                          QString::fromStdString(family.family->GetName()), family.driver});
    }
    return result;
}

std::vector<int> GetDeviceIndices(int type, int subtype) {
    Scan();
    const Family* family = FindFamily(type, subtype);
    return family ? family->family->GetDeviceIndices() : std::vector<int>();
}

void SetDeviceFactory(int type, DeviceFactory factory) {
    TheState().factories[type] = std::move(factory);
}

CDevice* OpenById(const CDeviceId& id) {
    if (CDevice* open = OpenDevices::FindOpenDeviceById(id))
        return open;
    State& state = TheState();
    const auto factory = state.factories.find(id.m_type);
    if (factory != state.factories.end() && factory->second) {
        CDevice* device = factory->second(id);
        if (device) {
            OfferDriverFeatures(*device);
            OpenDevices::Add(device);
        }
        return device;
    }
    CDeviceDescriptor descriptor(id);
    std::unique_ptr<IDriverDevice> driver = OpenDriverDevice(id, &descriptor);
    if (!driver)
        return nullptr;
    auto* device = new CDevice(descriptor, std::move(driver));
    OfferDriverFeatures(*device);
    OpenDevices::Add(device);
    return device;
}

std::unique_ptr<IDriverDevice> OpenDriverDevice(const CDeviceId& id,
                                                CDeviceDescriptor* descriptor) {
    Scan();
    const Family* family = FindFamily(id.m_type, id.m_subtype);
    if (!family)
        return nullptr;
    std::unique_ptr<IDriverDevice> driver = family->family->Open(id.m_index);
    if (!driver)
        return nullptr;
    if (descriptor) {
        *descriptor = CDeviceDescriptor(id);
        descriptor->m_model = QString::fromStdString(driver->GetModel());
        descriptor->m_name = QStringLiteral("%1 %2")
                                 .arg(QString::fromStdString(family->family->GetName()))
                                 .arg(id.m_index + 1);
        descriptor->m_driver = family->driver;
    }
    return driver;
}

int Probe(const CDeviceId& id, CDeviceDescriptor* descriptor, bool keep) {
    const bool wasOpen = OpenDevices::FindById(id) >= 0;
    CDevice* device = OpenById(id);
    if (!device)
        return 1;
    device->GetDescriptor(descriptor);
    if (!keep && !wasOpen)
        OpenDevices::CloseById(id);
    return 0;
}

const DriverHostServices* HostServices() {
    static const DriverHostServices services{kDriverApiVersion, HostNow, HostRequestPoll, nullptr};
    return &services;
}

void ResetForTests() {
    State& state = TheState();
    state.scanned = false;
    state.families.clear();
    state.reports.clear();
    state.factories.clear();
}

}  // namespace DriverLoader
